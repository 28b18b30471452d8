#!/usr/bin/env bash
# Recovering a recording cut by power loss (60 s, 1080p 12 Mb/s + 720p 6 Mb/s,
# AAC, telemetry; cut at 90 %) with `halcyon-deck-cli recover`, against
# `cat FILE > /dev/null` on the same cut file, both warm, median of 5.
# Target: recovery <= 3x the time of reading the file once.
#   bench/recover.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-$(dirname "$0")/../build}
media="$BUILD/bench-media"
work="$BUILD/bench-recover"
mkdir -p "$media" "$work"
recgen="$BUILD/tools/recgen/halcyon-recgen"
cli="$BUILD/tools/halcyon-deck-cli"
cmake --build "$BUILD" --target halcyon-deck-cli halcyon-recgen >/dev/null

hd=(--front 1920x1080 --rear 1280x720 --bitrate 12000 --rear-bitrate 6000 --noisy)
[ -f "$media/hd-60s.mp4" ] || "$recgen" "$media/hd-60s.mp4" --duration 60 "${hd[@]}" >/dev/null
[ -f "$media/hd-5s.mp4" ] || "$recgen" "$media/hd-5s.mp4" --duration 5 --start 20261209060000 "${hd[@]}" >/dev/null
size=$(stat -c %s "$media/hd-60s.mp4")
head -c $((size * 9 / 10)) "$media/hd-60s.mp4" >"$work/cut.mp4"

. "$(dirname "$0")/timing.sh"
read_file() { cat "$1" >/dev/null; }
recover() { "$cli" recover "$work/cut.mp4" --reference "$media/hd-5s.mp4" -o "$work/recovered.mp4"; }

# Both sides must do their work: the recovery has to find the pictures.
summary=$(recover)
pictures=$(echo "$summary" | grep -m1 '"samples"' | tr -dc 0-9)
[ "${pictures:-0}" -gt 1000 ] || { echo "recovery found only ${pictures:-0} front pictures" >&2; exit 1; }
ours=$(ms_of recover)
cat_ms=$(ms_of read_file "$work/cut.mp4")
echo "recover 60 s 1080p+720p cut at 90 % ($((size * 9 / 10 / 1048576)) MiB, $pictures front pictures): median $ours ms"
echo "cat FILE > /dev/null: median $cat_ms ms; ratio $(awk -v a="$ours" -v b="$cat_ms" 'BEGIN{printf "%.2f", a / b}') (target <= 3)"
awk -v a="$ours" -v b="$cat_ms" 'BEGIN{exit !(a <= 3 * b)}'
