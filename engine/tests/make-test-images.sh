#!/bin/sh
# Makes the FAT card images the engine's tests read, with the system's own FAT tools, so
# that our reader is checked against volumes it did not build itself.
#   make-test-images.sh OUTDIR
set -eu
out=$1
mkdir -p "$out"
export MTOOLS_SKIP_CHECK=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fill() { head -c "$2" /dev/zero | tr '\0' "$3" > "$work/$1"; }
fill a 3000 A
fill b 1024 B
fill c 5000 C
fill d 700 D

card() {
  c=$1
  mmd -i "$c" ::/DCIM ::/DCIM/100CANON
  mcopy -i "$c" "$work/a" ::/DCIM/IMG_0001.JPG
  mcopy -i "$c" "$work/d" ::/DCIM/100CANON/IMG_0100.JPG
  mcopy -i "$c" "$work/a" "::/A long file name of forty characters.jpg"
  # A hole before B: C is written into it and on past B, so its chain is fragmented.
  mcopy -i "$c" "$work/d" ::/HOLE.BIN
  mcopy -i "$c" "$work/b" ::/B.TXT
  mdel -i "$c" ::/HOLE.BIN
  mcopy -i "$c" "$work/c" ::/FRAG.JPG
  # Deleted last, so its clusters stay free.
  mcopy -i "$c" "$work/b" ::/GONE.JPG
  mdel -i "$c" ::/GONE.JPG
}

make() {
  img=$out/$1
  blocks=$2
  rm -f "$img.tmp"
  shift 2
  mkfs.fat -C "$@" -i 1234ABCD "$img.tmp" "$blocks" >/dev/null
  card "$img.tmp"
  mv "$img.tmp" "$img"
}

make mkfs12.img 1440 -F 12 -n CARD12
make mkfs16.img 8192 -F 16 -n CARD16 -s 1
make mkfs32.img 34000 -F 32 -n CARD32 -s 1
# Written by the tests that need a drive they may change.
: > "$out/scratch.img"
