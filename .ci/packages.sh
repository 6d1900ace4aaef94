# Shared by the .ci scripts (sourced, not run): require_packages NAME... installs
# those of the named Debian packages that are missing, with one apt-get update.
require_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  fi
}

# `same_report A B`: true when two pages of grouper-report are the same bytes
# but for the time each was made (ISO 8601, in its attribute and its table).
same_report() {
  local stamp='[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+-][0-9]{2}:[0-9]{2}'
  cmp <(sed -E "s/$stamp/TIME/g" "$1") <(sed -E "s/$stamp/TIME/g" "$2")
}
