#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one: scripts/fuzz.sh TARGET [SECONDS]
# e.g. scripts/fuzz.sh ini_fuzz 600. It starts from fuzz/seeds/<name> and keeps new inputs
# in fuzz/corpus/<name> (not committed), where a crashing input is written too.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
CXX=clang++ scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOBEL_FUZZ=ON \
  -DQUOBEL_GUI=OFF -DQUOBEL_TESTS=OFF -DQUOBEL_BENCH=OFF
target=$1
seconds=${2:-600}
name=${target%_fuzz}
corpus=fuzz/corpus/$name
mkdir -p "$corpus"
seeds=()
[ -d "fuzz/seeds/$name" ] && seeds+=("fuzz/seeds/$name")
exec build-fuzz/fuzz/"$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$corpus/" "$corpus" "${seeds[@]}"
