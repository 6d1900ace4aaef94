# Shared by the .ci scripts (sourced, not run).

# A script that sources this file says which command ended it: under `set -e`
# a failed check would otherwise end the run without a word (`wine reg query`
# exits 1 and prints nothing when it does not find a key). -E lets functions
# and subshells say it too.
set -E
trap 'echo "!! ${0##*/}: line $LINENO: failed (status $?): $BASH_COMMAND" >&2' ERR

# `require_packages NAME...` installs those of the named Debian packages that
# are not installed. The package lists are updated first (apt_update); the
# packages are then installed whether or not that succeeded, and only a
# package that cannot be installed fails the run, named on stderr. (apt-get
# installs nothing when one package fails, so after a failure each is tried
# alone, to name the one at fault.)
require_packages() {
  local missing=() failed=() p
  for p in "$@"; do
    package_installed "$p" || missing+=("$p")
  done
  [ "${#missing[@]}" -gt 0 ] || return 0
  apt_update
  apt_install "${missing[@]}" && return 0
  for p in "${missing[@]}"; do
    package_installed "$p" || apt_install "$p" || failed+=("$p")
  done
  [ "${#failed[@]}" -eq 0 ] || {
    echo "packages: cannot install ${failed[*]} (apt-get install failed)" >&2
    return 1
  }
}

apt_install() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@"
}

# `package_installed NAME`: true when NAME (also NAME:ARCH) is installed, not
# merely known to dpkg (a removed package whose configuration files remain).
package_installed() {
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}

# `apt_update`: apt-get update, tried up to three times, APT_PAUSE seconds
# apart (default 20). A mirror in the middle of a sync fails it now and then
# for one index (seen: "unexpected size" for the i386 one) while every
# package needed still installs, so a failure is said on stderr and is not
# the run's end: the packages' own installation decides.
apt_update() {
  local try
  for try in 1 2 3; do
    apt-get update -qq && return 0
    echo "packages: apt-get update failed (try $try of 3)" >&2
    [ "$try" = 3 ] || sleep "${APT_PAUSE:-20}"
  done
  echo "packages: going on with the package lists at hand" >&2
}

# `same_report A B`: true when two pages of grouper-report are the same bytes
# but for the time each was made (ISO 8601 in its attribute, "2026-12-09 20:31
# (UTC+09:00)" in its table).
same_report() {
  local stamp='[0-9]{4}-[0-9]{2}-[0-9]{2}(T[0-9]{2}:[0-9]{2}:[0-9]{2}| [0-9]{2}:[0-9]{2} \(UTC)[+-][0-9]{2}:[0-9]{2}\)?'
  cmp <(sed -E "s/$stamp/TIME/g" "$1") <(sed -E "s/$stamp/TIME/g" "$2")
}

# `built_packages`: sets `dist` to the folder of the packages that
# packaging/build-all.sh made (the one command the README names), so that CI
# tests what a user makes. .ci/run makes them once for both package scripts
# and names the folder in GROUPER_DIST; a script run alone makes them itself.
built_packages() {
  dist=${GROUPER_DIST:-}
  if [ -z "$dist" ]; then
    # shellcheck disable=SC2046
    require_packages $(packaging/build-all.sh --needs)
    dist=build/dist
    packaging/build-all.sh --out "$dist"
  fi
  [ -f "$dist/SHA256SUMS" ] || { echo "!! no packages in $dist (no SHA256SUMS)"; return 1; }
  (cd "$dist" && sha256sum --quiet -c SHA256SUMS)
}
