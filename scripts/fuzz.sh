#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one: scripts/fuzz.sh TARGET [SECONDS]
# e.g. scripts/fuzz.sh ini_fuzz 600. New inputs go to fuzz/corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
CXX=clang++ scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOBEL_FUZZ=ON \
  -DQUOBEL_GUI=OFF -DQUOBEL_TESTS=OFF -DQUOBEL_BENCH=OFF
target=$1
seconds=${2:-600}
corpus=fuzz/corpus/${target%_fuzz}
mkdir -p "$corpus"
exec build-fuzz/fuzz/"$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus"
