# Shell lines the benchmarks share; sourced, not run.

need() { command -v "$1" >/dev/null 2>&1; }

# djpeg (installed when running as root and missing) and convert, or exit 2.
need_jpeg_tools() {
  if ! need djpeg && [ "$(id -u)" = 0 ]; then apt-get install -y libjpeg-turbo-progs >/dev/null 2>&1 || true; fi
  local tool
  for tool in djpeg convert; do
    need "$tool" || { echo "missing $tool (packages libjpeg-turbo-progs, imagemagick)" >&2; exit 2; }
  done
}

# COUNT 4000 x 3000 pictures of our own in DIR, a few MB each like a camera's: a
# gradient under noise. Pictures already there are kept.
make_camera_pictures() {  # dir, count
  local i f
  for i in $(seq 1 "$2"); do
    f=$1/P$(printf '%02d' "$i").JPG
    [ -s "$f" ] && continue
    convert -seed "$i" -size 4000x3000 gradient:"#$(printf '%06x' $((i * 40503 % 16777215)))"-"#204060" \
      -attenuate 0.25 +noise Gaussian -quality 90 "$f"
  done
}

# COUNT 1024 x 768 pictures of our own in DIR, a few hundred KB each: seeded noise
# over a gradient.
make_card_pictures() {  # dir, count
  local i
  echo "making $2 pictures..."
  for i in $(seq 1 "$2"); do
    convert -seed "$i" -size 1024x768 gradient:"#$(printf '%06x' $((i * 40503 % 16777215)))"-black \
      -attenuate 0.6 +noise Random -quality 88 "$1/P$(printf '%04d' "$i").JPG"
  done
}

# Seconds the native half-scale decode (djpeg -scale 1/2 -fast) takes over the files.
djpeg_half_scale_seconds() {  # files...
  local start f
  start=$(date +%s.%N)
  for f in "$@"; do djpeg -scale 1/2 -fast -outfile /dev/null "$f"; done
  awk -v a="$(date +%s.%N)" -v b="$start" 'BEGIN { print a - b }'
}
