#!/usr/bin/env bash
# Runs the device and simulated-device tests (transports, service thread, apply
# threads) under ThreadSanitizer: a third build without the window, only those tests.
# scripts/tsan.sh [DIR [cmake options...]]; JOBS sets the build's parallelism.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-tsan}
shift || true
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUOBEL_WERROR=ON -DQUOBEL_TSAN=ON \
  -DQUOBEL_GUI=OFF -DQUOBEL_BENCH=OFF "$@" >/dev/null
cmake --build "$dir" --parallel "${JOBS:-$(nproc)}" --target test_device test_sim
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}"
"$dir"/tests/test_sim
"$dir"/tests/test_device
