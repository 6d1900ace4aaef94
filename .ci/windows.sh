#!/usr/bin/env bash
# The Windows build: cross-compiles the program, the tools and the test suite
# with MinGW-w64, runs the test suite under Wine, and compares the result files
# and console bytes of the Windows grouper with the Linux GCC build's on
# generated files of every form version, with faults; and runs grouper-month's
# end-to-end check on the Windows program under the ANSI code pages 1252 and
# 949.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
source .ci/compare.sh
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

source .ci/packages.sh
require_packages g++-mingw-w64-x86-64 wine wine64 tzdata python3 locales
# A Korean locale, which gives Wine's programs the ANSI code page 949.
if ! locale -a | grep -qx 'ko_KR.utf8'; then localedef -i ko_KR -f UTF-8 ko_KR.UTF-8; fi

records=${RECORDS:-100000}

# A prefix of our own (its first start takes a while), quiet, and without the
# offers to install .NET and HTML engines, which nothing here needs.
export WINEPREFIX="$repo/build/windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi

# Configure, build, and run every test under Wine. A test is run a second time
# when it fails (the presets' repeat until-pass): Wine now and then ends a
# program before its first line of output (seen once in a CI run, not again in
# many runs of the same test); a test that fails for a reason of ours fails twice.
# Four at a time: a test under Wine mostly waits for Wine, not for a processor.
cmake --workflow --preset windows

ensure_reference_build

# The Windows C runtime reads the time zone only in the POSIX form.
run_candidate() {
  TZ=KST-9 wine "$repo/build/windows/grouper.exe" "$1" "$2"
}

data=$(mktemp -d "$repo/build/compare-windows.XXXXXX")
trap 'rm -rf "$data"; wineserver -k 2>/dev/null || true' EXIT
make_inputs "$data" "$records"
compare_with_reference windows "$data"

# The mixed file again, five nested folders of 60 characters deep, so that its
# full path is past the 260 characters of a plain Windows path; the result
# file is written beside it. (Wine takes long plain paths too: this shows that
# the extended form the batch gives them reads and writes the same bytes.)
deep=
for letter in a b c d e; do deep+="$(printf '%60s' '' | tr ' ' "$letter")/"; done
mkdir -p "$data/$deep"
"$repo/$reference_build/tools/grouper-sample" --count 20000 --seed 99 --faults 0.5 >"$data/${deep}deep.in"
(cd "$data" && run_reference "${deep}deep.in" deep.ref.out >deep.ref.console)
(cd "$data" && run_candidate "${deep}deep.in" "${deep}deep.cand.out" >deep.cand.console)
if ! cmp "$data/deep.ref.out" "$data/${deep}deep.cand.out" ||
  ! cmp "$data/deep.ref.console" "$data/deep.cand.console"; then
  echo "windows: a file past 260 characters: not the reference's result"
  exit 1
fi
echo "windows: a file past 260 characters: $(wc -c <"$data/deep.ref.out") result bytes identical"

# grouper-month.exe on Hangul paths with blanks, under LANG=C.UTF-8 (code page
# 1252) and ko_KR.UTF-8 (949): its three files against the Linux programs'.
cmake --build --preset default --target grouper-explain grouper-report
python3 tests/month/check_month.py --wine --month build/windows/tools/grouper-month.exe \
  --grouper "$reference_build/grouper" --explain "$reference_build/tools/grouper-explain" \
  --report "$reference_build/tools/grouper-report" --sample "$reference_build/tools/grouper-sample"
