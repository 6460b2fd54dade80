#!/bin/bash
# What the recovery dialog costs over the bare engine: both passes run by the dialog
# (film strip, gauge, labels, message pumping) against scan_drive.exe on one large card
# image, in one run of recovery_bench.exe. Prints both times and their ratio; the goal is
# a dialog at most 10 % slower on a display. Runs on the display in DISPLAY, else on its
# own Xvfb (no window manager, as xvfb-run gives); --headless runs it without one. Not a
# test: run it by hand.
#   bench/recovery-dialog-bench.sh [--headless] [BUILD_DIR] [WORK_DIR] [PICTURES] [SIZE_MB]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
headless=0
if [ "${1:-}" = --headless ]; then
  headless=1
  shift
fi
build=$(cd "${1:-$here/build}" && pwd)
work=${2:-/tmp/kv-dialog-bench}
pictures=${3:-200}
size_mb=${4:-512}
image=$work/card.img

if [ $headless = 1 ]; then
  unset DISPLAY
elif [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$work" "$pictures" "$size_mb"
fi

. "$here/bench/common.sh"

for tool in mkfs.fat mcopy mdel convert; do
  need "$tool" || { echo "missing $tool" >&2; exit 2; }
done
# A prefix of its own, kept between runs: the tests' prefix keeps its drives and driver.
prefix=$work/wine
mkdir -p "$work"
find "$work" -mindepth 1 -maxdepth 1 ! -name wine -exec rm -rf {} +
mkdir -p "$work/pics"
export MTOOLS_SKIP_CHECK=1

make_card_pictures "$work/pics" "$pictures"
echo "making a $size_mb MB card image..."
mkfs.fat -C -F 32 "$image" $((size_mb * 1024)) >/dev/null
mcopy -i "$image" "$work"/pics/*.JPG ::/
# Every 7th picture deleted, as on a card someone wants back.
for f in "$work"/pics/*.JPG; do
  i=$((10#$(basename "$f" .JPG | tr -d P)))
  if [ $((i % 7)) = 0 ]; then mdel -i "$image" "::/$(basename "$f")"; fi
done
cat "$image" > /dev/null

# The prefix's server must be started on this display's graphics driver, with E: known.
wine_run() { "$here/scripts/wine-run" --prefix "$prefix" --drive "E=$image:removable" "$@"; }
wine_run --start
wine_run --stop
wine_run -- "$build/bin/recovery_bench.exe" E: "Z:${work//\//\\}\\out"
wine_run --stop
rm -rf "$work/out"
