#!/usr/bin/env bash
# make test's testing: run-tests.sh BUILD JOBS. Runs ctest over BUILD, one
# short line a test (no "Start" lines, no dots padding every line to the
# longest name), the output of every failed test, ctest's totals, and then
# every skipped test with the reason it gave, in one list. The exit status
# is ctest's.
set -uo pipefail
build=$1
jobs=$2
tools=$(cd "$(dirname "$0")" && pwd)
cd "$build" || exit 1
# A skipped test says why near the start of its output; a passed test's
# output is kept in full so that every reason is there to read.
ctest --output-on-failure -j "$jobs" --test-output-size-passed 65536 --output-junit Testing/results.xml \
  | awk -f "$tools/test-report/lines.awk"
status=$?
[ -f Testing/results.xml ] && awk -f "$tools/test-report/skipped.awk" Testing/results.xml
exit $status
