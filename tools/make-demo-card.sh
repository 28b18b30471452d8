#!/usr/bin/env bash
# Makes a demo SD card folder: the four category folders with dated subfolders,
# short front+rear recordings of one continuing drive down a road (an impact in the
# EVENT recording) and the camera's two settings files at the root.
#   tools/make-demo-card.sh BUILD_DIR CARD_DIR
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR CARD_DIR" >&2
  exit 2
fi
BUILD=$1
CARD=$2
RECGEN="$BUILD/tools/recgen/halcyon-recgen"
if [ ! -x "$RECGEN" ]; then
  echo "$0: $RECGEN is not built" >&2
  exit 1
fi
mkdir -p "$CARD"

# name (camera's local time, UTC+9) | UTC start of the first fix | seconds driven before | extra options
RECORDINGS=(
  "INFINITE/20261209/20261209_142501_I01.mp4|20261209052501|0|"
  "INFINITE/20261209/20261209_142521_I01.mp4|20261209052521|20|"
  "INFINITE/20261209/20261209_142541_I01.mp4|20261209052541|40|"
  "EVENT/20261209/20261209_142557_E01.mp4|20261209052557|56|--impact 9.5"
  "MANUAL/20261209/20261209_142617_B01.mp4|20261209052617|76|"
  "INFINITE/20261209/20261209_142637_I01.mp4|20261209052637|96|"
  "MOTION/20261210/20261210_031205_M01.mp4|20261209181205|170|"
  "EVENT/20261210/20261210_031225_E01.mp4|20261209181225|170|--impact 4"
)

make_one() {
  local spec=$1
  IFS='|' read -r name start offset extra <<<"$spec"
  mkdir -p "$CARD/$(dirname "$name")"
  # shellcheck disable=SC2086
  "$RECGEN" "$CARD/$name" --front 1280x720 --rear 640x360 --fps 30 --duration 20 \
    --bitrate 3000 --rear-bitrate 1000 --scene road --start "$start" --drive-offset "$offset" $extra
}

# Two at a time: the machine has two cores.
pids=()
for spec in "${RECORDINGS[@]}"; do
  make_one "$spec" &
  pids+=($!)
  if [ ${#pids[@]} -ge 2 ]; then
    wait "${pids[0]}"
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid"; done

# The camera's settings record (34 bytes) with its defaults, and its clock
# file (29 bytes): 16 reserved bytes, 2026-12-09 14:25:01, trailer 14.
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x05\x00\x05\x00\x05\x00\x03\x01\x01\x02\x00\x15\x00\x01\x00\x02\x00\x0e' \
  >"$CARD/__system_ini.cfg"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xea\x07\x0c\x00\x09\x00\x0e\x00\x19\x00\x01\x00\x0e' \
  >"$CARD/__time_ini.cfg"
[ "$(stat -c %s "$CARD/__system_ini.cfg")" -eq 34 ] && [ "$(stat -c %s "$CARD/__time_ini.cfg")" -eq 29 ]
echo "demo card ready in $CARD" >&2
