#!/usr/bin/env bash
# Recovering a recording cut by power loss (60 s, 1080p 12 Mb/s + 720p 6 Mb/s,
# AAC, telemetry; cut at 90 %), against `cat FILE > /dev/null` on the same cut
# file, all warm, median of 5. Target: the recovery's pass over the cut file
# <= 3x the time of reading the file once.
#   bench/recover.sh [BUILD_DIR]
#
# What each figure holds:
# - read: RecordingRecovery::Recover in-process (halcyon-bench-recover) from its
#   start to the end of its walk over the cut file: the reference's index, the
#   check of the first 16 MB, the walk over all sample headers. This is the work
#   that compares with cat (one pass over the file) and the figure the target
#   is checked on. The key picture of each camera is decoded meanwhile on a
#   second thread (the new file is kept only when they decode); that decoding is
#   in this figure only where it competes for a core.
# - total: the whole Recover in-process: read, then the durable write of the
#   new file (index, the sample data copied file to file by the kernel,
#   fdatasync, rename) and the wait for the decodes. cat writes nothing, so the
#   total is also set against a durable copy of the same file (cp, then
#   sync --data): the least any recovery that keeps its output safe can take.
# - cpu: user + system time of Recover, both threads.
# - cli: `halcyon-deck-cli recover` wall time: total plus the process start
#   (the tool loads the engine's ~170 shared libraries, ~80 ms) and the JSON.
# Every run writes a new file: the previous output is removed before each run,
# outside the timing (deleting a 120 MB file is not recovery work).
set -euo pipefail
BUILD=${1:-$(dirname "$0")/../build}
media="$BUILD/bench-media"
work="$BUILD/bench-recover"
mkdir -p "$media" "$work"
recgen="$BUILD/tools/recgen/halcyon-recgen"
cli="$BUILD/tools/halcyon-deck-cli"
bench="$BUILD/bench/halcyon-bench-recover"
cmake --build "$BUILD" --target halcyon-deck-cli halcyon-recgen halcyon-bench-recover >/dev/null

hd=(--front 1920x1080 --rear 1280x720 --bitrate 12000 --rear-bitrate 6000 --noisy)
[ -f "$media/hd-60s.mp4" ] || "$recgen" "$media/hd-60s.mp4" --duration 60 "${hd[@]}" >/dev/null
[ -f "$media/hd-5s.mp4" ] || "$recgen" "$media/hd-5s.mp4" --duration 5 --start 20261209060000 "${hd[@]}" >/dev/null
size=$(stat -c %s "$media/hd-60s.mp4")
head -c $((size * 9 / 10)) "$media/hd-60s.mp4" >"$work/cut.mp4"
cut="$work/cut.mp4"
out="$work/recovered.mp4"

. "$(dirname "$0")/timing.sh"
# Median wall time in ms of 5 runs after a warm-up, with $out removed before
# each run outside the timing.
ms_fresh() {
  local times=()
  rm -f "$out"; "$@" >/dev/null 2>&1
  for _ in 1 2 3 4 5; do
    rm -f "$out"
    local t0 t1
    t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p | awk '{printf "%.1f", $1 / 1000}'
}
read_file() { cat "$1" >/dev/null; }
durable_copy() { cp "$cut" "$out" && sync --data "$out"; }
recover_cli() { "$cli" recover "$cut" --reference "$media/hd-5s.mp4" -o "$out"; }

# Both sides must do their work: the recovery has to find the pictures.
rm -f "$out"
summary=$(recover_cli)
pictures=$(echo "$summary" | grep -m1 '"samples"' | tr -dc 0-9)
[ "${pictures:-0}" -gt 1000 ] || { echo "recovery found only ${pictures:-0} front pictures" >&2; exit 1; }
echo "load: $(uptime | sed 's/.*load average/load average/')"
line=$("$bench" "$cut" "$media/hd-5s.mp4" "$out" 5)
field() { sed -E "s/(.* |^)$1=([0-9.]+).*/\2/" <<<"$line"; }
[ "$(field pictures)" = "$pictures" ] || { echo "in-process recovery found $(field pictures) front pictures, the tool $pictures" >&2; exit 1; }
total=$(field total_ms) read=$(field read_ms) cpu=$(field cpu_ms)
cat_ms=$(ms_of read_file "$cut")
copy_ms=$(ms_fresh durable_copy)
cli_ms=$(ms_fresh recover_cli)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a / b}'; }
echo "recover 60 s 1080p+720p cut at 90 % ($((size * 9 / 10 / 1048576)) MiB, $pictures front pictures), medians of 5 warm runs:"
echo "  cat FILE > /dev/null:              $cat_ms ms"
echo "  read (walk, in-process):           $read ms; ratio to cat $(ratio "$read" "$cat_ms") (target <= 3)"
echo "  total (read + durable write):      $total ms; ratio to cat $(ratio "$total" "$cat_ms"), to the durable copy $(ratio "$total" "$copy_ms"); cpu $cpu ms"
echo "  durable copy (cp + sync --data):   $copy_ms ms"
echo "  halcyon-deck-cli recover (wall):   $cli_ms ms; ratio to cat $(ratio "$cli_ms" "$cat_ms")"
awk -v a="$read" -v b="$cat_ms" 'BEGIN{exit !(a <= 3 * b)}'
