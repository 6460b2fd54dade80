#!/usr/bin/env bash
# Securely erases cards behind a mapped drive letter, as the program's erase command does,
# and reads each back with the system's FAT tools: it must still be a sound FAT volume,
# keep its label and hold no file. First the demo card (FAT16), then a FAT32 card, as most
# memory cards of today are.
#   erase_check.sh BUILD_DIR LETTER
set -euo pipefail
build=$1
letter=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
card=$build/testdata/erase-demo.img
export MTOOLS_SKIP_CHECK=1
fail() { echo "FAIL: $*" >&2; exit 1; }

# Erases the card at $card, which holds $2 and is labelled $1, and checks what is left.
erase_and_check() {
  local label=$1 file=$2
  # Checks read text through here-strings: with pipefail, "echo | grep -q" fails when grep
  # stops reading before echo has written everything.
  local before out after
  before=$(mdir -i "$card" -/ -b ::/)
  grep -q "$file" <<< "$before" || fail "the card holds no $file to erase: $before"

  out=$("$root/scripts/wine-run" --prefix "$build/wine" --drive "$letter=$card:removable" -- \
        "$build/bin/scan_drive.exe" "$letter:" --erase | tr -d '\r')
  tail -n 3 <<< "$out"
  grep -qx 'finished 3' <<< "$out" || fail "the erase did not finish"
  grep -qx 'ok' <<< "$out" || fail "the erase failed"

  fsck.vfat -n "$card" || fail "fsck.vfat finds the erased $label card damaged"
  after=$(mdir -i "$card" ::/) || fail "mdir cannot read the erased card"
  grep -q '^No files' <<< "$after" || fail "the erased card still lists: $after"
  grep -q "Volume in drive : is $label" <<< "$after" || fail "the card lost its label: $after"
  echo "erase_check: the erased $label card is an empty FAT volume with its label"
}

mkdir -p "$build/testdata"
"$root/scripts/make-demo-card" "$card" >/dev/null
erase_and_check KORVALODEMO IMG_0001.JPG

# The smallest FAT32 volume of one-sector clusters; its information sector counts the
# free clusters, which the erase must set right.
rm -f "$card"
truncate -s 40M "$card"
mkfs.vfat -F 32 -s 1 -n KORVALO32 "$card" >/dev/null
head -c 300000 /dev/urandom > "$build/testdata/erase-photo.jpg"
mcopy -i "$card" "$build/testdata/erase-photo.jpg" ::/DSC00001.JPG
erase_and_check KORVALO32 DSC00001.JPG
