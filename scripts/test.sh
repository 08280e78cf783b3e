#!/usr/bin/env bash
# Builds quobel and runs the whole test suite: once as it ships (warnings are errors),
# once with AddressSanitizer and UndefinedBehaviorSanitizer; the device and simulated
# device tests once more under ThreadSanitizer; then builds and checks the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen

scripts/build.sh build-test -DCMAKE_BUILD_TYPE=Debug -DQUOBEL_WERROR=ON
(cd build-test && ctest --output-on-failure --timeout 300 -j "$(nproc)")

scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQUOBEL_WERROR=ON -DQUOBEL_SANITIZE=ON -DQUOBEL_BENCH=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure --timeout 600 -j "$(nproc)")

# The apply and service threads under ThreadSanitizer: only the device and sim tests.
scripts/tsan.sh build-tsan

# The Debian package, built with the distribution's flags and checked by its validators.
scripts/package-check.sh build-package
