#!/usr/bin/env bash
# The Debian package as its users get it. Takes the packages that
# packaging/build-all.sh made (built_packages in .ci/packages.sh), whose
# workflow package-linux checks the installed tree and, before any grouper is
# installed, the language packages (the wheel installed into a new virtual
# environment, the jar run with `java -jar`, the NuGet package built into a
# .NET Framework project by xbuild and run on Mono: each with the library it
# carries, and each must give the batch's answers). The jar and the NuGet
# package carry the Windows libraries that build-all made first. Then
# lintian checks the Debian package (no error allowed), dpkg installs it,
# and, with nothing but what the package installed:
#
#   - runs the installed grouper on generated files of every form version and
#     compares its result files, console bytes and exit status with the Linux
#     reference build's (build/default); grouper-explain, grouper-report and
#     grouper-sample likewise on one file, and grouper-month on that file under
#     a Hangul name with blanks (its three files against the three programs');
#   - builds the threaded C program of tests/package with pkg-config alone
#     and compares its answers with the batch's;
#   - imports the module with the system's python3 and no variable, and
#     compares its answers with the batch's;
#
# and last removes the package with dpkg -r and checks that none of its files
# or folders is left, nor the library in the loader's cache; then purges it.
#
#   .ci/package-linux.sh            RECORDS=100000 .ci/package-linux.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
source .ci/compare.sh
source .ci/packages.sh
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

require_packages lintian dpkg-dev file fakeroot gzip pkg-config python3 tzdata \
  python3-build python3-setuptools python3-wheel python3-venv \
  default-jdk-headless libjna-java mono-mcs mono-runtime mono-xbuild libmono-posix4.0-cil

records=${RECORDS:-20000}
passed=0

# The language packages are tested with no grouper on the system.
installed() { [ "$(dpkg-query -W -f='${db:Status-Status}' grouper 2>/dev/null)" = installed ]; }
if installed || ldconfig -p | grep libgrouper >/dev/null; then
  echo "!! a grouper package or library is installed already; remove it first (dpkg -r grouper)"
  exit 1
fi
mkdir -p build
work=$(mktemp -d "$repo/build/package-linux-check.XXXXXX")
cleanup() {
  dpkg -P grouper >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# The packages, from packaging/build-all.sh (built_packages in .ci/packages.sh),
# whose workflow package-linux tested the language packages with no grouper
# installed; the jar and the NuGet package carry both Windows libraries.
built_packages
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/package-linux/CMakeCache.txt)
deb="$dist/grouper_${version}_$(dpkg --print-architecture).deb"
tarball="$dist/grouper-${version}-Linux.tar.gz"
ls -l "$deb" "$tarball" "$dist/grouper-$version-py3-none-linux_x86_64.whl" \
  "$dist/grouper-$version.jar" "$dist/grouper-$version.pom" "$dist/Grouper.$version.nupkg"
# Each language package's test ran and passed (none skipped for want of a tool).
for test in package_wheel package_jar package_nupkg; do
  if ! grep -E "Test +#[0-9]+: $test \.+ +Passed" build/package-linux/workflow.log >/dev/null; then
    echo "!! the test $test did not run and pass"
    exit 1
  fi
done
passed=$((passed + 1))

echo "== lintian $deb"
lintian --fail-on error "$deb"
passed=$((passed + 1))

ensure_reference_build
reference_tools="$repo/$reference_build/tools"

echo "== dpkg -i $deb"
dpkg -i "$deb"
dpkg -L grouper >"$work/files"
# The page in the browser, as packaging/build-all.sh put it beside the packages.
cmp /usr/share/grouper/grouper.html "$dist/grouper.html" ||
  { echo "!! /usr/share/grouper/grouper.html is not the page build-all made"; exit 1; }

echo "== the installed programs against the reference build, $records records per file"
run_candidate() {
  TZ=Asia/Seoul /usr/bin/grouper "$1" "$2"
}
data="$work/data"
mkdir "$data"
make_inputs "$data" "$records"
compare_with_reference installed "$data"
passed=$((passed + 1))

"$reference_tools/grouper-sample" --count "$records" --seed 11 --faults 0.1 >"$work/month.in"
/usr/bin/grouper-sample --count "$records" --seed 11 --faults 0.1 | cmp - "$work/month.in"
for args in "--json" "--lines 1-50,900 --show-identifiers"; do
  # shellcheck disable=SC2086
  TZ=Asia/Seoul /usr/bin/grouper-explain $args "$work/month.in" >"$work/explain.installed"
  # shellcheck disable=SC2086
  TZ=Asia/Seoul "$reference_tools/grouper-explain" $args "$work/month.in" >"$work/explain.reference"
  cmp "$work/explain.installed" "$work/explain.reference"
done
TZ=Asia/Seoul /usr/bin/grouper-report "$work/month.in" "$work/installed.html" >/dev/null
TZ=Asia/Seoul "$reference_tools/grouper-report" "$work/month.in" "$work/reference.html" >/dev/null
same_report "$work/installed.html" "$work/reference.html"
for tool in grouper-explain grouper-report grouper-sample grouper-month; do
  [ "$("/usr/bin/$tool" --version)" = "$tool $version" ]
  [ -f "/usr/share/man/man1/$tool.1.gz" ]
done
mkdir "$work/자료 12월"
cp "$work/month.in" "$work/자료 12월/2026년 12월.txt"
TZ=Asia/Seoul /usr/bin/grouper-month --no-open "$work/자료 12월/2026년 12월.txt" >/dev/null
made="$work/자료 12월/2026년 12월_grouper"
[ "$(ls "$made")" = "$(printf '%s\n' "2026년 12월.csv" "2026년 12월.html" "2026년 12월.out")" ]
TZ=Asia/Seoul "$reference_build/grouper" "$work/month.in" "$work/reference.out" >/dev/null
cmp "$made/2026년 12월.out" "$work/reference.out"
TZ=Asia/Seoul "$reference_tools/grouper-explain" --csv-ko "$work/month.in" | cmp - "$made/2026년 12월.csv"
TZ=Asia/Seoul "$reference_tools/grouper-report" "$work/자료 12월/2026년 12월.txt" \
  "$work/month-reference.html" >/dev/null
same_report "$made/2026년 12월.html" "$work/month-reference.html"
echo "   grouper-sample, grouper-explain (JSON and text), grouper-report, grouper-month: the" \
  "reference's bytes"
passed=$((passed + 1))

echo "== a C program built with pkg-config alone"
[ "$(pkg-config --modversion grouper)" = "$version" ]
# shellcheck disable=SC2046
cc -std=c99 -Wall -Wextra -pedantic -Werror tests/package/group_threads.c \
  $(pkg-config --cflags --libs grouper) -pthread -o "$work/group_threads"
if ! ldd "$work/group_threads" | grep -E "libgrouper.so.1 => (/usr)?/lib/" >/dev/null; then
  echo "!! the C program does not load the installed libgrouper.so.1:"
  ldd "$work/group_threads"
  exit 1
fi
TZ=Asia/Seoul /usr/bin/grouper "$work/month.in" "$work/batch.out" >"$work/batch.console"
TZ=Asia/Seoul "$work/group_threads" "$work/month.in" "$work/c.out" "$work/c.console"
cmp "$work/batch.out" "$work/c.out"
cmp "$work/batch.console" "$work/c.console"
echo "   result file and console equal the installed batch's"
passed=$((passed + 1))

echo "== the module with the system's python3 and no variable"
(cd "$work" && env -u GROUPER_LIBRARY -u PYTHONPATH -u LD_LIBRARY_PATH TZ=Asia/Seoul \
  /usr/bin/python3 "$repo/tests/package/check_installed_module.py" "$version" /usr \
  "$work/month.in" "$work/batch.out")
(cd "$work" && env -u GROUPER_LIBRARY -u PYTHONPATH /usr/bin/python3 -c \
  'import grouper; assert grouper.__file__ == "/usr/lib/python3/dist-packages/grouper/__init__.py"')
passed=$((passed + 1))

echo "== dpkg -r grouper"
dpkg -r grouper
left=()
while read -r path; do
  # The system's own folders (/usr, /usr/bin, ...) stay; the package's go.
  if [ -L "$path" ] || [ -f "$path" ] || { [ -d "$path" ] && [[ "$path" == *grouper* ]]; }; then
    left+=("$path")
  fi
done <"$work/files"
if [ "${#left[@]}" -gt 0 ]; then
  printf '!! left after dpkg -r: %s\n' "${left[@]}"
  exit 1
fi
if ldconfig -p | grep libgrouper >/dev/null; then
  echo "!! libgrouper is still in the loader's cache"
  exit 1
fi
if installed; then
  echo "!! dpkg still has the package installed"
  exit 1
fi
dpkg -P grouper >/dev/null  # what dpkg keeps of a removed package: its maintainer scripts
if dpkg-query -W grouper >/dev/null 2>&1; then
  echo "!! dpkg still knows the package after purging it"
  exit 1
fi
echo "   $(wc -l <"$work/files") paths of the package checked: none left"
passed=$((passed + 1))

echo "package-linux: $passed passed, 0 failed"
