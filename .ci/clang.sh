#!/usr/bin/env bash
# Builds grouper with clang and compares its result files and console bytes
# with the GCC build's on generated files of every form version, with faults.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
source .ci/compare.sh
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

records=${RECORDS:-100000}

cmake --preset clang
cmake --build --preset clang
ensure_reference_build

run_candidate() {
  TZ=Asia/Seoul "$repo/build/clang/grouper" "$1" "$2"
}

data=$(mktemp -d "$repo/build/compare-clang.XXXXXX")
trap 'rm -rf "$data"' EXIT
make_inputs "$data" "$records"
compare_with_reference clang "$data"
