#!/usr/bin/env bash
# Builds the libFuzzer targets with clang-14 in build-fuzz and runs each for a
# bounded time (FUZZ_SECONDS, default 5) from a small seed corpus.
#   tools/run-fuzzers.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${HALCYON_BUILD:-$ROOT/build}
FUZZ_BUILD=${HALCYON_FUZZ_BUILD:-$ROOT/build-fuzz}
SECONDS_EACH=${1:-${FUZZ_SECONDS:-5}}

if [ ! -f "$FUZZ_BUILD/build.ninja" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S "$ROOT/tools/fuzz" -B "$FUZZ_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$FUZZ_BUILD" -j 2 >/dev/null

corpus="$FUZZ_BUILD/corpus"
mkdir -p "$corpus/lines" "$corpus/reader" "$corpus/mdat"
printf 'G$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A' >"$corpus/lines/rmc"
printf 'G$GPRMC,123519,A' >"$corpus/lines/short"
printf 'M\x80\x40\xc0\x01\x02\x03' >"$corpus/lines/accel"
if [ ! -f "$corpus/reader/seed.mp4" ] && [ -x "$BUILD/tools/recgen/halcyon-recgen" ]; then
  "$BUILD/tools/recgen/halcyon-recgen" "$corpus/reader/seed.mp4" --telemetry-only --duration 2 >/dev/null
fi

if [ ! -f "$corpus/mdat/seed" ] && [ -f "$corpus/reader/seed.mp4" ]; then
  # Layout byte 0 (two H.264 cameras, AAC, telemetry), then real sample data.
  { printf '\x00'; tail -c +49 "$corpus/reader/seed.mp4" | head -c 60000; } >"$corpus/mdat/seed"
  # Layout byte 0x10: the bytes are an index (moov payload) instead.
  at=$(grep -obUa moov "$corpus/reader/seed.mp4" | tail -1 | cut -d: -f1)
  [ -n "$at" ] && { printf '\x10'; tail -c +$((at + 5)) "$corpus/reader/seed.mp4"; } >"$corpus/mdat/moov"
fi
printf '\x00\x00\x00\x00\x05\x65\x88\x84\x00\x10\x00\x00\x00\x04\x41\x9a\x02\x03\x00\x07M\x80\x40\xc0\x00\xff\x01\x10abcdefghijklmno' >"$corpus/mdat/tiny"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
run() { # target corpus max_len
  local work="$FUZZ_BUILD/work-$1"
  mkdir -p "$work"
  echo "== fuzzing $1 for ${SECONDS_EACH}s" >&2
  # New inputs go to the scratch folder; the seeds stay as they are.
  "$FUZZ_BUILD/$1" "$work" "$2" -max_total_time="$SECONDS_EACH" -max_len="$3" -print_final_stats=1 \
    -artifact_prefix="$FUZZ_BUILD/crash-$1-" 2>&1 | grep -E '^(stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' >&2
}
run fuzz_telemetry_lines "$corpus/lines" 2048
run fuzz_telemetry_reader "$corpus/reader" 65536
run fuzz_mdat_walker "$corpus/mdat" 65536
