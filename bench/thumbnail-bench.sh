#!/bin/bash
# Thumbnail benchmark: CreateThumbnail of Dorvane.dll (through thumbnail.exe under Wine,
# timed around the library call) over twenty 12-megapixel JPEGs, against the native
# half-scale decode of the same files (djpeg -scale 1/2 -fast).
#   bench/thumbnail-bench.sh [BUILD_DIR] [WORK_DIR]
# Prints both times and their ratio (goal: 2 or less). Not a test: run it by hand.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
work=${2:-/tmp/kv-thumbnail-bench}
count=20

. "$here/bench/common.sh"
need_jpeg_tools
[ -x "$build/bin/thumbnail.exe" ] || { echo "missing $build/bin/thumbnail.exe: build the tools first" >&2; exit 2; }

mkdir -p "$work"
make_camera_pictures "$work" $count
files=("$work"/P*.JPG)

# Both read the files from the page cache alike.
cat "${files[@]}" > /dev/null

native=$(djpeg_half_scale_seconds "${files[@]}")

windows=()
for f in "${files[@]}"; do windows+=("Z:${f//\//\\}"); done
line=$("$here/scripts/wine-run" -- "$build/bin/thumbnail.exe" --time 160 120 "${windows[@]}" 2>/dev/null | tr -d '\r')
echo "CreateThumbnail: $line"
ours=$(echo "$line" | sed -n 's/.* in \([0-9.]*\) s$/\1/p')
[ -n "$ours" ] || { echo "thumbnail.exe gave no time" >&2; exit 1; }

printf 'djpeg -scale 1/2 -fast: %d files in %.3f s\n' "${#files[@]}" "$native"
awk -v a="$ours" -v b="$native" 'BEGIN { printf "ratio CreateThumbnail / native half-scale decode: %.2f (goal 2 or less)\n", a / b }'
