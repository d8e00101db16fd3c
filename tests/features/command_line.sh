#!/bin/sh
# The program's answers on the command line: --help and --version on stdout
# with status 0, a usage error as one line on stderr with status 2.
# command_line.sh <zigwalk program>
game=$1
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d)
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$("$game" --version 2>/dev/null)" = "zigwalk 1.0" ] || fail "--version"
"$game" --help 2>/dev/null | head -n 1 | grep -q '^usage: zigwalk' || fail "--help"
# Qt's own options are Qt's: they stand beside --help and --version, which
# still answer without any display.
for args in "-platform offscreen --version" "--version -platform xcb" "-style fusion -reverse --version" \
  "-style=fusion --version" "--platform offscreen --version" "-platform xcb -display :999 --version" \
  "-qmljsdebugger=port:3768 --version"; do
  # shellcheck disable=SC2086
  [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$game" $args 2>/dev/null)" = "zigwalk 1.0" ] || fail "$args"
done
env -u DISPLAY -u WAYLAND_DISPLAY "$game" -platform xcb --help 2>/dev/null | head -n 1 | grep -q '^usage: zigwalk' ||
  fail "-platform xcb --help"
# Qt takes -qmljsdebugger only as -qmljsdebugger=VALUE: a folder after it is
# not swallowed as its value.
for args in "--bogus" "one two" "--levels" "--choose-levels somewhere" "-platform" "-plat offscreen" \
  "-qmljsdebugger somewhere"; do
  # shellcheck disable=SC2086
  err=$("$game" $args 2>&1 >/dev/null)
  status=$?
  [ "$status" -eq 2 ] || fail "$args: status $status, not 2"
  [ "$(printf '%s\n' "$err" | grep -c '^zigwalk: ')" -eq 1 ] || fail "$args: not one line: $err"
done
echo "command line answers as expected"
