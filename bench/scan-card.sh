#!/usr/bin/env bash
# Card scan against find on the same tree: 10,000 sparse recordings (> 1 KiB)
# over subfolders of the four category folders. Target: scan <= 2 x find.
#   bench/scan-card.sh [BUILD_DIR] [RECORDINGS]
set -euo pipefail
BUILD=${1:-$(dirname "$0")/../build}
COUNT=${2:-10000}
RUNS=7
BENCH=$BUILD/bench/bench_scan
CLI=$BUILD/tools/halcyon-deck-cli
[ -x "$BENCH" ] || { echo "build first: $BENCH missing" >&2; exit 1; }

CARD=$(mktemp -d "${TMPDIR:-/tmp}/halcyon-bench-card.XXXXXX")
trap 'rm -rf "$CARD"' EXIT

# Camera-like names, 25 subfolders (days) per category, spread evenly.
folders=(INFINITE EVENT MANUAL MOTION)
markers=(I E B M)
(
  cd "$CARD"
  for c in 0 1 2 3; do
    for d in $(seq -w 1 25); do mkdir -p "${folders[$c]}/201203$d"; done
  done
  for ((i = 0; i < COUNT; i++)); do
    c=$((i % 4)); d=$(( (i / 4) % 25 + 1 )); s=$((i / 100))
    printf '%s/201203%02d/201203%02d_%06d_%s01.mp4\n' "${folders[$c]}" "$d" "$d" "$s" "${markers[$c]}"
  done | xargs truncate -s 3M
)
echo "card: $COUNT recordings in $CARD"

ms_now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Warm the cache once, then time each tool RUNS times.
find "$CARD" -type f -name '*.mp4' -size +1k >/dev/null
found=$(find "$CARD" -type f -name '*.mp4' -size +1k | wc -l)
find_ms=$(for ((r = 0; r < RUNS; r++)); do
  t0=$(ms_now); find "$CARD" -type f -name '*.mp4' -size +1k >/dev/null; t1=$(ms_now)
  awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.2f\n", (b - a) / 1e6}'
done | median)

scan_line=$("$BENCH" "$CARD" "$RUNS")
scan_ms=$(sed -E 's/.*median_ms=([0-9.]+).*/\1/' <<<"$scan_line")

cli_ms=$(for ((r = 0; r < RUNS; r++)); do
  t0=$(ms_now); "$CLI" scan "$CARD" >/dev/null; t1=$(ms_now)
  awk -v a="$t0" -v b="$t1" 'BEGIN {printf "%.2f\n", (b - a) / 1e6}'
done | median)

echo "find:              $found files, median ${find_ms} ms (process included)"
echo "ScanCard:          $scan_line"
echo "cli scan (+JSON):  median ${cli_ms} ms (process start and JSON output included)"
awk -v s="$scan_ms" -v f="$find_ms" -v c="$cli_ms" 'BEGIN {
  printf "ratio ScanCard/find = %.2f (target <= 2)\n", s / f
  printf "ratio cli/find      = %.2f\n", c / f
  exit (s / f <= 2) ? 0 : 1 }'
