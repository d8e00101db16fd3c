#!/usr/bin/env bash
# What the package installs: the program with its tune in a folder of its
# own and a relative link to it, the desktop entry, the AppStream data, the
# icons, the manual page and the Debian documents.
# contents.sh <package output dir> <source dir>
source "$(dirname "$0")/common.sh"
need_tools dpkg-deb desktop-file-validate appstreamcli convert compare identify man
out=$(realpath "$1")
source_dir=$(realpath "$2")
root=$out/contents-root
unpack "$out" "$root"
deb=$(package_file "$out")
failures=0
check() { # check <what> <command...>
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what" >&2
    failures=$((failures + 1))
  fi
}
relative_link_to() { # a relative link that leads to a regular file in the root
  [ -L "$root/$1" ] && [[ "$(readlink "$root/$1")" != /* ]] && [ -f "$root/$2" ] && [ ! -L "$root/$2" ] \
    && [ "$(readlink -f "$root/$1")" = "$(readlink -f "$root/$2")" ]
}

# The command is a link into the program's own folder, where the tune lies
# beside the program (as a link to the shared data).
check "usr/games/zigwalk leads to usr/lib/zigwalk/zigwalk" relative_link_to usr/games/zigwalk usr/lib/zigwalk/zigwalk
check "the program is executable" test -x "$root/usr/lib/zigwalk/zigwalk"
check "usr/lib/zigwalk/music.mid leads to the tune" relative_link_to usr/lib/zigwalk/music.mid usr/share/zigwalk/music.mid
check "zigwalk-check, a tool, is on every user's PATH" test -x "$root/usr/bin/zigwalk-check"
check "nothing of the checker is left in the games' folder" test ! -e "$root/usr/games/zigwalk-check"
check "the game is the only command in /usr/games" test "$(ls "$root/usr/games")" = zigwalk
check "the checker is the only command in /usr/bin" test "$(ls "$root/usr/bin")" = zigwalk-check
check "the twenty built-in levels are there as pictures" \
  test "$(find "$root/usr/share/zigwalk/levels" -name 'level-*.png' | wc -l)" -eq 20
check "zigwalk-check finds the installed levels clean" \
  env QT_QPA_PLATFORM=offscreen "$root/usr/bin/zigwalk-check" --levels "$root/usr/share/zigwalk/levels"
check "zigwalk-check has its manual page, in the commands section" test -f "$root/usr/share/man/man1/zigwalk-check.1.gz"
for option in levels pack snap table sheet way help; do
  check "zigwalk-check's manual page names --$option" grep -qF -- "\\-\\-$option" <(gzip -dc "$root/usr/share/man/man1/zigwalk-check.1.gz")
done
check "music.mid is a MIDI file" test "$(head -c 4 "$root/usr/share/zigwalk/music.mid")" = MThd

# apt asks for the disk space the files take, each file counted once: a
# link counted as the file it leads to would nearly double it.
installed_kib=$(dpkg-deb -f "$deb" Installed-Size)
files_kib=$(($(find "$root" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }') / 1024))
echo "Installed-Size: $installed_kib KiB; the files: $files_kib KiB"
check "Installed-Size is the size of the files" \
  test "$installed_kib" -ge "$files_kib" -a "$installed_kib" -le $((files_kib + files_kib / 20 + 64))

# Relations: Qt from the linked libraries, the strip's font, the sound recommended.
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Depends: $depends"
echo "Recommends: $recommends"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libarchive13 fonts-liberation2; do
  check "Depends names $package" grep -q "$package" <<<"$depends"
done
check "Recommends names the FluidSynth library" grep -q libfluidsynth3 <<<"$recommends"
check "Recommends names a General MIDI soundfont" grep -q timgm6mb-soundfont <<<"$recommends"
check "Recommends names Qt's Wayland plugin" grep -q qt6-wayland <<<"$recommends"

# The desktop entry and the AppStream data, as installed.
desktop=$root/usr/share/applications/zigwalk.desktop
check "desktop-file-validate accepts the desktop entry" desktop-file-validate "$desktop"
check "the Czech comment" grep -qFx 'Comment[cs]=Veďte ukazatel po černé cestě až do zeleného cíle' "$desktop"
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
check "one AppStream file" test ${#metainfo[@]} -eq 1 -a -f "${metainfo[0]}"
check "appstreamcli accepts the AppStream data" appstreamcli validate --no-net "${metainfo[0]}"
check "the AppStream data names the licence" grep -q '<project_license>MIT</project_license>' "${metainfo[0]}"
check "the AppStream data shows a screenshot" grep -q '<screenshot type="default">' "${metainfo[0]}"

# Icons: the ring of the run pointer, enlarged by whole factors with every
# pixel repeated. ImageMagick's -sample repeats pixels the same way, so a
# smoothed, shifted or wrongly sized icon differs from it.
ring=$out/ring.png
convert "$source_dir/assets/pictures/pointer-run.png" -crop 16x16+8+8 +repage "$ring"
for size in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/zigwalk.png
  if [ ! -f "$icon" ]; then
    check "the ${size}x${size} icon is installed" false
    continue
  fi
  check "the ${size}x${size} icon is ${size} pixels square" test "$(identify -format %wx%h "$icon")" = "${size}x${size}"
  convert "$ring" -sample "${size}x${size}" "$out/expected-$size.png"
  differing=$(compare -metric AE "$icon" "$out/expected-$size.png" null: 2>&1 || true)
  check "the ${size}x${size} icon is the ring enlarged sharp ($differing pixels differ)" test "$differing" = 0
done

# The manual page, compressed, in the games section, and clean for man.
page=$root/usr/share/man/man6/zigwalk.6.gz
check "the manual page is gzip" gzip -t "$page"
warnings=$(man --warnings -l "$page" 2>&1 >/dev/null || true)
check "man reads the page without warnings: $warnings" test -z "$warnings"
check "the manual page names the game" grep -q '^\.TH ZIGWALK 6' <(gzip -dc "$page")
tool_page=$root/usr/share/man/man1/zigwalk-check.1.gz
warnings=$(man --warnings -l "$tool_page" 2>&1 >/dev/null || true)
check "man reads the checker's page without warnings: $warnings" test -z "$warnings"
check "the checker's page is in the commands section" grep -q '^\.TH ZIGWALK-CHECK 1' <(gzip -dc "$tool_page")

# Debian's documents.
check "the copyright file" grep -q '^License: MIT' "$root/usr/share/doc/zigwalk/copyright"
check "the changelog" gzip -t "$root/usr/share/doc/zigwalk/changelog.gz"

[ "$failures" -eq 0 ] || fail "$failures checks failed"
echo "all contents checks passed"
