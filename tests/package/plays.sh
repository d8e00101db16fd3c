#!/usr/bin/env bash
# The unpacked package as a player starts it: from another folder (/), on a
# private X display and through a private PulseAudio server. The menu must
# show and the tune must be heard, which also proves that the game found
# music.mid beside the program through the link it was started by.
# plays.sh <package output dir> <source dir>
source "$(dirname "$0")/common.sh"
need_tools dpkg-deb Xvfb xdotool import convert compare pulseaudio pactl parec sox
out=$(realpath "$1")
source_dir=$(realpath "$2")
work=$out/plays
root=$work/root
unpack "$out" "$root"
mkdir -p "$work/run" "$work/home" "$work/config"
chmod 700 "$work/run"

pids=()
cleanup() { # the last started first: the game before its display and sound server
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
}
trap cleanup EXIT

# A private X display; Xvfb picks a free number and writes it out.
exec 3>"$work/display"
Xvfb -screen 0 1024x768x24 -nolisten tcp -noreset -displayfd 3 2>"$work/xvfb.log" &
pids+=($!)
exec 3>&-
wait_for 10 grep -q '[0-9]' "$work/display" || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
display=:$(tr -dc 0-9 <"$work/display")

# A private sound server with one null sink, reached through its own socket.
# As root pulseaudio warns that it is not meant for root and runs anyway.
# No shared memory: containers often have little of it, and sockets suffice.
socket=$work/run/native
env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes --log-target=stderr \
  -L "module-null-sink sink_name=zigwalk_test" \
  -L "module-native-protocol-unix socket=$socket auth-anonymous=1" 2>"$work/pulseaudio.log" &
pids+=($!)
export PULSE_SERVER=unix:$socket
wait_for 10 pactl info >/dev/null 2>&1 || { cat "$work/pulseaudio.log"; fail "pulseaudio did not start"; }

# Everything that reaches the sink, from before the game starts.
parec -d zigwalk_test.monitor --raw --format=s16le --rate=44100 --channels=2 >"$work/sound.raw" &
pids+=($!)

# The pointer waits in the corner of the screen, off the window, so nothing
# on the menu is hovered.
export DISPLAY=$display
xdotool mousemove 1020 760
(cd / && exec env -i PATH=/usr/bin:/bin DISPLAY="$display" HOME="$work/home" \
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" PULSE_SERVER="$PULSE_SERVER" \
  "$root/usr/games/zigwalk") >"$work/game.log" 2>&1 &
game=$!
pids+=($game)

# The game window is captioned "Zig-walk"; only the visible one counts.
window_id() { xdotool search --onlyvisible --name '^Zig-walk$' 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window_id)" ]; }
wait_for 30 window_shown || { cat "$work/game.log"; fail "no Zig-walk window appeared"; }
window=$(window_id)

# The menu: the window's top 640 x 480 pixels are the Czech menu picture,
# apart from the yellow frame around the first item.
menu=$work/menu-cs.png
convert "$source_dir/assets/pictures/menu-cs.png" -alpha off "$menu"
differing_from_menu() {
  import -silent -window "$window" "$work/window.png" 2>/dev/null || return 1
  convert "$work/window.png" -crop 640x480+0+0 +repage -alpha off "$work/picture.png"
  compare -metric AE "$work/picture.png" "$menu" null: 2>&1 || true
}
menu_shown() {
  local differing
  differing=$(differing_from_menu) || return 1
  [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -lt 2500 ]
}
wait_for 30 menu_shown || fail "the menu did not show: $(differing_from_menu) pixels differ from menu-cs.png"
echo "menu shown: $(differing_from_menu) of 307200 pixels differ from menu-cs.png (the frame)"
cp "$work/window.png" "$out/installed-menu.png"

# The tune: the sink is silent until the game plays. RMS amplitude of the
# last two seconds recorded (176400 bytes a second), on whole frames.
second=176400
rms() {
  local bytes
  bytes=$(stat -c %s "$work/sound.raw")
  bytes=$((bytes / 4 * 4))
  [ "$bytes" -ge $((2 * second)) ] || { echo 0; return; }
  head -c "$bytes" "$work/sound.raw" | tail -c $((2 * second)) >"$work/last.raw"
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/last.raw" -n stat 2>&1 \
    | awk '/^RMS +amplitude/ { print $3 }'
}
heard() { awk -v r="$(rms)" 'BEGIN { exit !(r > 0.005) }'; }
wait_for 20 heard || fail "no tune heard: RMS amplitude $(rms) in the last two seconds"
kill -0 "$game" 2>/dev/null || fail "the game ended by itself"
echo "tune heard: RMS amplitude $(rms) in the last two seconds"
