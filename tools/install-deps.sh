#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Zigwalk need
# (`install-deps.sh run`: building and running only).
# Only what is missing is installed; safe to run again. Uses sudo when not root.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config
  # toolkit
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # inflating a level picture under our own bound
  zlib1g-dev
  # Qt's Wayland plugin: the game runs natively on a Wayland desktop
  qt6-wayland
  # fonts that carry the Czech letters: the code box's and the strip's
  fonts-dejavu-core fonts-liberation2
  # music: synthesiser and a General MIDI soundfont
  libfluidsynth-dev timgm6mb-soundfont
  # level packs: ZIP archives read in place
  libarchive-dev
)

# What only the tests, the package and the benchmarks need. `install-deps.sh
# run` (make run) leaves them out: building and playing the game need none.
test_packages=(
  # the synthesiser's own command line
  fluidsynth
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # peak memory of a whole run, for the level folder figures
  time
  # real-window tests; the locale sources build a Turkish locale for one of them
  xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick libxcb1-dev locales
  # Wayland tests: a compositor of their own, nested in the tests' Xvfb
  weston
  # the Debian package (make package) and its checks
  dpkg-dev lintian desktop-file-utils appstream man-db
  # the package's file type for level packs, as desktops look it up; the
  # hostile packs of the tests are deflated by hand
  xdg-utils shared-mime-info libfile-mimeinfo-perl libglib2.0-bin zlib1g-dev
  # sound tests and figures: a private sound server, its recorder, and sox
  pulseaudio pulseaudio-utils sox
)
if [ "${1:-}" != "run" ]; then
  packages+=("${test_packages[@]}")
fi

# `install-deps.sh fuzz` adds what make fuzz needs besides building: clang
# and its libFuzzer runtime. make test does not need them.
if [ "${1:-}" = "fuzz" ]; then
  packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq

# dpkg says three lines a package, over a thousand on a fresh machine: they go
# to a log, and the terminal gets a progress line every fifth of the way and
# apt's own warnings. On failure the log's end is shown and the log is kept.
log=$(mktemp "${TMPDIR:-/tmp}/zigwalk-install-deps.XXXXXX")
if ! $sudo apt-get install -y -qq --no-install-recommends -o APT::Status-Fd=1 "${missing[@]}" 2>&1 |
  awk -v logfile="$log" '
    function progress(what, percent,   step) {
      step = int(percent / 20) * 20
      if (step > shown[what]) { printf "  %s: %d %%\n", what, step; shown[what] = step }
    }
    /^dlstatus:/ { split($0, f, ":"); progress("downloading", f[3]); next }
    /^pmstatus:/ { split($0, f, ":"); progress("unpacking and setting up", f[3]); next }
    /^(W|E): / { print > "/dev/stderr" }
    { print >> logfile }'; then
  tail -n 30 "$log" >&2
  echo "Installing failed; apt's whole output is in $log" >&2
  exit 1
fi
rm -f "$log"
echo "Installed ${#missing[@]} packages and what they need."
