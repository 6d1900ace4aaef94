#!/bin/sh
# Runs the npm package's Node tests on the package that the wasm preset built:
#   run.sh PACKAGE_DIR
# with GROUPER, GROUPER_SAMPLE, GROUPER_EXPLAIN, GROUPER_REPORT and
# GROUPER_MONTH naming the native programs, and TZ the zone of the run; the
# page (grouper.html, beside the package) is tested too. Exit status 77 (a
# skip) when there is no such package or no node: the default build needs
# neither emscripten nor Node.
set -eu
package=$1
if [ ! -f "$package/grouper_core.mjs" ] || [ ! -f "$package/grouper_wasm.mjs" ]; then
  echo "skipped: no WebAssembly build at $package (build the wasm preset, which needs emscripten:"
  echo "  cmake --preset wasm && cmake --build --preset wasm)"
  exit 77
fi
if ! command -v node >/dev/null 2>&1; then
  echo "skipped: no node to run the npm package's tests"
  exit 77
fi
export GROUPER_PACKAGE="$package"
# The test files by name: a folder would have Node run every module below
# it (the browser driver, the bundle check) as a test.
exec node --test "$(dirname "$0")"/*.test.mjs
