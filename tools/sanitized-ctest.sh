#!/usr/bin/env bash
# Runs ctest in a sanitizer build: sanitized-ctest.sh BUILD TESTS [VAR=options...]
# TESTS is a ctest -R pattern, empty for all. Each VAR is a sanitizer's
# options; the reports of every program the tests run go to files under
# BUILD/sanitizer-reports, and any such file fails the run, as a failed test does.
set -uo pipefail
build=$1
tests=$2
shift 2
reports="$(cd "$build" && pwd)/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
vars=()
for setting in "$@"; do
  vars+=("$setting:log_path=$reports/${setting%%=*}")
done
select=()
[ -n "$tests" ] && select=(-R "$tests")
cd "$build" && env "${vars[@]}" ctest --output-on-failure -j "$(nproc)" "${select[@]}"
status=$?
if compgen -G "$reports/*" >/dev/null; then
  echo "Sanitizer reports in $reports:" >&2
  for report in "$reports"/*; do
    echo "==== $report" >&2
    head -n 60 "$report" >&2
  done
  exit 1
fi
exit $status
