#!/usr/bin/env bash
# The WebAssembly build and its npm package: installs Debian's emscripten and
# node, builds the wasm preset and the package's .tgz, then runs the package's
# Node tests and grouper.html's test in headless Chromium against the default
# build's native programs, under UTC and under New York's zone, where they must
# run rather than be skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

source .ci/packages.sh
require_packages emscripten nodejs chromium

# Debian's emscripten finds its acorn through NODE_PATH when node is not Debian's.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
cmake --preset wasm
cmake --build --preset wasm
cmake --build build/wasm --target npm_pack
version=$(sed -n 's/^ *"version": "\(.*\)",$/\1/p' build/wasm/js/package/package.json)
tarball="$PWD/build/wasm/js/grouper-$version.tgz"
# The .tgz installed as a project installs it, and imported by the package's name.
project=$(mktemp -d)
trap 'rm -rf "$project"' EXIT
echo '{"name": "uses-grouper", "version": "1.0.0", "type": "module"}' >"$project/package.json"
(cd "$project" && npm install --offline --no-audit --no-fund "$tarball" &&
  node --input-type=module -e "import { version } from 'grouper';
    if (version !== '$version') throw new Error('version ' + version)")

# The TypeScript declarations as a project uses them, with the pinned compiler
# of js/test/types/package-lock.json (a test dependency only).
(cd js/test/types && npm ci --no-audit --no-fund &&
  npm install --no-save --offline --no-audit --no-fund "$tarball" && npx tsc -p .)

# The package bundled for browsers by a bundler (the pinned esbuild of
# js/test/bundle/package-lock.json, a test dependency only), answering as the
# package does.
(cd js/test/bundle && npm ci --no-audit --no-fund &&
  npm install --no-save --offline --no-audit --no-fund "$tarball" &&
  node check.mjs ../../../examples/sample.in)

cmake --preset default >/dev/null
cmake --build --preset default
for zone in UTC America/New_York; do
  TZ=$zone GROUPER="$PWD/build/default/grouper" \
    GROUPER_SAMPLE="$PWD/build/default/tools/grouper-sample" \
    GROUPER_EXPLAIN="$PWD/build/default/tools/grouper-explain" \
    GROUPER_REPORT="$PWD/build/default/tools/grouper-report" \
    GROUPER_MONTH="$PWD/build/default/tools/grouper-month" \
    js/test/run.sh build/wasm/js/package
done
