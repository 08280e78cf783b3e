#!/usr/bin/env bash
# Kills quobelctl with SIGKILL at random moments while it writes the profile store, and
# counts the stores left damaged (pro.dct that does not load, or a profile lost).
#   scripts/kill-writes.sh [COUNT] [QUOBELCTL]
# COUNT defaults to 1000, QUOBELCTL to build/bin/quobelctl (build it first). Prints one
# summary line; exits 1 when any store was damaged.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-1000}
ctl=${2:-build/bin/quobelctl}
[ -x "$ctl" ] || { echo "kill-writes: $ctl not found; build quobelctl first" >&2; exit 2; }

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
q() { "$ctl" --data-dir "$data" "$@"; }
q profiles create Keep >/dev/null
q profiles create Spare >/dev/null

# How long one write takes, so that the kills fall inside it.
start=$(date +%s%N)
for _ in 1 2 3; do q profiles rename Keep Keep >/dev/null; done
span_us=$(( ($(date +%s%N) - start) / 3000 ))

damaged=0
killed_running=0
for ((i = 1; i <= count; i++)); do
  case $((RANDOM % 4)) in
    0) cmd=(profiles rename Keep Keep) ;;
    1) cmd=(profiles select Spare) ;;
    2) cmd=(profiles create "T$i") ;;
    3) cmd=(profiles delete "T$((i - 1))") ;;
  esac
  q "${cmd[@]}" >/dev/null 2>&1 &
  pid=$!
  delay_us=$(( (RANDOM * 32768 + RANDOM) % (span_us + 1) ))
  sleep "$(printf '0.%06d' "$delay_us")"
  if kill -KILL "$pid" 2>/dev/null; then killed_running=$((killed_running + 1)); fi
  wait "$pid" 2>/dev/null || true

  # Loadable: exactly 20 slots, listed without a complaint, and the two stored profiles there.
  size=$(stat -c %s "$data/pro.dct" 2>/dev/null || echo 0)
  listed=$(q profiles list 2>&1) || listed="FAILED $listed"
  if [ "$size" != 635200 ] || [[ "$listed" == *"cannot be read"* ]] || [[ "$listed" == FAILED* ]] ||
     ! grep -q ' Keep$' <<<"$listed" || ! grep -q ' Spare$' <<<"$listed" || [ -e "$data/pro.dct.bad" ]; then
    damaged=$((damaged + 1))
    echo "kill-writes: run $i (${cmd[*]}, killed after ${delay_us} us) left a damaged store: size $size" >&2
    echo "$listed" >&2
    # Start the next run from a sound store again.
    rm -rf "$data"/*
    q profiles create Keep >/dev/null
    q profiles create Spare >/dev/null
  fi
  # Keep the list from filling up: the created profiles are deleted again.
  if ((i % 50 == 0)); then
    for name in $(q profiles list | awk '$2 ~ /^T[0-9]+$/ {print $2}'); do q profiles delete "$name" >/dev/null; done
  fi
done
leftovers=$(find "$data" -name '*.quobel-tmp*' | wc -l)
echo "kill-writes: $count kills ($killed_running while running, write span ${span_us} us), damaged stores: $damaged, temporaries left: $leftovers"
[ "$damaged" -eq 0 ]
