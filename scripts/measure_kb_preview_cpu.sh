#!/bin/sh
# CPU of every lighting preview at its fastest interval, as a share of one core over
# SECONDS (default 10) each, on an offscreen window: the keyboard's types, then the
# mouse's and the pad's effects. Goal: at most 2 %.
#   scripts/measure_kb_preview_cpu.sh [BUILD_DIR] [SECONDS] [kb|ms-pad|all]
set -eu
build=${1:-build}
seconds=${2:-10}
which=${3:-all}
cmake -S "$(dirname "$0")/.." -B "$build" -DQUOBEL_BENCH=ON >/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ "$which" != ms-pad ]; then
  cmake --build "$build" --parallel 2 --target kb_preview_cpu
  "$build/bench/kb_preview_cpu" "$seconds"
fi
if [ "$which" != kb ]; then
  cmake --build "$build" --parallel 2 --target ms_pad_preview_cpu
  "$build/bench/ms_pad_preview_cpu" "$seconds"
fi
