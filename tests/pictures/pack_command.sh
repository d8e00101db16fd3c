#!/bin/sh
# zigwalk-check --pack writes a pack whole or not at all: a folder that fails
# a rule, an output that cannot be written or a name that is no pack's leave
# nothing behind and an existing pack byte for byte; a written pack is read
# back by --levels, and the same folder packs to the same bytes.
# pack_command.sh <zigwalk-check> <folder of the game's pictures>
check=$1 pictures=$2
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$work" "$XDG_RUNTIME_DIR"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
mkdir "$work/clean" "$work/out"
for n in 01 02 03; do
  "$check" --snap "$pictures/level-$n.png" "$work/clean/level-$n.png" >/dev/null || fail "snap level-$n"
done

"$check" --pack "$work/clean" "$work/out/three.zigwalk" --name "Three" --author "Jana" >/dev/null || fail "a clean folder is not packed"
"$check" --levels "$work/out/three.zigwalk" | grep -q "3 levels, every one can be played" || fail "--levels does not read the pack"
"$check" --pack "$work/clean" "$work/again.zigwalk" --name "Three" --author "Jana" >/dev/null || fail "packed twice"
cmp -s "$work/out/three.zigwalk" "$work/again.zigwalk" || fail "the same folder packs to other bytes"
cp "$work/out/three.zigwalk" "$work/before"

# A folder that breaks a rule (level-03 gone, level-04 there): exit 1, the
# old pack kept, nothing new beside it.
mv "$work/clean/level-03.png" "$work/clean/level-04.png"
"$check" --pack "$work/clean" "$work/out/three.zigwalk" >"$work/said" 2>&1
[ $? -eq 1 ] || fail "a folder with a gap: status not 1"
grep -q "level-03.png: file: missing" "$work/said" || fail "the gap is not named: $(cat "$work/said")"
cmp -s "$work/before" "$work/out/three.zigwalk" || fail "a refused folder changed the old pack"
[ "$(ls -A "$work/out")" = "three.zigwalk" ] || fail "left behind: $(ls -A "$work/out")"
mv "$work/clean/level-04.png" "$work/clean/level-03.png"

# Outputs that cannot be written: status 2 with the reason, nothing left.
for out in "$work/none/x.zigwalk" "$work/out/notapack.zip" "$work/out"; do
  err=$("$check" --pack "$work/clean" "$out" 2>&1 >/dev/null)
  [ $? -eq 2 ] || fail "$out: status not 2"
  [ -n "$err" ] || fail "$out: no reason given"
done
[ "$(ls -A "$work/out")" = "three.zigwalk" ] || fail "left behind: $(ls -A "$work/out")"
echo "packs are written whole or not at all"
