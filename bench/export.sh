#!/usr/bin/env bash
# Incident clip export: 20 s of the 1080p (12 Mb/s) + 720p (6 Mb/s) noisy recording,
# side by side at 1080 lines (3840x1080), x264's fast presets, against real time.
# Target: wall time <= 20 s (ratio <= 1) on the 2-core machine. Also prints the CPU
# seconds and, for comparison, ffmpeg doing the same layout with the same encoder settings.
#   bench/export.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-build}
RECGEN="$BUILD/tools/recgen/halcyon-recgen"
CLI="$BUILD/tools/halcyon-deck-cli"
MEDIA="$BUILD/bench-media"
mkdir -p "$MEDIA"
cmake --build "$BUILD" --target halcyon-deck-cli halcyon-recgen >/dev/null
FILE="$MEDIA/drive-1080p.mp4"
[ -s "$FILE" ] || "$RECGEN" "$FILE" --front 1920x1080 --bitrate 12000 --rear 1280x720 --rear-bitrate 6000 \
  --fps 30 --duration 20 --noisy --preset veryfast

timed() { # label, command... -> wall and CPU seconds
  local label=$1; shift
  local TIMEFORMAT='%3R %3U %3S' t
  t=$( { time "$@" >/dev/null 2>"$MEDIA/export.err"; } 2>&1 ) || { cat "$MEDIA/export.err" >&2; return 1; }
  awk -v l="$label" '{printf "%-34s: %6.2f s wall (%.2fx real time), %6.2f s CPU\n", l, $1, $1 / 20, $2 + $3}' <<<"$t"
}

for preset in superfast veryfast; do
  timed "export side by side, $preset" "$CLI" export "$FILE" --from 0 --to 20 --layout side-by-side --height 1080 \
    --preset "$preset" -o "$MEDIA/clip-$preset.mp4"
done
ffprobe -v error -show_entries stream=codec_name,width,height:format=duration -of compact "$MEDIA/clip-veryfast.mp4"
timed "ffmpeg same layout, veryfast" ffmpeg -nostdin -y -i "$FILE" -filter_complex \
  "[0:v:1]scale=1920:1080[r];[0:v:0][r]hstack" -c:v libx264 -preset veryfast -crf 23 -c:a aac \
  -movflags +faststart "$MEDIA/clip-ffmpeg.mp4"
