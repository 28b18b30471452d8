#!/usr/bin/env bash
# Halcyon Deck developer entry point.
#   ./dev.sh run          install what is missing, build, start the viewer on the demo card
#   ./dev.sh test         install, build, run every test, the media path under valgrind, the fuzzers
#                         for a few seconds, a one-minute soak of the sanitizer build's window,
#                         then the same tests in the sanitizer build
#   ./dev.sh test --fast  the release build's tests only
#   ./dev.sh build        install and build only
#   ./dev.sh shot [OUT.png] [SECONDS] [-- viewer args]
#                         start the viewer under Xvfb and save a screenshot (default shot.png);
#                         HALCYON_AUTOPLAY_FOR_SCREENSHOT=1 plays the first recording of the
#                         list shortly after start, =full also enters full screen (developer
#                         option for screenshots only; an ordinary start plays nothing)
#   ./dev.sh demo         (re)make the demo card in build/demo-card
#   ./dev.sh bench        build and run the benchmarks in bench/
#   ./dev.sh package      build the Debian package into build/package and check it with lintian
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
ROOT=$(pwd)
BUILD=${HALCYON_BUILD:-$ROOT/build}
ASAN_BUILD=${HALCYON_ASAN_BUILD:-$ROOT/build-asan}
JOBS=$(nproc)
# Clones and work trees share compiled objects: paths below the root hash alike,
# and the build folder's own path is left out of the hash.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-svg-dev libqt6svg6
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-libav gstreamer1.0-alsa gstreamer1.0-plugins-base-apps gstreamer1.0-tools
  gstreamer1.0-plugins-ugly gstreamer1.0-x
  libavformat-dev libavcodec-dev libavutil-dev libyuv-dev ffmpeg
  libpulse-dev pulseaudio pulseaudio-utils valgrind libjs-leaflet fonts-noto-cjk locales
  xvfb xauth xdotool imagemagick libgtest-dev clang-14 libclang-rt-14-dev dbus-daemon
  libimage-exiftool-perl ccache
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  desktop-file-utils appstream lintian dpkg-dev man-db qt6-translations-l10n
)

log() { printf '== %s\n' "$*" >&2; }

ensure_deps() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

configure() { # dir, extra cmake args...
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
  fi
}

build() {
  configure "$BUILD"
  cmake --build "$BUILD" -j "$JOBS"
}

build_asan() {
  configure "$ASAN_BUILD" -DHALCYON_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
  cmake --build "$ASAN_BUILD" -j "$JOBS"
}

# Prints the demo card's folder, and nothing else, on standard output (callers
# capture it as the card path); everything the card maker says goes to stderr.
demo_card() {
  local card="$BUILD/demo-card"
  if [ ! -f "$card/.complete" ] || [ "${1:-}" = "--force" ]; then
    if [ -x "$ROOT/tools/make-demo-card.sh" ]; then
      log "making the demo card in $card"
      rm -rf "$card"
      "$ROOT/tools/make-demo-card.sh" "$BUILD" "$card" >&2
      touch "$card/.complete"
    else
      mkdir -p "$card"
    fi
  fi
  echo "$card"
}

# The card roots the viewer starts with: the demo card, then any the caller named.
viewer_card_roots() {
  local card
  card=$(demo_card)
  echo "$card${HALCYON_CARD_ROOTS:+:$HALCYON_CARD_ROOTS}"
}

run_tests() { # dir, label
  log "tests: $2"
  ctest --test-dir "$1" --output-on-failure -j "$JOBS" --timeout 600
}

# The media path under valgrind memcheck: system libraries (libyuv's vector
# code, the decoders) are not instrumented by the sanitizer build, so writes
# past a buffer there show only here.
memcheck_media() {
  log "tests: media path under valgrind memcheck"
  local env=(HALCYON_BUILD_DIR="$BUILD" HALCYON_SOURCE_DIR="$ROOT" QT_QPA_PLATFORM=offscreen
    LD_PRELOAD="$BUILD/tools/libhalcyon_valgrind_shim.so" HALCYON_GRAPH_WAIT_SCALE=20)
  local vg=(valgrind -q --error-exitcode=99 --leak-check=no --num-callers=30
    --suppressions="$ROOT/tools/valgrind-media.supp")
  env "${env[@]}" "${vg[@]}" "$BUILD/tests/engine/test_picture_converter" >/dev/null || return 1
  env "${env[@]}" "${vg[@]}" "$BUILD/tests/engine/test_playback_engine" \
    framesReachBothWindowsScaledToThem captureIsNativeSizeTopRowFirst oddPictureSizesConvertInBounds \
    orientationParametersTurnOnlyLaterChannels >/dev/null || return 1
}

# Sourced (by the first-start test): only the functions above.
if [ "${BASH_SOURCE[0]}" != "$0" ]; then return 0; fi

cmd=${1:-help}
shift || true
case "$cmd" in
  build)
    ensure_deps; build ;;
  run)
    ensure_deps; build
    roots=$(viewer_card_roots)
    HALCYON_CARD_ROOTS="$roots" exec "$BUILD/app/halcyon-deck" "$@" ;;
  demo)
    ensure_deps; build; demo_card --force ;;
  test)
    ensure_deps; build
    run_tests "$BUILD" "release build"
    if [ "${1:-}" != "--fast" ]; then
      memcheck_media
      # The fuzzers run first so that the test runner's summary stays the last word.
      if [ -x "$ROOT/tools/run-fuzzers.sh" ]; then "$ROOT/tools/run-fuzzers.sh"; fi
      build_asan
      # The real window clicked through in random order for a minute
      # (HALCYON_SOAK_SECONDS=600 for the long form).
      log "soak: the sanitizer build's window under Xvfb"
      ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:new_delete_type_mismatch=0 UBSAN_OPTIONS=print_stacktrace=1 \
        HALCYON_SOAK_RECGEN="$BUILD/tools/recgen/halcyon-recgen" "$ROOT/tools/soak.sh" "$ASAN_BUILD" "${HALCYON_SOAK_SECONDS:-60}"
      ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        run_tests "$ASAN_BUILD" "AddressSanitizer + UndefinedBehaviorSanitizer build"
    fi ;;
  shot)
    ensure_deps; build
    out=${1:-shot.png}; secs=${2:-4}; shift $(( $# > 2 ? 2 : $# )) || true
    [ "${1:-}" = "--" ] && shift
    roots=$(viewer_card_roots)
    export HALCYON_CARD_ROOTS="$roots"
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
      "$0" "${@:3}" & app=$!
      sleep "$2"
      import -window root "$1"
      kill $app; wait $app 2>/dev/null || true' "$BUILD/app/halcyon-deck" "$out" "$secs" "$@"
    log "screenshot: $out" ;;
  package)
    ensure_deps; build
    rm -rf "$BUILD/package"
    (cd "$BUILD" && cpack -B "$BUILD/package" >/dev/null)
    rm -rf "$BUILD/package/_CPack_Packages"
    deb=$(ls "$BUILD"/package/halcyon-deck_*.deb)
    log "package: $deb"
    dpkg-deb --field "$deb" Depends
    # Errors fail the command; warnings and notes are shown.
    lintian --fail-on error "$deb" || { log "lintian found errors"; exit 1; } ;;
  bench)
    ensure_deps; build
    for b in "$ROOT"/bench/*.sh; do [ -x "$b" ] && "$b" "$BUILD"; done ;;
  *)
    sed -n '2,14p' "$0"; exit 2 ;;
esac
