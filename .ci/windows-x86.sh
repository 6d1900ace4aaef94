#!/usr/bin/env bash
# The 32-bit Windows build (x86), for the 32-bit programs that load
# grouper.dll: Visual Basic 6, PowerBuilder, Delphi, .NET run as 32-bit.
# Cross-compiles it with MinGW-w64's i686 compiler (the preset windows-x86)
# and checks it:
#
#   - grouper.dll exports exactly the functions of grouper.h by their plain
#     names, and each pops its arguments as __stdcall does (the test
#     library_exports, which reads the DLL and needs no Windows);
#   - a program built by Microsoft's rules (clang for i686-pc-windows-msvc,
#     lld-link with its default /SAFESEH) and one built by MinGW link the
#     functions through grouper.lib and libgrouper.dll.a, and import them by
#     those plain names;
#   - the C program that loads grouper.dll by plain name (LoadLibrary,
#     GetProcAddress) and calls it __stdcall from four threads gives the
#     batch's result file and console, built for 64-bit Windows on the 64-bit
#     grouper.dll (one convention there) and for 32-bit Windows on the x86 one.
#
# Running 32-bit code needs a kernel that runs it (IA-32 emulation): where the
# machine does, 32-bit Wine (wine32:i386) is installed and the x86 build is run:
# grouper.exe on the digest files against the recorded digests, the C program
# above on the 32-bit grouper.dll, and the x86 build's test suite. Where it
# does not (installing wine32 there would leave `wine` unable to start even a
# 64-bit program), the script says so and counts those three as skipped.
#
#   .ci/windows-x86.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
source .ci/compare.sh
source .ci/packages.sh
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

require_packages g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 clang lld llvm binutils \
  tzdata
start=$SECONDS
passed=0
skipped=0
build=build/windows-x86
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 --target grouper_shared grouper

echo "== the exports of the 32-bit grouper.dll"
ctest --test-dir "$build" -R '^library_exports$' --no-tests=error --output-on-failure
passed=$((passed + 1))

work=$(mktemp -d "$repo/build/windows-x86-check.XXXXXX")
trap 'rm -rf "$work"; wineserver -k 2>/dev/null || true' EXIT

# imports_by_plain_name PROGRAM COUNT: PROGRAM imports COUNT functions from
# grouper.dll, each by a plain grouper_ name.
imports_by_plain_name() {
  local names
  names=$(i686-w64-mingw32-objdump -p "$1" |
    sed -n '/DLL Name: grouper.dll/,/^$/{s/^\s*[0-9a-f]\+\s\+[0-9]\+\s\+\(\S\+\)$/\1/p}')
  if [ "$(grep -c '^grouper_[a-z_]*$' <<<"$names")" != "$2" ] ||
    [ "$(wc -l <<<"$names")" != "$2" ]; then
    echo "!! $1 imports from grouper.dll, not $2 functions by plain name:"
    echo "$names"
    exit 1
  fi
}

echo "== a 32-bit program linked through the import libraries"
clang --target=i686-pc-windows-msvc -c -DGROUPER_SHARED -Iinclude tests/package/msvc_link.c \
  -o "$work/msvc_link.obj"
lld-link /nologo /nodefaultlib /entry:entry /subsystem:console "$work/msvc_link.obj" \
  "$build/grouper.lib" /out:"$work/msvc_link.exe"
# msvc_link.c takes the address of every function it names: it imports each.
imports_by_plain_name "$work/msvc_link.exe" "$(grep -o '(const void \*)grouper_' tests/package/msvc_link.c | wc -l)"
i686-w64-mingw32-gcc -std=c99 -Wall -Wextra -Werror -DGROUPER_SHARED -Iinclude \
  tests/package/group_threads.c "$build/libgrouper.dll.a" -pthread -static \
  -o "$work/group_threads_linked.exe"
imports_by_plain_name "$work/group_threads_linked.exe" 6
echo "   Microsoft's rules (lld-link, grouper.lib) and MinGW's (libgrouper.dll.a): the plain names"
passed=$((passed + 1))

ensure_reference_build
"$repo/$reference_build/tools/grouper-sample" --count 20000 --seed 99 --faults 0.5 \
  >"$work/mixed.in"
cat examples/sample.in >>"$work/mixed.in"
(cd "$work" && run_reference mixed.in reference.out >reference.console)

# by_plain_name COMPILER DLL: the four-thread program, built with COMPILER to
# load grouper.dll by plain name, run under Wine (the prefix in WINEPREFIX)
# beside DLL on the mixed file; its result file and console must be the batch's.
by_plain_name() {
  local dir
  dir=$(mktemp -d "$work/run.XXXXXX")
  "$1" -std=c99 -Wall -Wextra -Werror -DGROUPER_LOAD_BY_NAME -Iinclude \
    tests/package/group_threads.c -pthread -static -o "$dir/group_threads.exe"
  cp "$2" "$dir/grouper.dll"
  cp "$work/mixed.in" "$dir/"
  (cd "$dir" && TZ=KST-9 wine group_threads.exe mixed.in c.out c.console)
  cmp "$work/reference.out" "$dir/c.out"
  cmp "$work/reference.console" "$dir/c.console"
}

# A Wine prefix of its own, made at its first use (WINEARCH: win64 or win32).
prepare_prefix() {
  export WINEPREFIX=$1 WINEARCH=$2
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1
    wineserver -w
  fi
}

echo "== by plain name from four threads: 64-bit Windows"
if [ ! -f build/windows/grouper.dll ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target grouper_shared
fi
prepare_prefix "$repo/build/windows/wine" win64
by_plain_name x86_64-w64-mingw32-gcc build/windows/grouper.dll
wineserver -k 2>/dev/null || true
echo "   $(wc -l <"$work/mixed.in") lines: result file and console equal the batch's"
passed=$((passed + 1))

# Whether this kernel runs 32-bit x86 code: a program of three instructions
# that exits with status 0.
runs_32bit_code() {
  printf '.globl _start\n_start: movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' |
    as --32 -o "$work/probe.o" - && ld -m elf_i386 -o "$work/probe" "$work/probe.o" &&
    "$work/probe" 2>/dev/null
}

x86_runs=("the digest files through the x86 grouper.exe"
  "by plain name from four threads: 32-bit Windows" "the x86 build's test suite")
if ! runs_32bit_code; then
  echo "== this machine's kernel runs no 32-bit x86 code: not run here:"
  printf '   %s\n' "${x86_runs[@]}"
  skipped=${#x86_runs[@]}
else
  # (require_packages updates the lists, now with those of i386.)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  require_packages wine32:i386
  prepare_prefix "$repo/$build/wine" win32

  echo "== ${x86_runs[0]}"
  GROUPER="$build/grouper.exe" GROUPER_RUN=wine GROUPER_TZ=KST-9 .ci/digest.sh
  passed=$((passed + 1))

  echo "== ${x86_runs[1]}"
  by_plain_name i686-w64-mingw32-gcc "$build/grouper.dll"
  echo "   $(wc -l <"$work/mixed.in") lines: result file and console equal the batch's"
  passed=$((passed + 1))

  echo "== ${x86_runs[2]}"
  suite_start=$SECONDS
  cmake --build --preset windows-x86
  ctest --preset windows-x86
  echo "   built and run in $((SECONDS - suite_start)) s"
  passed=$((passed + 1))
fi

echo "windows-x86: $passed passed, 0 failed, $skipped skipped ($((SECONDS - start)) s)"
