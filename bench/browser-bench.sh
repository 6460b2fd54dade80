#!/bin/bash
# Browser benchmark: the browser filled with 1,000 recovered 12-megapixel JPEGs
# (browser_bench.exe under Wine, from its showing until the grid is laid out), beside the
# native half-scale decode of the same files (djpeg -scale 1/2 -fast), in one run.
#   bench/browser-bench.sh [BUILD_DIR] [WORK_DIR] [COUNT]
# Prints thumbnails per second of both. Not a test: run it by hand.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
work=${2:-/tmp/kv-browser-bench}
count=${3:-1000}
pictures=20

need() { command -v "$1" >/dev/null 2>&1; }
if ! need djpeg && [ "$(id -u)" = 0 ]; then apt-get install -y libjpeg-turbo-progs >/dev/null 2>&1 || true; fi
for tool in djpeg convert; do
  need "$tool" || { echo "missing $tool (packages libjpeg-turbo-progs, imagemagick)" >&2; exit 2; }
done
[ -x "$build/bin/browser_bench.exe" ] || { echo "missing $build/bin/browser_bench.exe: build the tools first" >&2; exit 2; }

# Twenty 4000 x 3000 pictures of our own, a few MB each like a camera's, linked under
# COUNT names in the pass's folder as a recovery leaves them.
mkdir -p "$work/pictures" "$work/output/DuvidAziz" "$work/output/DezoDozi"
for i in $(seq 1 $pictures); do
  f=$work/pictures/P$(printf '%02d' "$i").JPG
  [ -s "$f" ] && continue
  convert -seed "$i" -size 4000x3000 gradient:"#$(printf '%06x' $((i * 40503 % 16777215)))"-"#204060" \
    -attenuate 0.25 +noise Gaussian -quality 90 "$f"
done
rm -f "$work/output/DuvidAziz/"*
for i in $(seq 1 "$count"); do
  ln "$work/pictures/P$(printf '%02d' $(( (i - 1) % pictures + 1 ))).JPG" \
    "$work/output/DuvidAziz/FILE$(printf '%04d' "$i").JPG"
done
files=("$work/output/DuvidAziz/"*.JPG)

# Both read the files from the page cache alike.
cat "${files[@]}" > /dev/null

start=$(date +%s.%N)
for f in "${files[@]}"; do djpeg -scale 1/2 -fast -outfile /dev/null "$f"; done
native=$(awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }')

line=$("$here/scripts/wine-run" -- "$build/bin/browser_bench.exe" "Z:${work//\//\\}\\output" 2>/dev/null | tr -d '\r')
echo "$line"
printf 'djpeg -scale 1/2 -fast: %d files in %.2f s, %.1f per second\n' "${#files[@]}" "$native" \
  "$(awk -v n="${#files[@]}" -v t="$native" 'BEGIN { print n / t }')"
