#!/usr/bin/env bash
# Lossless incident clip: halcyon-deck-cli export --copy of a 60 s range of a 65 s
# 1080p (12 Mb/s) + 720p (6 Mb/s) recording, the hash record included (SHA-256 of the
# whole recording and of the clip), against `cp` of the clip's bytes plus `sha256sum`
# of the copy. Medians of 7 alternating warm runs; target: ratio <= 1.5.
#   bench/export-copy.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-build}
RECGEN="$BUILD/tools/recgen/halcyon-recgen"
CLI="$BUILD/tools/halcyon-deck-cli"
MEDIA="$BUILD/bench-media"
mkdir -p "$MEDIA"
cmake --build "$BUILD" --target halcyon-deck-cli halcyon-recgen >/dev/null
FILE="$MEDIA/drive-1080p-65s.mp4"
[ -s "$FILE" ] || "$RECGEN" "$FILE" --front 1920x1080 --bitrate 12000 --rear 1280x720 --rear-bitrate 6000 \
  --fps 30 --duration 65 --noisy --preset ultrafast
OUT="$MEDIA/copy-clip"
mkdir -p "$OUT"

cut() { "$CLI" export "$FILE" --from 2 --to 62 --copy -o "$OUT/clip.mp4" >/dev/null; }
copy_and_hash() { cp "$OUT/clip.mp4" "$OUT/plain.mp4" && sha256sum "$OUT/plain.mp4" >/dev/null; }
ms() { local t0 t1; t0=$(date +%s%N); "$@"; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000000 )); }

cut; copy_and_hash   # warm the page cache
ours=() theirs=()
for _ in 1 2 3 4 5 6 7; do
  rm -f "$OUT/clip.mp4" "$OUT/clip.gpx" "$OUT/clip.json"; ours+=($(ms cut))
  rm -f "$OUT/plain.mp4"; theirs+=($(ms copy_and_hash))
done
median() { printf '%s\n' "$@" | sort -n | sed -n 4p; }
a=$(median "${ours[@]}") b=$(median "${theirs[@]}")
size=$(stat -c %s "$OUT/clip.mp4")
awk -v a="$a" -v b="$b" -v s="$size" 'BEGIN {
  printf "lossless cut of 60 s (%.0f MB, hashed) : %5d ms\n", s / 1e6, a
  printf "cp + sha256sum of the same bytes     : %5d ms\n", b
  printf "ratio %.2f (target <= 1.5)\n", a / b
  exit (a / b > 1.5) }'
