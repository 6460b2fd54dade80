#!/usr/bin/env bash
# Securely erases the demo card behind a mapped drive letter, as the program's erase
# command does, and reads the card back with the system's FAT tools: it must still be a
# sound FAT volume, and hold no file.
#   erase_check.sh BUILD_DIR LETTER
set -euo pipefail
build=$1
letter=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
card=$build/testdata/erase-demo.img
export MTOOLS_SKIP_CHECK=1
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$build/testdata"
"$root/scripts/make-demo-card" "$card" >/dev/null
# Checks read text through here-strings: with pipefail, "echo | grep -q" fails when grep
# stops reading before echo has written everything.
before=$(mdir -i "$card" -/ -b ::/)
grep -q 'IMG_0001.JPG' <<< "$before" || fail "the demo card holds no photo to erase: $before"

out=$("$root/scripts/wine-run" --prefix "$build/wine" --drive "$letter=$card:removable" -- \
      "$build/bin/scan_drive.exe" "$letter:" --erase | tr -d '\r')
tail -n 3 <<< "$out"
grep -qx 'finished 3' <<< "$out" || fail "the erase did not finish"
grep -qx 'ok' <<< "$out" || fail "the erase failed"

fsck.vfat -n "$card" || fail "fsck.vfat finds the erased card damaged"
after=$(mdir -i "$card" ::/) || fail "mdir cannot read the erased card"
grep -q '^No files' <<< "$after" || fail "the erased card still lists: $after"
grep -q 'Volume in drive : is KORVALODEMO' <<< "$after" || fail "the card lost its label: $after"
echo "erase_check: the erased card is an empty FAT volume with its label"
