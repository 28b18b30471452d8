#!/usr/bin/env bash
# Clicks through the real window in random order under Xvfb for a while and
# fails when the viewer dies on the way (a crash, a sanitizer report, an abort).
#   tools/soak.sh BUILD_DIR SECONDS [SEED]
# The viewer plays a copy of the demo card, so nothing a click changes (the
# settings sheet's OK, a snapshot) reaches the demo card itself. Deleting,
# saving, opening files, minimising and quitting are left out: they end the
# run or wait on a file chooser rather than exercising playback.
set -euo pipefail
build=${1:?usage: soak.sh BUILD_DIR SECONDS [SEED]}
seconds=${2:?usage: soak.sh BUILD_DIR SECONDS [SEED]}
seed=${3:-$RANDOM}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
viewer="$build/app/halcyon-deck"
card_source=${HALCYON_SOAK_CARD:-}
recgen=${HALCYON_SOAK_RECGEN:-$root/build/tools/recgen/halcyon-recgen}

[ -x "$viewer" ] || { echo "soak: no viewer at $viewer" >&2; exit 2; }
[ -z "$card_source" ] || [ -d "$card_source" ] || { echo "soak: no card at $card_source" >&2; exit 2; }
[ -n "$card_source" ] || [ -x "$recgen" ] || { echo "soak: no card given and no recording generator at $recgen" >&2; exit 2; }
command -v xdotool >/dev/null || { echo "soak: xdotool is missing" >&2; exit 2; }

if [ -z "${HALCYON_SOAK_INNER:-}" ]; then
  HALCYON_SOAK_INNER=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build" "$seconds" "$seed"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "$card_source" ]; then
  cp -a "$card_source" "$work/card"
else
  # A small card of every category, quick to make: short two-channel recordings
  # with sound and telemetry, one with an impact.
  for spec in "INFINITE/20261209_142501_I01.mp4|" "INFINITE/20261209_142511_I01.mp4|" \
              "EVENT/20261209_142521_E01.mp4|--impact 4" "MANUAL/20261209_142531_B01.mp4|" \
              "MOTION/20261209_142541_M01.mp4|"; do
    IFS='|' read -r name extra <<<"$spec"
    mkdir -p "$work/card/$(dirname "$name")"
    # shellcheck disable=SC2086
    "$recgen" "$work/card/$name" --front 640x360 --rear 320x180 --fps 30 --duration 10 $extra >/dev/null 2>&1 \
      || { echo "soak: could not make $name" >&2; exit 2; }
  done
fi
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"


echo "soak: $seconds s, seed $seed" >&2
RANDOM=$seed
log="$work/viewer.log"
HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
  XDG_RUNTIME_DIR="$work/runtime" HALCYON_CARD_ROOTS="$work/card" HALCYON_MAP_TILES= HALCYON_LANG=en \
  "$viewer" >"$log" 2>&1 &
pid=$!

alive() { kill -0 "$pid" 2>/dev/null; }
fail() {
  echo "soak: $1 after $(( $(date +%s) - start )) s (seed $seed); last actions: ${actions[*]: -8}" >&2
  tail -n 60 "$log" >&2
  exit 1
}

start=$(date +%s)
actions=()
win=""
for _ in $(seq 1 100); do
  win=$(xdotool search --pid "$pid" --onlyvisible 2>/dev/null | head -n 1 || true)
  [ -n "$win" ] && break
  alive || fail "the viewer ended before its window showed"
  sleep 0.1
done
[ -n "$win" ] || fail "no window within 10 s"

# Points inside the controls of the 1130 x 640 window (control top-left + a few pixels).
controls=(
  "331 491 play" "331 491 pause" "284 497 back" "388 497 forward" "239 497 previous" "434 496 next"
  "480 497 stop" "500 45 map" "600 45 swap" "891 45 mirror" "998 45 flip" "1082 11 fullscreen"
  "663 504 settings" "719 384 tab-all" "796 384 tab-normal" "882 384 tab-event" "965 384 tab-manual"
  "1049 384 tab-motion"
)
click_at() { xdotool mousemove --window "$win" "$1" "$2" click 1 2>/dev/null || true; }

while [ $(( $(date +%s) - start )) -lt "$seconds" ]; do
  alive || fail "the viewer ended"
  case $(( RANDOM % 10 )) in
    0|1|2|3)
      c=${controls[$(( RANDOM % ${#controls[@]} ))]}
      set -- $c
      click_at "$1" "$2"; actions+=("$3") ;;
    4)
      row=$(( 440 + (RANDOM % 8) * 20 ))
      xdotool mousemove --window "$win" 800 "$row" click --repeat 2 --delay 80 1 2>/dev/null || true
      actions+=("row@$row") ;;
    5)
      x=$(( 52 + RANDOM % 610 ))
      click_at "$x" 463; actions+=("seek@$x") ;;
    6)
      x=$(( 64 + RANDOM % 85 ))
      click_at "$x" 528; actions+=("rate@$x") ;;
    7)
      # Hover a control long enough for its tooltip.
      c=${controls[$(( RANDOM % ${#controls[@]} ))]}
      set -- $c
      xdotool mousemove --window "$win" "$1" "$2" 2>/dev/null || true
      sleep 0.8; actions+=("hover-$3") ;;
    8)
      # Whatever window is active (the settings sheet, a message, the map):
      # click one of its tabs or its body, then maybe close it.
      active=$(xdotool getactivewindow 2>/dev/null || echo "$win")
      xdotool mousemove --window "$active" $(( 20 + RANDOM % 300 )) $(( 10 + RANDOM % 30 )) click 1 2>/dev/null || true
      actions+=("active-click") ;;
    9)
      keys=(Escape Escape i shift+i space Escape)
      k=${keys[$(( RANDOM % ${#keys[@]} ))]}
      xdotool key --window "$win" "$k" 2>/dev/null || true
      actions+=("key-$k") ;;
  esac
  sleep 0.$(( 1 + RANDOM % 4 ))
done

alive || fail "the viewer ended"
[ -n "${HALCYON_SOAK_SHOT:-}" ] && import -window root "$HALCYON_SOAK_SHOT" 2>/dev/null || true
kill "$pid"
wait "$pid" 2>/dev/null && rc=0 || rc=$?
# 143: ended by our SIGTERM, as asked.
if [ "$rc" -ne 0 ] && [ "$rc" -ne 143 ]; then fail "the viewer exited with $rc when asked to close"; fi
if grep -q 'ERROR: AddressSanitizer\|runtime error:' "$log"; then fail "a sanitizer report"; fi
echo "soak: ${#actions[@]} actions in $seconds s, the viewer stayed up" >&2
