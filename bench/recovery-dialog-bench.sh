#!/bin/bash
# What the recovery dialog costs over the bare engine: both passes run by the dialog
# (film strip, gauge, labels, message pumping) against scan_drive.exe on one large card
# image, in one run of recovery_bench.exe. Prints both times and their ratio; the goal is
# a dialog at most 10 % slower. Not a test: run it by hand.
#   bench/recovery-dialog-bench.sh [BUILD_DIR] [WORK_DIR] [PICTURES] [SIZE_MB]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
work=${2:-/tmp/kv-dialog-bench}
pictures=${3:-200}
size_mb=${4:-512}
image=$work/card.img

for tool in mkfs.fat mcopy mdel convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool" >&2; exit 2; }
done
rm -rf "$work"
mkdir -p "$work/pics"
export MTOOLS_SKIP_CHECK=1

# Pictures of our own: seeded noise over a gradient.
echo "making $pictures pictures..."
for i in $(seq 1 "$pictures"); do
  convert -seed "$i" -size 1024x768 gradient:"#$(printf '%06x' $((i * 40503 % 16777215)))"-black \
    -attenuate 0.6 +noise Random -quality 88 "$work/pics/P$(printf '%04d' "$i").JPG"
done
echo "making a $size_mb MB card image..."
mkfs.fat -C -F 32 "$image" $((size_mb * 1024)) >/dev/null
mcopy -i "$image" "$work"/pics/*.JPG ::/
# Every 7th picture deleted, as on a card someone wants back.
for f in "$work"/pics/*.JPG; do
  i=$((10#$(basename "$f" .JPG | tr -d P)))
  if [ $((i % 7)) = 0 ]; then mdel -i "$image" "::/$(basename "$f")"; fi
done
cat "$image" > /dev/null

"$here/scripts/wine-run" --drive "E=$image:removable" -- "$build/bin/recovery_bench.exe" E: "Z:${work//\//\\}\\out"
rm -rf "$work/out"
