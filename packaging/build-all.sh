#!/usr/bin/env bash
# Every package of grouper from a clean clone, in one command:
#
#   packaging/build-all.sh [--out DIR] [--only-linux]
#
# builds, in this order (each later step carries what an earlier one made):
#
#   0. the page in the browser, grouper.html (preset wasm), which the
#      installer, the zip, the .deb and the .tar.gz carry and which is copied
#      into DIR beside them;
#   1. the 32-bit Windows library (preset windows-x86: grouper.dll, its import
#      library and its list of exports);
#   2. the workflow package-windows: the 64-bit Windows build, its installed
#      tree tested under Wine, the installer, the zip and the win_amd64 wheel;
#   3. the workflow package-linux, carrying both Windows libraries: the Linux
#      build tested as installed, the .deb, the .tar.gz, the linux_x86_64
#      wheel, the jar (linux-x86-64, win32-x86-64, win32-x86) and the NuGet
#      package (runtimes linux-x64, win-x64, win-x86), each tested;
#
# and copies the packages into DIR (default dist/), lists them with their
# sizes and writes DIR/SHA256SUMS. --only-linux makes step 3 alone, without
# the Windows libraries: the jar and the NuGet package are then named
# ...-linux-x64-only and the NuGet description says what they lack.
#
# It installs nothing: it names the Debian packages that are missing and
# stops. It stops too, naming it, when a library that a package carries was
# not made. Each workflow's output is kept in build/<preset>/workflow.log.
# Files are dated by SOURCE_DATE_EPOCH, which is the last commit's time when
# not set, so that two runs on one commit make the same bytes, in any folder.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: packaging/build-all.sh [--out DIR] [--only-linux]
  --out DIR      where the packages and SHA256SUMS go (default: dist/ in the source folder)
  --only-linux   the Linux packages only; the jar and the NuGet package without the
                 Windows libraries, named ...-linux-x64-only
  --needs        print the Debian packages this command needs, and stop
EOF
}

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="$source_dir/dist"
only_linux=false
needs_only=false
while [ $# -gt 0 ]; do
  case $1 in
    --out)
      if [ $# -lt 2 ] || [ -z "$2" ]; then usage >&2; exit 2; fi
      out=$2
      shift 2
      ;;
    --out=?*) out=${1#--out=}; shift ;;
    --only-linux) only_linux=true; shift ;;
    --needs) needs_only=true; shift ;;
    -h | --help) usage; exit 0 ;;
    *) echo "build-all: unknown argument: $1" >&2; usage >&2; exit 2 ;;
  esac
done

say() { printf '== %s\n' "$*"; }
fail() { printf 'build-all: %s\n' "$*" >&2; exit 1; }

# What each step needs from Debian (the compilers, the tools the packages are
# made and tested with).
needs=(cmake make g++ file python3 python3-build python3-setuptools python3-wheel python3-venv
  dpkg-dev fakeroot default-jdk-headless libjna-java mono-mcs mono-runtime mono-xbuild
  emscripten nodejs)
if ! $only_linux; then
  needs+=(libgtest-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686 llvm wine wine64 nsis)
fi
if $needs_only; then
  echo "${needs[*]}"
  exit 0
fi
missing=()
for package in "${needs[@]}"; do
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" = installed ] ||
    missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  fail "these Debian packages are missing; install them and run again:
  apt-get install ${missing[*]}"
fi
# The language packages' tests load the library each package carries: an
# installed one could stand in for it unnoticed.
if ldconfig -p 2>/dev/null | grep -q libgrouper; then
  fail "a libgrouper is installed on this system (dpkg -r grouper): the packages are tested
  without one"
fi

# Two runs at once would build in the same folders.
mkdir -p "$source_dir/build"
exec 9>"$source_dir/build/.build-all.lock"
flock -n 9 || fail "another packaging/build-all.sh is running in $source_dir"

case $out in /*) ;; *) out="$PWD/$out" ;; esac
# The folder is this command's: a folder that holds anything but the files of
# an earlier run (named in its SHA256SUMS) is not taken.
if [ -d "$out" ] && [ -n "$(ls -A "$out")" ]; then
  [ -f "$out/SHA256SUMS" ] ||
    fail "$out holds files that no earlier run made (it has no SHA256SUMS): name another with --out"
  declare -A earlier=([SHA256SUMS]=1)
  while read -r _ name; do
    [[ $name == */* ]] || earlier[${name#\*}]=1
  done <"$out/SHA256SUMS"
  for path in "$out"/* "$out"/.[!.]*; do
    [ -e "$path" ] || continue
    [ -n "${earlier[$(basename "$path")]:-}" ] ||
      fail "$out holds files that no earlier run made ($(basename "$path")): name another with --out"
  done
  for name in "${!earlier[@]}"; do
    rm -f -- "${out:?}/$name"
  done
fi
mkdir -p "$out"

cd "$source_dir"
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi
start=$SECONDS

# workflow PRESET: runs the workflow, its output also in build/PRESET/workflow.log.
workflow() {
  mkdir -p "build/$1"
  if ! cmake --workflow --preset "$1" 2>&1 | tee "build/$1/workflow.log"; then
    fail "the workflow $1 failed (its output: build/$1/workflow.log)"
  fi
}

# need FILE WHAT: FILE was made, else the run stops naming WHAT.
need() {
  [ -s "$1" ] || fail "$2 was not made: no $1"
}

unset GROUPER_PACKAGE_WIN_X64_DLL GROUPER_PACKAGE_WIN_X86_DLL GROUPER_PACKAGE_LINUX_ONLY
say "the page in the browser, grouper.html (wasm), which every package carries"
# Debian's emscripten finds its acorn through NODE_PATH when node is not Debian's.
NODE_PATH="${NODE_PATH:-/usr/share/nodejs}" cmake --preset wasm >/dev/null
NODE_PATH="${NODE_PATH:-/usr/share/nodejs}" cmake --build --preset wasm --target grouper_html
need build/wasm/js/grouper.html "grouper.html"
export GROUPER_PAGE="$source_dir/build/wasm/js/grouper.html"
if ! $only_linux; then
  say "1/3 the 32-bit Windows library (windows-x86)"
  cmake --preset windows-x86 >/dev/null
  cmake --build --preset windows-x86 --target grouper_shared
  need build/windows-x86/grouper.dll "the 32-bit grouper.dll"
  # Stripped as the packages carry their libraries.
  mkdir -p build/windows-x86/packages/native/win-x86
  i686-w64-mingw32-strip --strip-unneeded -o build/windows-x86/packages/native/win-x86/grouper.dll \
    build/windows-x86/grouper.dll

  say "2/3 the 64-bit Windows build and its packages (package-windows)"
  # The preset's Wine prefix, made once before its tests start several Wine
  # programs at a time.
  (
    export WINEPREFIX="$source_dir/build/package-windows/wine" WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      mkdir -p "$WINEPREFIX"
      wineboot --init >/dev/null 2>&1
      wineserver -w
    fi
  )
  workflow package-windows
  need build/package-windows/packages/native/win-x64/grouper.dll "the 64-bit grouper.dll"
  export GROUPER_PACKAGE_WIN_X64_DLL="$source_dir/build/package-windows/packages/native/win-x64/grouper.dll"
  export GROUPER_PACKAGE_WIN_X86_DLL="$source_dir/build/windows-x86/packages/native/win-x86/grouper.dll"
else
  export GROUPER_PACKAGE_LINUX_ONLY=ON
fi

say "3/3 the Linux build and its packages (package-linux)"
workflow package-linux

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/package-linux/CMakeCache.txt)
[ -n "$version" ] || fail "no version in build/package-linux/CMakeCache.txt"
suffix=""
$only_linux && suffix=-linux-x64-only
linux=build/package-linux
made=(build/wasm/js/grouper.html
  "$linux/grouper_${version}_$(dpkg --print-architecture).deb"
  "$linux/grouper-$version-Linux.tar.gz"
  "$linux/packages/grouper-$version-py3-none-linux_x86_64.whl"
  "$linux/packages/grouper-$version$suffix.jar"
  "$linux/packages/grouper-$version$suffix.pom"
  "$linux/packages/Grouper.$version$suffix.nupkg")
if ! $only_linux; then
  windows=build/package-windows
  made+=("$windows/grouper-$version-win64.exe"
    "$windows/grouper-$version-win64.zip"
    "$windows/packages/grouper-$version-py3-none-win_amd64.whl")
fi
names=()
for file in "${made[@]}"; do
  need "$file" "the package $(basename "$file")"
  names+=("$(basename "$file")")
done
mapfile -t names < <(printf '%s\n' "${names[@]}" | LC_ALL=C sort)
# Until the sums are written, SHA256SUMS names the files without them, so
# that a run cut short leaves a folder the next run can clear (and that
# `sha256sum -c` refuses).
printf -- '-  %s\n' "${names[@]}" >"$out/SHA256SUMS"
cp -- "${made[@]}" "$out/"

say "the packages in $out ($((SECONDS - start)) s)"
cd "$out"
for name in "${names[@]}"; do
  printf '%12s  %s\n' "$(stat -c %s -- "$name")" "$name"
done
sha256sum -- "${names[@]}" >SHA256SUMS.partial
mv SHA256SUMS.partial SHA256SUMS
echo "SHA256SUMS written"
