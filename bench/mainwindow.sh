#!/usr/bin/env bash
# The main window with the real engine on the 1080p + 720p recording of the
# engine benchmark: double-click to first picture (target <= 300 ms) and the viewer's CPU against the
# engine alone (target: the window adds <= 10 %); switching recordings while one
# plays (click -> both new pictures, everything counted) and the longest stall of
# the event loop during switches and the stop command (target <= 50 ms). Runs on
# the offscreen platform.
#   bench/mainwindow.sh BUILD_DIR
set -euo pipefail
BUILD=${1:-build}
RECGEN="$BUILD/tools/recgen/halcyon-recgen"
MEDIA="$BUILD/bench-media"
CARD="$MEDIA/mainwin-card"
FILE="$MEDIA/drive-1080p.mp4"
mkdir -p "$MEDIA"
[ -s "$FILE" ] || "$RECGEN" "$FILE" --front 1920x1080 --bitrate 12000 --rear 1280x720 --rear-bitrate 6000 \
  --fps 30 --duration 20 --noisy --preset veryfast
mkdir -p "$CARD/INFINITE/a" "$CARD/EVENT"
for name in 20140101_120000_I01 20140101_120100_I01; do
  ln -f "$FILE" "$CARD/INFINITE/a/$name.mp4" 2>/dev/null || cp -f "$FILE" "$CARD/INFINITE/a/$name.mp4"
done
export QT_QPA_PLATFORM=offscreen HALCYON_CARD_ROOTS=

cpu() { # command... -> user+sys CPU seconds
  local TIMEFORMAT='%3U %3S' t
  t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  awk '{printf "%.2f", $1 + $2}' <<<"$t"
}

echo "== main window: double-click -> first picture (warm)"
"$BUILD/bench/halcyon-bench-mainwin" first-picture "$CARD" 9 2>/dev/null
echo "== main window: switching recordings while one plays, and stopping (warm)"
"$BUILD/bench/halcyon-bench-mainwin" switch "$CARD" 9 2>/dev/null
echo "== main window: CPU while playing 20 s of 1080p + 720p"
eng=$(cpu "$BUILD/bench/halcyon-bench-engine" play "$FILE" 1.0)
win=$(cpu "$BUILD/bench/halcyon-bench-mainwin" play "$CARD")
echo "engine alone : $eng s CPU"
echo "viewer       : $win s CPU"
awk -v e="$eng" -v w="$win" 'BEGIN {printf "window adds  : %.1f %% (target <= 10 %%)\n", (w / e - 1) * 100}'
