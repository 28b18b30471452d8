#!/usr/bin/env bash
# The map pop-up with its browser engine (offscreen platform, no tiles, no
# network): time from the map command to a drawn track, the CPU the map adds
# while a recording's fixes arrive once a second (target <= 5 % of the viewer's
# CPU playing the 1080p + 720p recording of mainwindow.sh), and the memory of
# the browser's processes.
#   bench/map.sh BUILD_DIR
set -euo pipefail
BUILD=${1:-build}
BIN="$BUILD/bench/halcyon-bench-map"
export QT_QPA_PLATFORM=offscreen HALCYON_CARD_ROOTS=
SECONDS_RUN=20

echo "== map: map command -> drawn track"
"$BIN" track 2>/dev/null
echo "== map: CPU over ${SECONDS_RUN} s of 1 Hz fixes, pop-up shown"
idle=$("$BIN" idle $SECONDS_RUN 2>/dev/null | awk '/CPU/ {print $2}')
out=$("$BIN" feed $SECONDS_RUN 2>/dev/null)
echo "$out"
map=$(awk '/CPU/ {print $2}' <<<"$out")
echo "idle baseline: $idle s CPU"

# The viewer's own CPU on the recording of mainwindow.sh (made there when missing).
MEDIA="$BUILD/bench-media"
CARD="$MEDIA/mainwin-card"
if [ -x "$BUILD/bench/halcyon-bench-mainwin" ] && [ -d "$CARD" ]; then
  TIMEFORMAT='%3U %3S'
  t=$( { time "$BUILD/bench/halcyon-bench-mainwin" play "$CARD" >/dev/null 2>&1; } 2>&1 )
  viewer=$(awk '{printf "%.2f", $1 + $2}' <<<"$t")
  echo "viewer playing 20 s: $viewer s CPU"
  awk -v m="$map" -v i="$idle" -v v="$viewer" \
    'BEGIN {printf "map adds     : %.1f %% of the viewer (target <= 5 %%)\n", (m - i) / v * 100}'
else
  echo "(run bench/mainwindow.sh first for the viewer's CPU figure)"
fi
