#!/bin/bash
# How soon the program's windows show and go on an X display, as a user sees them:
# Korvalo 3 started with the demo card as K: and clicked through by window_clicks.py
# (help box, message box, secure erase's two questions, a recovery, the browser's wait
# box). Prints each time and the worst; the goal is 0.2 s. Without DISPLAY it runs on
# its own Xvfb, with no window manager, as xvfb-run gives. Not a test: run it by hand.
#   bench/window-bench.sh [BUILD_DIR] [WORK_DIR]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
work=${2:-/tmp/kv-window-bench}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$work"
fi

. "$here/bench/common.sh"
for tool in mkfs.vfat mcopy convert python3; do
  need "$tool" || { echo "missing $tool" >&2; exit 2; }
done
[ -x "$build/bin/Korvalo3.exe" ] || { echo "missing $build/bin/Korvalo3.exe: build first" >&2; exit 2; }

# A prefix of its own, kept between runs: the build's keeps its drives and output folder.
prefix=$work/wine
wine_run() { "$here/scripts/wine-run" --prefix "$prefix" "$@"; }
rm -rf "$work/out" "$work/card.img"
mkdir -p "$work/out"
"$here/scripts/make-demo-card" "$work/card.img" >/dev/null

# The prefix's server must be started on this display's graphics driver, with K: known.
card=(--drive "K=$work/card.img:removable")
wine_run "${card[@]}" --start
wine_run --stop
wine_run -- reg add 'HKCU\Software\Brellin\Korvalo 3' /v RecoveryFolder \
  /d "Z:$(echo "$work/out/" | tr / '\\')" /f >/dev/null 2>&1

wine_run "${card[@]}" -- "$build/bin/Korvalo3.exe" >/dev/null 2>&1 &
program=$!
trap 'kill $program 2>/dev/null || true; wine_run --stop' EXIT
python3 "$here/bench/window_clicks.py"
