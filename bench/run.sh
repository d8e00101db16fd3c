#!/usr/bin/env bash
# make bench: builds the game and its benchmarks with optimisation in
# build-bench and prints every figure as
#   name: value (target ...): HOLDS or MISSED
# Every comparison is against the bare baseline window measured in the same
# run, the two taken alternately; medians of BENCH_RUNS runs are quoted.
#
# Environment: BENCH_BUILD (build folder, default build-bench), BENCH_RUNS
# (runs per comparison, default 10, at least 10 for the start-up figures),
# BENCH_IDLE_SECONDS (default 30), JOBS (build jobs, default 2).
# Needs Xvfb and xdotool, and for the sound figures pulseaudio, parec and sox
# (tools/install-deps.sh installs them).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BENCH_BUILD:-$root/build-bench}
runs=${BENCH_RUNS:-10}
idle_seconds=${BENCH_IDLE_SECONDS:-30}
jobs=${JOBS:-2}
picture=$root/assets/pictures/menu-cs.png # the baseline paints the menu too

echo "Building in $build (Release) ..."
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZIGWALK_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs" --target zigwalk zigwalk-check zigwalk-music bench_rules bench_baseline bench_game bench_store \
  bench_open bench_hostile_levels >/dev/null

game=$build/bench/bench_game
baseline=$build/bench/bench_baseline
results=$build/bench/results
mkdir -p "$results"

# Everything the programs write for themselves goes to a scratch home, so a
# benchmark never touches the player's settings.
scratch=$(mktemp -d)
export XDG_RUNTIME_DIR=$scratch/runtime XDG_CONFIG_HOME=$scratch/config
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"

xvfb_pid=""
idle_pid=""
pulse_pid=""
parec_pid=""
cleanup() {
  [ -n "$idle_pid" ] && kill "$idle_pid" 2>/dev/null || true
  [ -n "$parec_pid" ] && kill "$parec_pid" 2>/dev/null || true
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A private X server; it picks a free display and tells us which.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
xvfb_display=":$(head -n1 "$scratch/display")"

# --- small helpers -----------------------------------------------------------

median() { sort -g | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# holds VALUE OP LIMIT: HOLDS or MISSED, OP one of <= < ==
holds() { awk -v v="$1" -v l="$3" -v op="$2" 'BEGIN {ok = (op == "<=") ? v <= l : (op == "<") ? v < l : v == l; print ok ? "HOLDS" : "MISSED"}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'; }
ms() { awk -v v="$1" 'BEGIN {printf "%.1f", v}'; }
figure() { printf '%-34s %s (target %s): %s\n' "$1:" "$2" "$3" "$4"; }
value() { awk -v k="$1" '$1 == k {print $2}' "$2"; }

# Runs one program with --exit-after-paint (and its arguments) on the given
# platform; prints "<ms from start to first painted frame> <peak kB> <music-on>"
# (music-on is -1 or 0 from the game, - from the baseline).
first_paint() {
  local platform=$1; shift
  local out=$scratch/first-paint.out started painted
  started=$(date +%s%N)
  if [ "$platform" = xcb ]; then
    DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb "$@" >"$out" 2>/dev/null
  else
    QT_QPA_PLATFORM=offscreen "$@" >"$out" 2>/dev/null
  fi
  painted=$(value first-paint-ns "$out")
  echo "$(( (painted - started) / 1000 )) $(value peak-rss-kb "$out") $(value music-on "$out")" |
    awk '{printf "%.3f %d %s\n", $1 / 1000, $2, (NF > 2 ? $3 : "-")}'
}

# Alternates two programs RUNS times (the order flips every run, so neither
# always goes first) and writes their "ms kB" lines to two files.
alternate() {
  local platform=$1 out_a=$2 out_b=$3 cmd_a=$4 cmd_b=$5
  : >"$out_a"; : >"$out_b"
  # One untimed start of each first, so both meet a warm file cache.
  first_paint "$platform" $cmd_a >/dev/null
  first_paint "$platform" $cmd_b >/dev/null
  for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 1 ]; then
      first_paint "$platform" $cmd_a >>"$out_a"; first_paint "$platform" $cmd_b >>"$out_b"
    else
      first_paint "$platform" $cmd_b >>"$out_b"; first_paint "$platform" $cmd_a >>"$out_a"
    fi
  done
}

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo '?'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Runs per comparison: $runs"
echo

# --- 1 and 2: one mouse event, one tick ---------------------------------------

echo "Rules (Google Benchmark, CPU time per call, median of $runs repetitions; wall time in brackets)"
"$build/bench/bench_rules" --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  >"$results/rules.txt" 2>"$results/rules.err"
rule_figure() {
  local name=$1 label=$2 cpu wall
  cpu=$(awk -v n="${name}_median" '$1 == n {print $4}' "$results/rules.txt")
  wall=$(awk -v n="${name}_median" '$1 == n {print $2}' "$results/rules.txt")
  figure "$label" "$cpu ns [wall $wall ns]" "<= 1000 ns" "$(holds "$cpu" "<=" 1000)"
}
rule_figure BM_MouseEvent "dispatch, one mouse event"
queries=$(awk '$1 == "BM_MouseEvent_median" {for (i = 1; i <= NF; ++i) if ($i ~ /^queries\/event=/) {sub(/.*=/, "", $i); print $i}}' "$results/rules.txt")
events=$(awk '$1 == "BM_MouseEvent_median" {for (i = 1; i <= NF; ++i) if ($i ~ /^events=/) {sub(/.*=/, "", $i); print $i}}' "$results/rules.txt")
echo "  (${events} events over all 22 pictures, ${queries} colour queries per event on average: 14 with the hover rules, 10 without)"
rule_figure BM_TickStill "tick, frame standing still"
rule_figure BM_TickMoving "tick, frame moving"
echo

# --- 3 and 4: start-up and memory against the baseline -----------------------

echo "Start-up to the first painted frame (median of $runs alternate runs each)"
declare -A startup_ratio
for platform in xcb offscreen; do
  alternate "$platform" "$results/startup-game-$platform.txt" "$results/startup-baseline-$platform.txt" \
    "$game --exit-after-paint" "$baseline --exit-after-paint $picture"
  g=$(awk '{print $1}' "$results/startup-game-$platform.txt" | median)
  b=$(awk '{print $1}' "$results/startup-baseline-$platform.txt" | median)
  r=$(ratio "$g" "$b")
  startup_ratio[$platform]=$r
  label=$([ "$platform" = xcb ] && echo "start-up, Xvfb" || echo "start-up, offscreen")
  figure "$label" "$r x (game $(ms "$g") ms, baseline $(ms "$b") ms)" "<= 1.25 x" "$(holds "$r" "<=" 1.25)"
done
echo

echo "Peak resident memory (VmHWM), under Xvfb, median of $runs runs"
base_kb=$(awk '{print $2}' "$results/startup-baseline-xcb.txt" | median)
start_kb=$(awk '{print $2}' "$results/startup-game-xcb.txt" | median)
: >"$results/visit-all.txt"
for _ in $(seq "$runs"); do
  DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb "$game" --visit-all 2>/dev/null >"$scratch/visit.out"
  echo "$(value visited-peak-rss-kb "$scratch/visit.out") $(value pictures-painted "$scratch/visit.out")" >>"$results/visit-all.txt"
done
visit_kb=$(awk '{print $1}' "$results/visit-all.txt" | median)
painted=$(awk '{print $2}' "$results/visit-all.txt" | sort -n | head -n1)
for row in "after start-up:$start_kb" "after all 22 pictures:$visit_kb"; do
  label=${row%%:*}; kb=${row##*:}
  above=$(awk -v a="$kb" -v b="$base_kb" 'BEGIN {printf "%.1f", (a - b) / 1024}')
  figure "memory $label" "+$above MB (game $((kb / 1024)) MB, baseline $((base_kb / 1024)) MB)" "<= +12 MB" "$(holds "$above" "<=" 12)"
done
figure "pictures painted while visiting" "$painted of 22" "22" "$(holds "$painted" "==" 22)"
echo

# --- 4b: a player's folder of twenty levels ----------------------------------

# The built-in mazes copied out as a player would start from them, each
# snapped to the maze colours (two carry a few specks outside the key).
folder=$scratch/levels
mkdir -p "$folder"
for f in "$root"/assets/pictures/level-*.png; do
  "$build/tools/zigwalk-check" --snap "$f" "$folder/$(basename "$f")" >/dev/null
done
echo "A folder of twenty levels against the built-in game (Xvfb, median of $runs alternate runs each)"
alternate xcb "$results/startup-folder.txt" "$results/startup-builtin.txt" \
  "$game --exit-after-paint --levels $folder" "$game --exit-after-paint"
f=$(awk '{print $1}' "$results/startup-folder.txt" | median)
g=$(awk '{print $1}' "$results/startup-builtin.txt" | median)
more=$(awk -v a="$f" -v b="$g" 'BEGIN {printf "%.0f", a - b}')
figure "start-up with a folder" "+$more ms ($(ms "$f") ms against $(ms "$g") ms, $(ratio "$f" "$g") x)" "<= +1000 ms" "$(holds "$more" "<=" 1000)"
fk=$(awk '{print $2}' "$results/startup-folder.txt" | median)
gk=$(awk '{print $2}' "$results/startup-builtin.txt" | median)
above=$(awk -v a="$fk" -v b="$gk" 'BEGIN {printf "%.1f", (a - b) / 1024}')
figure "memory with a folder" "+$above MB (peak resident $((fk / 1024)) MB against $((gk / 1024)) MB)" "<= +8 MB" "$(holds "$above" "<=" 8)"
echo

# --- 4c: folders built to cost the game more than their pixels ----------------

# Twenty names for one file each: level 1 of the folder above with a 7 MB
# text chunk after its header, and level 1's pixels with image data that
# goes on for 8 GiB of zeros after its last row.
padded=$scratch/padded
bombs=$scratch/bombs
"$build/bench/bench_hostile_levels" padded "$folder/level-01.png" "$padded"
"$build/bench/bench_hostile_levels" bomb "$folder/level-01.png" "$bombs"

# Runs the game to its first frame (or its refusal) under /usr/bin/time;
# prints "<s wall> <peak kB by time> <resident kB at the first frame, 0 if refused>".
timed_game() {
  local out=$scratch/timed.out
  DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb /usr/bin/time -f "%e %M" -o "$scratch/time.out" \
    "$game" --exit-after-paint "$@" >"$out" 2>/dev/null || true
  echo "$(cat "$scratch/time.out" | tail -n1) $(value rss-kb "$out" || true)" | awk '{print $1, $2, ($3 == "" ? 0 : $3)}'
}
# The folder against the built-in game, RUNS times each, the order flipping
# every run, after one untimed run of each; lines to two files.
alternate_timed() {
  local folder=$1 out_folder=$2 out_builtin=$3
  : >"$out_folder"; : >"$out_builtin"
  timed_game >/dev/null; timed_game --levels "$folder" >/dev/null
  for i in $(seq "$runs"); do
    if [ $((i % 2)) -eq 1 ]; then
      timed_game --levels "$folder" >>"$out_folder"; timed_game >>"$out_builtin"
    else
      timed_game >>"$out_builtin"; timed_game --levels "$folder" >>"$out_folder"
    fi
  done
}
echo "Twenty levels padded with a 7 MB text chunk each, against the built-in game (Xvfb, median of $runs alternate runs each)"
alternate_timed "$padded" "$results/padded.txt" "$results/padded-builtin.txt"
for column in 2:peak 3:resident; do
  n=${column%%:*}; label=${column##*:}
  p=$(awk -v n="$n" '{print $n}' "$results/padded.txt" | median)
  b=$(awk -v n="$n" '{print $n}' "$results/padded-builtin.txt" | median)
  above=$(awk -v a="$p" -v b="$b" 'BEGIN {printf "%.1f", (a - b) / 1024}')
  figure "$label memory, padded folder" "+$above MB ($((${p%.*} / 1024)) MB against $((${b%.*} / 1024)) MB)" "<= +8 MB" "$(holds "$above" "<=" 8)"
done
p=$(awk '{print $1}' "$results/padded.txt" | median)
b=$(awk '{print $1}' "$results/padded-builtin.txt" | median)
figure "start-up, padded folder" "$p s against $b s ($(ratio "$p" "$b") x)" "<= +1 s" "$(holds "$(awk -v a="$p" -v b="$b" 'BEGIN {print a - b}')" "<=" 1)"

echo "Twenty image-data bombs (8 GiB of zeros after the rows each): refused, against the built-in game's start (median of $runs alternate runs each)"
alternate_timed "$bombs" "$results/bombs.txt" "$results/bombs-builtin.txt"
r=$(awk '{print $1}' "$results/bombs.txt" | median)
b=$(awk '{print $1}' "$results/bombs-builtin.txt" | median)
figure "bomb folder refused" "$r s (built-in game's start $b s, $(ratio "$r" "$b") x)" "<= 2 s" "$(holds "$r" "<=" 2)"
echo

# --- 4d: the same twenty levels as a pack ------------------------------------

pack=$scratch/levels.zigwalk
"$build/tools/zigwalk-check" --pack "$folder" "$pack" >/dev/null
echo "The same twenty levels as a pack against the folder (Xvfb, median of $runs alternate runs each)"
alternate xcb "$results/startup-pack.txt" "$results/startup-folder2.txt" \
  "$game --exit-after-paint --levels $pack" "$game --exit-after-paint --levels $folder"
p=$(awk '{print $1}' "$results/startup-pack.txt" | median)
f=$(awk '{print $1}' "$results/startup-folder2.txt" | median)
figure "start-up with a pack" "$(ratio "$p" "$f") x ($(ms "$p") ms against $(ms "$f") ms with the folder)" "<= 1.2 x" "$(holds "$(ratio "$p" "$f")" "<=" 1.2)"
pk=$(awk '{print $2}' "$results/startup-pack.txt" | median)
fk=$(awk '{print $2}' "$results/startup-folder2.txt" | median)
above=$(awk -v a="$pk" -v b="$fk" 'BEGIN {printf "%+.1f", (a - b) / 1024}')
figure "memory with a pack" "$above MB (peak resident $((pk / 1024)) MB against $((fk / 1024)) MB)" "<= +8 MB" "$(holds "$above" "<=" 8)"
# Opening alone, before any window: the pack's reading and hashing against
# the folder's reading, with the same decoding and rules in both.
"$build/bench/bench_open" "$folder" "$pack" --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  >"$results/open.txt" 2>"$results/open.err"
of=$(awk '$1 == "openFolder_median" {print $4}' "$results/open.txt")
op=$(awk '$1 == "openPack_median" {print $4}' "$results/open.txt")
figure "opening twenty levels, pack" "$(ratio "$op" "$of") x ($op ms against $of ms CPU, median of $runs)" "<= 1.2 x" "$(holds "$(ratio "$op" "$of")" "<=" 1.2)"
echo

# --- 5: sitting on the menu ---------------------------------------------------

echo "Idle on the menu, frame timer running, no input (Xvfb, ${idle_seconds} s)"
read -r _ item_x item_y <<<"$("$game" --item-spot 2>/dev/null || echo "- -1 -1")"
DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb "$build/zigwalk" >/dev/null 2>&1 &
idle_pid=$!
window=$(DISPLAY=$xvfb_display timeout 20 xdotool search --sync --onlyvisible --name '^Zig-walk$' | head -n1 || true)
if [ -n "$window" ] && [ "$item_x" -ge 0 ]; then
  # Hovering the first menu item starts the frame timer, which then never
  # stops; the pointer then leaves the window so nothing else happens.
  DISPLAY=$xvfb_display xdotool mousemove --window "$window" "$item_x" "$item_y"
  sleep 1
  DISPLAY=$xvfb_display xdotool mousemove --window "$window" 700 600
  sleep 2
  cpu_ns() { cat /proc/"$idle_pid"/task/*/schedstat | awk '{t += $1} END {print t}'; }
  wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' /proc/"$idle_pid"/task/"$idle_pid"/status; }
  cpu0=$(cpu_ns); wake0=$(wakeups); t0=$(date +%s%N)
  sleep "$idle_seconds"
  cpu1=$(cpu_ns); wake1=$(wakeups); t1=$(date +%s%N)
  idle=$(awk -v c=$((cpu1 - cpu0)) -v t=$((t1 - t0)) 'BEGIN {printf "%.3f", 100 * c / t}')
  rate=$(awk -v w=$((wake1 - wake0)) -v t=$((t1 - t0)) 'BEGIN {printf "%.1f", w / (t / 1e9)}')
  figure "idle CPU" "$idle % of one core" "< 0.5 %" "$(holds "$idle" "<" 0.5)"
  # 20 a second is the 50 ms frame timer: proof that it was running.
  figure "main thread wake-ups" "$rate per second" ">= 15 (the 50 ms timer runs)" "$(holds 15 "<=" "$rate")"
else
  figure "idle CPU" "not measured: no game window or no continue item" "< 0.5 %" MISSED
fi
kill "$idle_pid" 2>/dev/null; wait "$idle_pid" 2>/dev/null || true; idle_pid=""

DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb timeout 60 "$game" --count-repaints 40 >"$results/repaints.txt" 2>/dev/null || true
if [ -z "$(value window-px "$results/repaints.txt")" ]; then
  figure "repaint per tick" "not measured: the driver did not finish" "0 still, lines' extents moving" MISSED
else
  still_max=$(value still-repaint-max-px "$results/repaints.txt")
  still_painted=$(value still-painted-px "$results/repaints.txt")
  still_moved=$(value still-ticks-moved "$results/repaints.txt")
  moving_ticks=$(value moving-ticks "$results/repaints.txt")
  moving_mean=$(value moving-repaint-mean-px "$results/repaints.txt")
  moving_max=$(value moving-repaint-max-px "$results/repaints.txt")
  reach_mean=$(value moving-lines-reach-mean-px "$results/repaints.txt")
  outside=$(value moving-repaint-outside-lines-px "$results/repaints.txt")
  window_px=$(value window-px "$results/repaints.txt")
  figure "repaint per tick, frame still" "$still_max px asked, $still_painted px painted over $(value still-ticks "$results/repaints.txt") ticks" "0" \
    "$(holds $((still_max + still_painted + still_moved)) "==" 0)"
  figure "repaint per tick, frame moving" "$moving_mean px mean, $moving_max px max over $moving_ticks ticks (lines' reach $reach_mean px, window $window_px px)" \
    "lines' extents only" "$( [ "${moving_ticks:-0}" -gt 0 ] && holds "$outside" "==" 0 || echo MISSED)"
fi
echo

# --- 6: music ---------------------------------------------------------------

# The two programs are the same but for one file, so the difference sought
# is small against the noise of a busy machine: twice the runs.
music_runs=$((2 * runs))
echo "Start-up with music.mid beside the program against without (Xvfb, median of $music_runs alternate runs each)"
mkdir -p "$scratch/with-music" "$scratch/without-music"
cp "$game" "$scratch/with-music/"; cp "$game" "$scratch/without-music/"
cp "$build/music.mid" "$scratch/with-music/music.mid"
runs=$music_runs alternate xcb "$results/music-with.txt" "$results/music-without.txt" \
  "$scratch/with-music/bench_game --exit-after-paint" "$scratch/without-music/bench_game --exit-after-paint"
w=$(awk '{print $1}' "$results/music-with.txt" | median)
wo=$(awk '{print $1}' "$results/music-without.txt" | median)
r=$(ratio "$w" "$wo")
# Each copy must have seen (or missed) its music.mid, or the comparison says nothing.
asked=$(awk '$3 == -1' "$results/music-with.txt" | wc -l)
unasked=$(awk '$3 == 0' "$results/music-without.txt" | wc -l)
verdict=$(holds "$r" "<=" 1.1)
[ "$asked" -eq "$music_runs" ] && [ "$unasked" -eq "$music_runs" ] || verdict=MISSED
figure "start-up with music" "$r x (with $(ms "$w") ms, without $(ms "$wo") ms; music asked for in $asked of $music_runs)" "<= 1.1 x" "$verdict"
if [ ! -e /dev/snd ]; then
  echo "  (no sound card and no sound server here: the synthesiser finds no audio output and stays silent)"
fi
echo

# --- 7: the save store ------------------------------------------------------

# A store of many megabytes is never read, so it may cost a save or a
# continue no more than an ordinary one beyond freeing the old file.
echo "The save store: big or broken against an ordinary one (Google Benchmark, wall time, median of $runs repetitions)"
store() { grep "^\"$1/$2[/_]" "$results/store-$1.csv" | cut -d, -f3; }
for what in FirstSave Continue; do
  "$build/bench/bench_store" --benchmark_filter="^$what/" --benchmark_repetitions="$runs" \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null | grep '_median' > "$results/store-$what.csv"
  ordinary=$(store "$what" 0)
  for size in 10 50; do
    big=$(store "$what" "$size")
    figure "$what, $size MB store" "$(ratio "$big" "$ordinary") x ($big us against $ordinary us)" "<= 3 x" "$(holds "$(ratio "$big" "$ordinary")" "<=" 3)"
  done
done
# A death in a config folder of 200,000 files against one in an empty folder.
"$build/bench/bench_store" --benchmark_filter="^SaveAtADeath/" --benchmark_repetitions="$runs" \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null | grep '_median' > "$results/store-SaveAtADeath.csv"
empty=$(store SaveAtADeath 0)
crowded=$(store SaveAtADeath 200000)
figure "save at a death, 200,000 files in the config folder" "$(ratio "$crowded" "$empty") x ($crowded us against $empty us)" "<= 2 x" "$(holds "$(ratio "$crowded" "$empty")" "<=" 2)"
echo

# --- 8: sound through a sound server -----------------------------------------

# A private PulseAudio server with a null sink, in the scratch runtime folder
# where the programs look for it. parec records the sink's monitor the whole
# time; sox finds where sound starts in it. A recorded frame is placed in time
# by the recording's length at a known moment, so every latency below also
# holds parec's own (5 ms asked) and errs on the long side.
echo "Sound through a private PulseAudio server (null sink, monitor recorded with parec, onsets found by sox; $runs runs)"
if ! command -v pulseaudio >/dev/null || ! command -v parec >/dev/null || ! command -v sox >/dev/null; then
  figure "sound" "not measured: pulseaudio, parec or sox missing" "-" MISSED
  echo
  echo "Raw results: $results"
  exit 0
fi
rate=44100
monitor=$scratch/monitor.raw
printf 'autospawn = no\n' >"$scratch/pulse-client.conf"
export PULSE_CLIENTCONFIG=$scratch/pulse-client.conf
unset PULSE_SERVER
cat >"$scratch/bench.pa" <<'PA'
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=out rate=44100
set-default-sink out
PA
# As root PulseAudio warns that it is meant for a desktop user, and runs.
HOME=$scratch pulseaudio -n -F "$scratch/bench.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
  --disable-shm=yes --log-level=error --log-target=stderr 2>/dev/null &
pulse_pid=$!
for _ in $(seq 200); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.05; done
parec --raw --format=s16le --rate=$rate --channels=2 --device=out.monitor --latency-msec=5 >"$monitor" 2>/dev/null &
parec_pid=$!
for _ in $(seq 200); do [ -s "$monitor" ] && break; sleep 0.05; done

# "<wall clock ns> <frames recorded so far>"
now_frame() { local t; t=$(date +%s%N); echo "$t $(( $(stat -c %s "$monitor") / 4 ))"; }
# Milliseconds from frame FROM to the first 5 ms louder than -40 dB within
# LENGTH frames; nothing when all of it is quieter.
onset_ms() {
  local left
  left=$(sox -t raw -r $rate -e signed -b 16 -c 2 "$monitor" -t raw - trim "$1s" "$2s" silence 1 0.005 -40d 2>/dev/null | wc -c)
  [ "$left" -gt 0 ] && awk -v n="$2" -v l="$((left / 4))" -v r=$rate 'BEGIN {printf "%.1f\n", (n - l) * 1000 / r}' || true
}
rss_kb() { awk '$1 == "VmRSS:" {print $2}' "/proc/$1/status"; }
# "<anonymous kB> <file-backed kB>" of a process's resident pages.
rss_split() { awk '$1 == "Rss:" {r = $2} $1 == "Anonymous:" {a = $2} END {print a, r - a}' "/proc/$1/smaps_rollup"; }
# "<kB> <file>" for every file whose resident pages in a process come to
# 64 kB or more, largest first.
rss_by_file() {
  awk '/^[0-9a-f]+-[0-9a-f]+ / {f = ($6 ~ /^\//) ? $6 : ""} $1 == "Rss:" && f != "" {kb[f] += $2}
       END {for (f in kb) if (kb[f] >= 64) print kb[f], f}' "/proc/$1/smaps" | sort -rn
}

# The tune from launch, and memory 3 s after launch with the tune playing
# (the real zigwalk, music.mid beside it) against the baseline window open as
# long. The two alternate.
: >"$results/tune-latency.txt"; : >"$results/rss-tune.txt"; : >"$results/rss-baseline.txt"
: >"$results/split-tune.txt"; : >"$results/split-baseline.txt"
for i in $(seq "$runs"); do
  order="game baseline"; [ $((i % 2)) -eq 0 ] && order="baseline game"
  for who in $order; do
    read -r t0 f0 <<<"$(now_frame)"
    if [ "$who" = game ]; then
      DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb "$build/zigwalk" >/dev/null 2>&1 &
    else
      DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb "$baseline" "$picture" >/dev/null 2>&1 &
    fi
    pid=$!
    sleep 3
    kb=$(rss_kb "$pid")
    rss_split "$pid" >>"$results/split-$([ "$who" = game ] && echo tune || echo baseline).txt"
    [ "$i" -le 2 ] && rss_by_file "$pid" >"$results/files-$who.txt"
    kill "$pid"; wait "$pid" 2>/dev/null || true
    read -r _ f1 <<<"$(now_frame)"
    if [ "$who" = game ]; then
      echo "$kb" >>"$results/rss-tune.txt"
      heard=$(onset_ms "$f0" $((f1 - f0)))
      echo "${heard:-none}" >>"$results/tune-latency.txt"
      # Memory counts only with the tune audible in the last half second.
      [ -n "$(onset_ms $((f1 - rate / 2)) $((rate / 2)))" ] || echo "  (run $i: tune not audible at the memory reading)"
    else
      echo "$kb" >>"$results/rss-baseline.txt"
    fi
    sleep 0.5 # the tune's echo dies away
  done
done
heard_runs=$(grep -cv none "$results/tune-latency.txt" || true)
tune_ms=$(grep -v none "$results/tune-latency.txt" | median)
verdict=$(holds "${tune_ms:-99999}" "<=" 1000)
[ "$heard_runs" -eq "$runs" ] || verdict=MISSED
figure "tune heard after launch" "$(ms "${tune_ms:-0}") ms (heard in $heard_runs of $runs)" "<= 1000 ms" "$verdict"
tune_kb=$(median <"$results/rss-tune.txt")
base_rss_kb=$(median <"$results/rss-baseline.txt")
above=$(awk -v a="$tune_kb" -v b="$base_rss_kb" 'BEGIN {printf "%.1f", (a - b) / 1024}')
figure "memory with the tune playing" "+$above MB (game $(awk -v k="$tune_kb" 'BEGIN {printf "%.1f", k / 1024}') MB, baseline $(awk -v k="$base_rss_kb" 'BEGIN {printf "%.1f", k / 1024}') MB, VmRSS at 3 s)" "<= +8 MB" "$(holds "$above" "<=" 8)"
# Where the difference lies: anonymous memory (the program's own data) and
# pages of files (the program and its libraries), and the files the game
# holds that the baseline does not.
anon_above=$(awk '{print $1}' "$results/split-tune.txt" | median)
anon_base=$(awk '{print $1}' "$results/split-baseline.txt" | median)
file_above=$(awk '{print $2}' "$results/split-tune.txt" | median)
file_base=$(awk '{print $2}' "$results/split-baseline.txt" | median)
awk -v a="$anon_above" -v b="$anon_base" -v f="$file_above" -v g="$file_base" \
  'BEGIN {printf "  (of that: anonymous %+.1f MB, file-backed %+.1f MB)\n", (a - b) / 1024, (f - g) / 1024}'
awk 'NR == FNR {base[$2] = 1; next} !($2 in base) {sum += $1; if (n++ < 8) {name = $2; sub(/.*\//, "", name); list = list sprintf("%s%s %.1f MB", n > 1 ? ", " : "", name, $1 / 1024)}}
     END {printf "  (files only the game holds: %.1f MB; largest: %s)\n", sum / 1024, list}' \
  "$results/files-baseline.txt" "$results/files-game.txt"

# Death beeps in a game without a tune: the game's driver dies on level 1,
# the first time about 2 s after launch, then every half second, and prints
# the wall clock of each touch of white.
deaths=$(( runs < 10 ? 10 : runs ))
DISPLAY=$xvfb_display QT_QPA_PLATFORM=xcb timeout 60 "$scratch/without-music/bench_game" --death-beeps "$deaths" \
  >"$results/death-beeps.out" 2>/dev/null &
pid=$!
# The recording's length is noted every 20 ms while the game runs, so each
# touch is placed by a reading taken just before it: a recorder that fell
# behind or dropped a block on a busy machine moves no later touch.
: >"$results/death-beeps.anchors"
while kill -0 "$pid" 2>/dev/null; do now_frame >>"$results/death-beeps.anchors"; sleep 0.02; done
wait "$pid" || true
sleep 0.5
: >"$results/beep-latency.txt"
for touch in $(value touch-ns "$results/death-beeps.out"); do
  read -r t0 f0 <<<"$(awk -v t="$touch" '$1 <= t {a = $0} END {print a}' "$results/death-beeps.anchors")"
  from=$(( f0 + (touch - t0) * rate / 1000000000 ))
  heard=$(onset_ms "$from" $((rate * 4 / 10)))
  echo "${heard:-none}" >>"$results/beep-latency.txt"
done
counted=$(awk '$1 == "counted" && $2 == 1' "$results/death-beeps.out" | wc -l)
beeped=$(grep -cv none "$results/beep-latency.txt" || true)
beep_ms=$(grep -v none "$results/beep-latency.txt" | median)
first_ms=$(head -n1 "$results/beep-latency.txt")
verdict=$(holds "${beep_ms:-99999}" "<=" 30)
[ "$beeped" -eq "$deaths" ] && [ "$counted" -eq "$deaths" ] || verdict=MISSED
figure "death beep after the touch" "$(ms "${beep_ms:-0}") ms median, first $first_ms ms (heard $beeped of $deaths deaths, counted $counted)" "<= 30 ms" "$verdict"

# Start-up with the server there and the tune beside the game.
alternate xcb "$results/startup-sound-game.txt" "$results/startup-sound-baseline.txt" \
  "$scratch/with-music/bench_game --exit-after-paint" "$baseline --exit-after-paint $picture"
g=$(awk '{print $1}' "$results/startup-sound-game.txt" | median)
b=$(awk '{print $1}' "$results/startup-sound-baseline.txt" | median)
r=$(ratio "$g" "$b")
figure "start-up, tune and sound server" "$r x (game $(ms "$g") ms, baseline $(ms "$b") ms)" "<= 1.25 x" "$(holds "$r" "<=" 1.25)"
echo
echo "Raw results: $results"
