#!/usr/bin/env bash
# The Java and .NET bindings: installs a JDK, JNA and Mono where they are
# missing, builds the default preset (which then builds grouper.jar,
# Grouper.dll and grouper-dotnet.exe) and runs the bindings' tests, which
# compare each binding's command with the batch program byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."

source .ci/packages.sh
require_packages default-jdk-headless libjna-java mono-mcs mono-runtime libmono-posix4.0-cil

cmake --preset default >/dev/null
cmake --build --preset default
# Both tests must run: CI has installed what they need, so a skip is a failure.
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
ctest --test-dir build/default -R '^(java|dotnet)_binding$' --no-tests=error --output-on-failure \
  | tee "$log"
if grep -q 'Skipped' "$log" || ! grep -q '0 tests failed out of 2' "$log"; then
  echo "bindings: both tests must run and pass" >&2
  exit 1
fi
