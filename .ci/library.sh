#!/usr/bin/env bash
# libgrouper as its users get it. Runs the threaded test under
# ThreadSanitizer, then builds the default preset and installs it under a
# temporary prefix, checks that the shared library exports only grouper_*,
# builds the threaded C program of tests/package against the installed package
# once through find_package(grouper) and once through pkg-config, and compares
# the result file and console of both with the batch program's for a generated
# file of every form version. Last, the Python module's tests against the
# installed library.
#
#   .ci/library.sh          SEED=7 .ci/library.sh   (the sample's seed)
set -euo pipefail
cd "$(dirname "$0")/.."
export TZ=Asia/Seoul
seed="${SEED:-20240611}"
passed=0

cmake --workflow --preset tsan
passed=$((passed + 1))

cmake --preset default >/dev/null
cmake --build --preset default
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install build/default --prefix "$prefix" >/dev/null
library="$(find "$prefix" -name libgrouper.so.1)"
libdir="$(dirname "$library")"

echo "== exports and soname of $library"
others="$(nm -D --defined-only "$library" | awk '{print $3}' | grep -v '^grouper_' || true)"
if [ -n "$others" ]; then
  echo "!! libgrouper exports more than grouper_*:"
  echo "$others"
  exit 1
fi
objdump -p "$library" | grep 'SONAME *libgrouper\.so\.1$'
nm -D --defined-only "$library" | awk '{print "   " $3}'
passed=$((passed + 1))

echo "== the C program through find_package(grouper) and through pkg-config"
cmake -S tests/package -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake"
export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
cc -std=c99 -Wall -Wextra -pedantic -Werror tests/package/group_threads.c \
  $(pkg-config --cflags --libs grouper) -pthread -Wl,-rpath,"$libdir" -o "$work/pkg-config"
for program in "$work/cmake/group_threads" "$work/pkg-config"; do
  ldd "$program" | grep "libgrouper.so.1 => $libdir/libgrouper.so.1"
done

echo "== 20000 generated records (seed $seed), and reads that are no records"
build/default/tools/grouper-sample --count 20000 --seed "$seed" --faults 0.1 >"$work/in"
{
  printf '\r\n   \n091\0after a NUL\r\n'
  head -c 2500 /dev/zero | tr '\0' '9'
  printf '\r\n089 no line end'
} >>"$work/in"
build/default/grouper "$work/in" "$work/batch.out" >"$work/batch.console"
for program in "$work/cmake/group_threads" "$work/pkg-config"; do
  "$program" "$work/in" "$work/c.out" "$work/c.console"
  cmp "$work/batch.out" "$work/c.out"
  cmp "$work/batch.console" "$work/c.console"
  echo "   $(basename "$program"): result file and console equal the batch's"
  passed=$((passed + 1))
done

echo "== the Python module against the installed library"
GROUPER_LIBRARY="$library" python3 -m unittest discover -s python/tests
passed=$((passed + 1))

echo "library: $passed passed, 0 failed"
