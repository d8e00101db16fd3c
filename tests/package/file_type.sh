#!/usr/bin/env bash
# The desktop knows a level pack: with the package's files in a private data
# folder, as the shared MIME database and the desktop entry's cache see them
# once it is installed (dpkg's triggers run the same update tools), a
# NAME.zigwalk file is application/x-zigwalk-pack by its name, and by its
# first entry's name without one, and the game's desktop entry is the
# default application for it, opening the file it is given.
# file_type.sh <package output dir>
source "$(dirname "$0")/common.sh"
need_tools dpkg-deb xdg-mime mimetype gio update-mime-database update-desktop-database
out=$(realpath "$1")
work=$out/file-type
root=$work/root
unpack "$out" "$root"
data=$work/data
mkdir -p "$data/mime/packages" "$data/applications" "$work/config" "$work/run"
chmod 700 "$work/run"
cp "$root"/usr/share/mime/packages/*.xml "$data/mime/packages/"
cp "$root"/usr/share/applications/zigwalk.desktop "$data/applications/"
XDG_DATA_HOME="$data" update-mime-database "$data/mime"
update-desktop-database "$data/applications"
# A desktop with no desktop environment of its own: xdg-mime's generic way.
in_desktop() {
  env -i PATH=/usr/bin:/bin HOME="$work" XDG_DATA_HOME="$data" XDG_DATA_DIRS=/usr/share \
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" "$@"
}

# A pack as a player makes one, of the installed levels.
check_program=$(find "$root/usr" -name zigwalk-check -type f | head -n 1)
[ -n "$check_program" ] || fail "no zigwalk-check in the package"
env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" \
  "$check_program" --pack "$root/usr/share/zigwalk/levels" "$work/levels.zigwalk" >/dev/null \
  || fail "zigwalk-check --pack did not pack the installed levels"
cp "$work/levels.zigwalk" "$work/no-name-ending"

type=$(in_desktop xdg-mime query filetype "$work/levels.zigwalk")
[ "$type" = application/x-zigwalk-pack ] || fail "xdg-mime query filetype X.zigwalk: $type"
# GLib (the file managers' way) reads the content too: the first entry's name.
content=$(in_desktop gio info -a standard::content-type "$work/no-name-ending" | sed -n 's/.*content-type: //p')
[ "$content" = application/x-zigwalk-pack ] || fail "a pack without its name ending is $content"
default=$(in_desktop xdg-mime query default application/x-zigwalk-pack)
[ "$default" = zigwalk.desktop ] || fail "xdg-mime query default application/x-zigwalk-pack: $default"
grep -q '^Exec=zigwalk %f$' "$data/applications/zigwalk.desktop" || fail "the desktop entry does not open the file"
for size in 16 32 48 64 128 256; do
  [ -f "$root/usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-zigwalk-pack.png" ] \
    || fail "no ${size}x${size} icon for the pack type"
done
echo "a .zigwalk file is a level pack, opened by zigwalk.desktop"
