#!/bin/bash
# Side-by-side recovery benchmark on one card image: a plain sequential read, the
# DezoDozi pass through scan_drive.exe under Wine, photorec and foremost.
#   bench/recovery-bench.sh [BUILD_DIR] [WORK_DIR] [PICTURES]
# Prints MB/s, the ratio to the plain read, peak memory and how many of the original
# pictures each tool gave back bit for bit, then the speed of the DezoDozi pass against
# photorec and against foremost -q, all from the one run. Not a test: run it by hand.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
work=${2:-/tmp/kv-bench}
pictures=${3:-300}
image=$work/card.img
size_kb=$((1100 * 1024))

. "$here/bench/common.sh"
for pkg in testdisk:photorec foremost:foremost; do
  if ! need "${pkg#*:}" && [ "$(id -u)" = 0 ]; then apt-get install -y "${pkg%%:*}" >/dev/null 2>&1 || true; fi
done
for tool in mkfs.fat mcopy mdel convert sha256sum /usr/bin/time; do
  need "$tool" || { echo "missing $tool" >&2; exit 2; }
done

rm -rf "$work"
mkdir -p "$work/pics" "$work/filler"
export MTOOLS_SKIP_CHECK=1

make_card_pictures "$work/pics" "$pictures"
head -c 300000 /dev/urandom > "$work/filler/hole"

echo "making the card image..."
mkfs.fat -C -F 32 -i 5EED0001 "$image" "$size_kb" >/dev/null
n=0
for f in "$work"/pics/*.JPG; do
  n=$((n + 1))
  # Every 10th picture goes after a freed hole it cannot fit, so it is fragmented.
  if [ $((n % 10)) = 0 ]; then
    mcopy -i "$image" "$work/filler/hole" "::/H$n.BIN"
    mcopy -i "$image" "$work/filler/hole" "::/K$n.BIN"
    mdel -i "$image" "::/H$n.BIN"
  fi
  mcopy -i "$image" "$f" "::/$(basename "$f")"
done
# Every 7th picture deleted.
for f in "$work"/pics/*.JPG; do
  i=$((10#$(basename "$f" .JPG | tr -d P)))
  [ $((i % 7)) = 0 ] && mdel -i "$image" "::/$(basename "$f")"
done
sha256sum "$work"/pics/*.JPG | cut -d' ' -f1 | sort > "$work/originals.sha"
mb=$(($(stat -c %s "$image") / 1048576))

# All readers see the image from the page cache alike: read it once first.
cat "$image" > /dev/null

measure() {  # name, output dir, command...
  local name=$1 out=$2
  shift 2
  rm -rf "$out"
  mkdir -p "$out"
  /usr/bin/time -f "%e %M" -o "$work/$name.time" "$@" > "$work/$name.log" 2>&1 || true
  local seconds kb found
  read -r seconds kb < <(tail -1 "$work/$name.time")
  found=$(find "$out" -type f -exec sha256sum {} + 2>/dev/null | cut -d' ' -f1 | sort -u |
          comm -12 - "$work/originals.sha" | wc -l)
  echo "$name $seconds $kb $found"
}

# Wine's server starts and takes the drive letter in before anything is timed.
"$here/scripts/wine-run" --drive "E=$image:removable" -- "$build/bin/scan_drive.exe" >/dev/null 2>&1 || true

results=()
results+=("$(measure plain_read "$work/out-plain" dd if="$image" of=/dev/null bs=1M status=none)")
results+=("$(measure ScanDrive "$work/out-kv" "$here/scripts/wine-run" --drive "E=$image:removable" -- \
  "$build/bin/scan_drive.exe" E: "Z:${work//\//\\}\\out-kv" --types JPG --pass scan)")
# The carving alone: the correction library starts one thread per carved file, which the
# peers do not pay for.
results+=("$(measure carve_only "$work/out-kv3" "$here/scripts/wine-run" --drive "E=$image:removable" -- \
  "$build/bin/scan_drive.exe" E: "Z:${work//\//\\}\\out-kv3" --types JPG --pass scan --no-correction)")
# Both passes, as the recovery dialog runs them: fragmented hits are saved again by their chain.
results+=("$(measure both_passes "$work/out-kv2" "$here/scripts/wine-run" --drive "E=$image:removable" -- \
  "$build/bin/scan_drive.exe" E: "Z:${work//\//\\}\\out-kv2" --types JPG --pass both)")
if need photorec; then
  # photorec writes its log into the folder it runs in: the work folder, not the caller's.
  results+=("$(cd "$work" && measure photorec "$work/out-photorec" photorec /log /d "$work/out-photorec/r" /cmd \
    "$image" options,paranoid,fileopt,everything,disable,jpg,enable,search)")
fi
if need foremost; then
  results+=("$(measure foremost "$work/out-foremost" foremost -q -t jpg -i "$image" -o "$work/out-foremost/r")")
fi

plain=$(echo "${results[0]}" | awk '{print $2}')
echo
echo "image: $mb MB, $pictures pictures (every 7th deleted, every 10th fragmented)"
printf '%-12s %10s %8s %12s %10s\n' tool MB/s ratio peak_MB bit_exact
for r in "${results[@]}"; do
  read -r name seconds kb found <<< "$r"
  awk -v n="$name" -v s="$seconds" -v k="$kb" -v f="$found" -v p="$plain" -v mb="$mb" -v total="$pictures" \
    'BEGIN { if (s <= 0) s = 0.001; if (p <= 0) p = 0.001;
             printf "%-12s %10.1f %7.0f%% %12.1f %5d/%d\n", n, mb / s, 100 * p / s, k / 1024, (n == "plain_read" ? 0 : f), total }'
done

# The carving pass against each peer: how many times faster it is (above 1) or slower.
seconds_of() {
  local r n s
  for r in "${results[@]}"; do
    read -r n s _ <<< "$r"
    if [ "$n" = "$1" ]; then echo "$s"; fi
  done
}
echo
for ours in ScanDrive carve_only; do
  scan=$(seconds_of "$ours")
  for peer in photorec foremost; do
    peer_seconds=$(seconds_of "$peer")
    [ -n "$peer_seconds" ] || { echo "$ours vs $peer: $peer not installed"; continue; }
    label=$peer; [ "$peer" = foremost ] && label="foremost -q"
    awk -v p="$peer_seconds" -v s="$scan" -v l="$label" -v o="$ours" \
      'BEGIN { if (s <= 0) s = 0.001; printf "%s vs %s: %.2fx (%.2f s against %.2f s)\n", o, l, p / s, s, p }'
  done
done
