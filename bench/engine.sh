#!/usr/bin/env bash
# Playback engine and telemetry benchmarks. Usage: bench/engine.sh BUILD_DIR
# Recordings are generated once into BUILD_DIR/bench-media.
set -euo pipefail
BUILD=${1:-build}
RECGEN="$BUILD/tools/recgen/halcyon-recgen"
BENCH="$BUILD/bench/halcyon-bench-engine"
MEDIA="$BUILD/bench-media"
mkdir -p "$MEDIA"

gen() { # file, options...
  local f="$MEDIA/$1"; shift
  [ -s "$f" ] || "$RECGEN" "$f" "$@"
}
echo "== generating recordings (cached in $MEDIA)"
gen drive-1080p.mp4 --front 1920x1080 --bitrate 12000 --rear 1280x720 --rear-bitrate 6000 \
  --fps 30 --duration 20 --noisy --preset veryfast
gen telemetry-60s.mp4 --telemetry-only --duration 60
gen telemetry-60min.mp4 --telemetry-only --duration 3600

cpu() { # command... -> user+sys CPU seconds of the command on stdout
  local TIMEFORMAT='%3U %3S' t
  t=$( { time "$@" >/dev/null 2>&1; } 2>&1 )
  awk '{printf "%.2f", $1 + $2}' <<<"$t"
}

FILE="$MEDIA/drive-1080p.mp4"
frames=$(ffprobe -v error -count_packets -show_entries stream=nb_read_packets -select_streams v -of csv=p=0 "$FILE" | paste -sd' ')
echo "== 1. CPU: 20 s of 1920x1080 12 Mb/s + 1280x720 6 Mb/s, noisy (video packets per track: $frames)"
# Both sides decode the same streams: the engine decodes the sound too, so the
# reference maps it as well. Each side five times, alternating, with the median
# and the spread of each: one run moves by a few per cent with what else the
# machine does, and a ratio of two medians holds on another machine too.
RUNS=${HALCYON_BENCH_RUNS:-5}
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
spread() { printf '%s\n' "$@" | sort -n | awk 'NR == 1 {lo = $1} {hi = $1} END {printf "%.2f-%.2f", lo, hi}'; }
ffs=() engs=()
for run in $(seq 1 "$RUNS"); do
  ffs+=("$(cpu ffmpeg -nostdin -i "$FILE" -map 0:v -map 0:a -f null -)")
  engs+=("$(TIMEFORMAT='%3U %3S'; { time "$BENCH" play "$FILE" 1.0 >"$MEDIA/play-$run.log" 2>/dev/null; } 2>&1 | awk '{printf "%.2f", $1 + $2}')")
done
ff=$(median "${ffs[@]}")
eng=$(median "${engs[@]}")
# The play line of the run with the most dropped pictures.
for run in $(seq 1 "$RUNS"); do cat "$MEDIA/play-$run.log"; done | sort -t" " -k11,11n -k13,13n | head -1 >"$MEDIA/play.log"
# Frames not rendered of those in the file, per channel, from a play line.
drops() { # play line, packets "front rear"
  awk -v line="$1" -v packets="$2" 'BEGIN {
    split(packets, p, " ")
    n = split(line, w, " ")
    for (i = 1; i < n; i++) { if (w[i] == "front" && w[i-1] == "rendered") f = w[i+1]; if (w[i] == "rear" && !r) r = w[i+1] }
    printf "dropped front %d of %d (%.2f %%), rear %d of %d (%.2f %%)", p[1] - f, p[1], 100 * (p[1] - f) / p[1], p[2] - r, p[2], 100 * (p[2] - r) / p[2]
  }'
}
echo "ffmpeg -map 0:v -map 0:a -f null -  : median $ff s CPU, spread $(spread "${ffs[@]}") (runs: ${ffs[*]})"
echo "engine at 1x (both channels, sound) : median $eng s CPU, spread $(spread "${engs[@]}") (runs: ${engs[*]})"
echo "engine at 1x, fewest rendered       : $(cat "$MEDIA/play.log")"
awk -v e="$eng" -v f="$ff" 'BEGIN {printf "ratio engine/ffmpeg                 : %.2f (target <= 1.15)\n", e / f}'
echo "engine at 1x                        : $(drops "$(cat "$MEDIA/play.log")" "$frames") (target: none)"
at2=$("$BENCH" play "$FILE" 2.0 2>/dev/null)
echo "engine at 2x                        : $at2"
echo "engine at 2x                        : $(drops "$at2" "$frames") (target <= 1 %)"

echo "== 2. open -> first picture of both channels (warm)"
"$BENCH" first-picture "$FILE" 15 2>/dev/null

echo "== 3. scrubbing: release -> exact picture (target median <= 150 ms), UI stall during a drag (target <= 100 ms)"
"$BENCH" scrub "$FILE" 7 2>&1

echo "== 4. telemetry read through ITelemetrySource (warm)"
"$BENCH" telemetry "$MEDIA/telemetry-60s.mp4" 20 2>/dev/null
"$BENCH" telemetry "$MEDIA/telemetry-60min.mp4" 10 2>/dev/null
