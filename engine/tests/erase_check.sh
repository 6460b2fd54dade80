#!/usr/bin/env bash
# Securely erases cards behind a mapped drive letter, as the program's erase command does,
# and reads each back with the system's FAT tools: it must still be a sound FAT volume,
# keep its label and hold no file. First the demo card (FAT16), then cards of each FAT
# type with either usual media byte, as memory cards of today carry.
#   erase_check.sh BUILD_DIR LETTER
set -euo pipefail
build=$1
letter=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
card=$build/testdata/erase-demo.img
fail() { echo "FAIL: $*" >&2; exit 1; }

# Erases the card at $card, which holds $2 and is labelled $1, and checks what is left.
# The card is read with every check of mtools on: one of them is that the first FAT entry
# repeats the boot sector's media byte.
erase_and_check() {
  local label=$1 file=$2
  # Checks read text through here-strings: with pipefail, "echo | grep -q" fails when grep
  # stops reading before echo has written everything.
  local before out after
  before=$(mdir -i "$card" -/ -b ::/) || fail "mdir cannot read the $label card before the erase"
  grep -q "$file" <<< "$before" || fail "the card holds no $file to erase: $before"

  out=$("$root/scripts/wine-run" --prefix "$build/wine" --drive "$letter=$card:removable" -- \
        "$build/bin/scan_drive.exe" "$letter:" --erase | tr -d '\r')
  tail -n 3 <<< "$out"
  grep -qx 'finished 3' <<< "$out" || fail "the erase did not finish"
  grep -qx 'ok' <<< "$out" || fail "the erase failed"

  fsck.vfat -n "$card" || fail "fsck.vfat finds the erased $label card damaged"
  after=$(mdir -i "$card" ::/ 2>&1) || fail "mdir refuses the erased $label card: $after"
  grep -q '^No files' <<< "$after" || fail "the erased card still lists: $after"
  grep -q "Volume in drive : is $label" <<< "$after" || fail "the card lost its label: $after"
  echo "erase_check: the erased $label card is an empty FAT volume with its label"
}

mkdir -p "$build/testdata"
MTOOLS_SKIP_CHECK=1 "$root/scripts/make-demo-card" "$card" >/dev/null
erase_and_check KORVALODEMO IMG_0001.JPG

# FAT type, media byte, size, label, mkfs options: the smallest FAT32 volume of one-sector
# clusters, whose information sector counts the free clusters the erase must set right;
# FAT12 with F8 as mkfs and most cards write it; FAT16 and FAT32 with F0.
head -c 300000 /dev/urandom > "$build/testdata/erase-photo.jpg"
while read -r fat media size label options; do
  rm -f "$card"
  truncate -s "$size" "$card"
  # shellcheck disable=SC2086
  mkfs.vfat -F "$fat" -M "$media" $options -n "$label" "$card" >/dev/null
  MTOOLS_SKIP_CHECK=1 mcopy -i "$card" "$build/testdata/erase-photo.jpg" ::/DSC00001.JPG
  erase_and_check "$label" DSC00001.JPG
done <<'CARDS'
32 0xF8 40M KORVALO32 -s 1
12 0xF8 4M KORVALO12
16 0xF0 16M KORVALO16
32 0xF0 40M KORVALOF0 -s 1
CARDS

# A card that takes no write (write-protected; here an image the system will not let us
# write) is no erased card: the erase must say it failed, and the card stays as it was.
rm -f "$card"
truncate -s 4M "$card"
mkfs.vfat -F 12 -n KORVALORO "$card" >/dev/null
MTOOLS_SKIP_CHECK=1 mcopy -i "$card" "$build/testdata/erase-photo.jpg" ::/DSC00001.JPG
protect() { chmod a-w "$card"; [ -w "$card" ] && chattr +i "$card"; [ ! -w "$card" ]; }
unprotect() { chattr -i "$card" 2>/dev/null || true; chmod u+w "$card"; }
trap unprotect EXIT
protect || fail "the card image cannot be made read-only"
before=$(sha256sum < "$card")
status=0
out=$("$root/scripts/wine-run" --prefix "$build/wine" --drive "$letter=$card:removable" -- \
      "$build/bin/scan_drive.exe" "$letter:" --erase | tr -d '\r') || status=$?
tail -n 3 <<< "$out"
[ "$status" -ne 0 ] || fail "the erase of a read-only card exits with 0"
grep -q '^failed code=' <<< "$out" || fail "the erase of a read-only card does not say it failed"
grep -q '^write_error ' <<< "$out" || fail "the erase of a read-only card reports no write error"
[ "$(sha256sum < "$card")" = "$before" ] || fail "the read-only card changed"
echo "erase_check: the erase of a read-only card fails and leaves it as it was"
