#!/usr/bin/env bash
# Paint cost of the acceleration plot with an hour of samples: after a load and after a cursor move.
#   bench/lineplot.sh [BUILD_DIR]
set -euo pipefail
BUILD=${1:-$(dirname "$0")/../build}
cmake --build "$BUILD" --target bench_lineplot_cursor >/dev/null
"$BUILD/bench/bench_lineplot_cursor" 50
