#!/usr/bin/env bash
# packaging/build-all.sh's refusals, which must come before it builds
# anything: against a fake dpkg-query and ldconfig on PATH, it names the
# missing Debian packages (and installs none), stops where a libgrouper is
# installed, refuses an output folder that holds another's files, a second
# run while one runs, and an unknown option; --needs lists the Windows tools
# unless --only-linux.
#
#   tests/ci/build_all_test.sh
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# The fake system: dpkg-query says installed for every package not named in
# $work/missing; ldconfig -p lists $work/libraries.
cat >"$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
state=$(dirname "$0")/..
name=${*: -1}
grep -qx "$name" "$state/missing" && exit 1
echo installed
FAKE
cat >"$work/bin/ldconfig" <<'FAKE'
#!/usr/bin/env bash
cat "$(dirname "$0")/../libraries"
FAKE
chmod +x "$work/bin/"*

failed=0
# expect NAME STATUS PATTERN ARGS...: build-all ARGS exits with STATUS and
# says PATTERN (an extended regular expression) on stdout or stderr.
expect() {
  local name=$1 status=$2 pattern=$3 said got=0
  shift 3
  said=$(PATH="$work/bin:$PATH" "$repo/packaging/build-all.sh" "$@" 2>&1) || got=$?
  if [ "$got" != "$status" ] || ! grep -Eq -- "$pattern" <<<"$said"; then
    echo "FAILED: $name: status $got (expected $status), said:"
    echo "$said"
    failed=$((failed + 1))
  else
    echo "ok    $name"
  fi
}

out="$work/out folder"
: >"$work/libraries"
printf '%s\n' nsis mono-xbuild >"$work/missing"
expect "missing Debian packages are named, nothing built" 1 \
  "apt-get install mono-xbuild nsis$" --out "$out"
[ ! -e "$out" ] || { echo "FAILED: the output folder was made before the refusal"; failed=$((failed + 1)); }
expect "--only-linux needs no Windows tools" 1 "apt-get install mono-xbuild$" --only-linux --out "$out"

: >"$work/missing"
echo "	libgrouper.so.1 (libc6,x86-64) => /usr/lib/x86_64-linux-gnu/libgrouper.so.1" >"$work/libraries"
expect "an installed libgrouper stops the run" 1 "libgrouper is installed" --out "$out"

: >"$work/libraries"
mkdir -p "$out"
echo "a clerk's file" >"$out/12월 보고서.txt"
expect "a folder of other files is refused" 1 "no earlier run made" --out "$out"
[ -f "$out/12월 보고서.txt" ] || { echo "FAILED: the other file was removed"; failed=$((failed + 1)); }
printf 'x  grouper_1.2.0_amd64.deb\n' >"$out/SHA256SUMS"
expect "a folder of an earlier run with another's file is refused, and kept" 1 \
  "no earlier run made \(12월 보고서.txt\)" --out "$out"
[ -f "$out/SHA256SUMS" ] || { echo "FAILED: SHA256SUMS was removed"; failed=$((failed + 1)); }
rm "$out/12월 보고서.txt"
before=$failed
(
  mkdir -p "$repo/build"
  exec 9>"$repo/build/.build-all.lock"
  flock 9
  expect "two runs at once" 1 "another packaging/build-all.sh is running" --out "$out"
  [ "$failed" = "$before" ]
) || failed=$((failed + 1))
expect "an unknown option" 2 "unknown argument: --out-dir" --out-dir "$out"
expect "--out without a folder" 2 "^usage:" --out

needs=$("$repo/packaging/build-all.sh" --needs)
linux_needs=$("$repo/packaging/build-all.sh" --only-linux --needs)
for tool in wine nsis g++-mingw-w64-i686 g++-mingw-w64-x86-64; do
  if ! grep -qw -- "$tool" <<<"$needs" || grep -qw -- "$tool" <<<"$linux_needs"; then
    echo "FAILED: --needs and --only-linux --needs for $tool: '$needs' / '$linux_needs'"
    failed=$((failed + 1))
  fi
done

if [ "$failed" != 0 ]; then
  echo "build_all_test: $failed failed"
  exit 1
fi
echo "build_all_test: all passed"
