#!/usr/bin/env bash
# require_packages of .ci/packages.sh against a fake apt-get and dpkg-query on
# PATH: a failing `apt-get update` (as on a mirror in the middle of a sync)
# must not end the run while the packages install, and a package that cannot
# be installed must, with its name on stderr.
#
#   tests/ci/packages_test.sh
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# The fake system: $work/installed lists the installed packages, one a line;
# `apt-get update` fails while $work/update_fails holds a count above 0; an
# install of any package named in $work/unavailable installs nothing (as
# apt-get does) and fails. Each call is logged in $work/log.
cat >"$work/bin/apt-get" <<'FAKE'
#!/usr/bin/env bash
state=$(dirname "$0")/..
echo "$*" >>"$state/log"
case $1 in
update)
  left=$(cat "$state/update_fails")
  [ "$left" -gt 0 ] || exit 0
  echo $((left - 1)) >"$state/update_fails"
  echo "E: Failed to fetch ... File has unexpected size" >&2
  exit 100 ;;
install)
  shift
  names=()
  for a in "$@"; do [[ $a == -* ]] || names+=("$a"); done
  for n in "${names[@]}"; do
    grep -qx "$n" "$state/unavailable" && { echo "E: Unable to locate package $n" >&2; exit 100; }
  done
  printf '%s\n' "${names[@]}" >>"$state/installed" ;;
esac
FAKE
cat >"$work/bin/dpkg-query" <<'FAKE'
#!/usr/bin/env bash
grep -qx "${!#}" "$(dirname "$0")/../installed" && printf installed
FAKE
chmod +x "$work/bin/"*

failed=0
# check CASE: sets up the fake system as CASE says (its fields below), runs
# require_packages as the .ci scripts do (set -euo pipefail), and checks its
# status, the number of `apt-get update` calls, stderr (a pattern for grep -E,
# or empty for nothing said) and that every package but the unavailable ones
# is installed afterwards.
# shellcheck disable=SC2086 # the lists of packages are words
check() {
  local what installed fails unavailable want_status want_updates want_said names
  IFS='|' read -r what installed fails unavailable want_status want_updates want_said names <<<"$1"
  printf '%s\n' $installed >"$work/installed"
  echo "$fails" >"$work/update_fails"
  printf '%s\n' $unavailable >"$work/unavailable"
  : >"$work/log"
  local status=0
  (PATH="$work/bin:$PATH" APT_PAUSE=0 bash -c 'set -euo pipefail; source "$1"; shift
    require_packages "$@"' _ "$repo/.ci/packages.sh" $names) >/dev/null 2>"$work/stderr" || status=$?
  local updates said ok=1 n
  updates=$(grep -c '^update' "$work/log" || true)
  said=$(cat "$work/stderr")
  [ "$([ "$status" = 0 ] && echo 0 || echo 1)" = "$want_status" ] || ok=0
  [ "$updates" = "$want_updates" ] || ok=0
  if [ -z "$want_said" ]; then [ -z "$said" ] || ok=0; else grep -Eq "$want_said" <<<"$said" || ok=0; fi
  for n in $names; do
    grep -qx "$n" "$work/unavailable" || grep -qx "$n" "$work/installed" || ok=0
  done
  if [ "$ok" = 1 ]; then
    echo "ok: $what"
  else
    failed=$((failed + 1))
    echo "FAILED: $what (status $status, $updates updates; stderr:)"
    sed 's/^/    /' "$work/stderr"
  fi
}

cases=(
  # what | installed | update fails | unavailable | status | updates | stderr | packages required
  "nothing missing: no apt-get at all|cmake|3||0|0||cmake"
  "the lists update: the package installs|cmake|0||0|1||cmake g++"
  "update fails once, then works|cmake|1||0|2|update failed \(try 1 of 3\)|cmake g++"
  "update fails every time: the packages still install||9||0|3|going on with the package lists at hand|g++ wine32:i386"
  "a package that cannot be installed is named, the others install||9|nsis|1|3|cannot install nsis \(|g++ nsis wine"
)
for c in "${cases[@]}"; do check "$c"; done
[ "$failed" = 0 ] || { echo "packages_test: $failed failed"; exit 1; }
echo "packages_test: ${#cases[@]} passed"
