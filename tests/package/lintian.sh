#!/usr/bin/env bash
# Holds the package to Debian's rules: no error and no warning from lintian.
# lintian.sh <package output dir>
source "$(dirname "$0")/common.sh"
need_tools lintian
deb=$(package_file "$1")

# Exit status 1 only means tags were found; anything above is lintian failing.
status=0
lintian --pedantic --display-info "$deb" >"$1/lintian.log" 2>&1 || status=$?
# It says that running as root is not recommended; CI runs as root.
report=$(grep -v 'root privileges' "$1/lintian.log" || true)
echo "${report:-lintian: nothing to report}"
[ "$status" -le 1 ] || fail "lintian did not run (status $status)"
if grep -E '^[EW]: ' <<<"$report" >/dev/null; then
  fail "lintian found errors or warnings"
fi
