# Shared by the package tests: failing with a reason, waiting for a
# condition, and the package that build-package.sh left for the others.
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (tools/install-deps.sh installs it)"
  done
}

# wait_for <seconds> <command...>: runs the command every 0.1 s until it
# succeeds; fails when it has not within that many seconds. A limit for a
# loaded machine, not a measurement.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  while ((SECONDS < deadline)); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# The package built by build-package.sh in this output folder.
package_file() {
  local out=$1
  local debs=("$out"/zigwalk_*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single zigwalk package in $out (did package_build run?)"
  echo "${debs[0]}"
}
# unpack <package output dir> <scratch root>: the package's files, unpacked
# as dpkg would lay them out under /, into a fresh scratch root.
unpack() {
  local deb
  deb=$(package_file "$1")
  rm -rf "$2"
  mkdir -p "$2"
  dpkg-deb -x "$deb" "$2"
}
