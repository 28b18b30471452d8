#!/usr/bin/env bash
# LoadTelemetry on a 60 s and a 60 min recording (GPS 1 Hz, acceleration 10 Hz)
# against exiftool reading the same GPS data. Targets: 60 s in <= 5 ms, 60 min
# in <= 100 ms warm, >= 50x faster than exiftool; the impact search within the
# load <= 5 ms for 60 min.
#   bench/telemetry.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-$(dirname "$0")/../build}
work="$BUILD/bench-telemetry"
mkdir -p "$work"
recgen="$BUILD/tools/recgen/halcyon-recgen"
cmake --build "$BUILD" --target bench_telemetry_load halcyon-recgen >/dev/null

[ -f "$work/60s.mp4" ] || "$recgen" "$work/60s.mp4" --duration 60 --front 640x360 --rear 320x180 >/dev/null
# The hour keeps a tiny picture so that making it stays fast; only the telemetry is read.
[ -f "$work/60min.mp4" ] || "$recgen" "$work/60min.mp4" --duration 3600 --front 64x64 --rear 32x32 --fps 1 --no-audio >/dev/null

. "$(dirname "$0")/timing.sh"

for f in 60s 60min; do
  line=$("$BUILD/bench/bench_telemetry_load" "$work/$f.mp4" 20)
  echo "LoadTelemetry  $line"
  ours=$(echo "$line" | sed -E 's/.*; median ([0-9.]+) ms, best.*/\1/')
  if command -v exiftool >/dev/null; then
    ex=$(ms_of exiftool -ee -n -GPSLatitude "$work/$f.mp4")
    echo "exiftool -ee -n -GPSLatitude $f.mp4: median $ex ms; ratio $(awk -v a="$ex" -v b="$ours" 'BEGIN{printf "%.0f", a / b}')x"
  else
    echo "exiftool not installed (libimage-exiftool-perl)"
  fi
done
