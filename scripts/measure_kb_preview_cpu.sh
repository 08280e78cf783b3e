#!/bin/sh
# CPU of every keyboard lighting preview type at its fastest interval, as a share of
# one core over SECONDS (default 10) each, on an offscreen window. Goal: at most 2 %.
#   scripts/measure_kb_preview_cpu.sh [BUILD_DIR] [SECONDS]
set -eu
build=${1:-build}
seconds=${2:-10}
cmake -S "$(dirname "$0")/.." -B "$build" -DQUOBEL_BENCH=ON >/dev/null
cmake --build "$build" --parallel 2 --target kb_preview_cpu
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/kb_preview_cpu" "$seconds"
