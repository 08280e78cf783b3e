#!/usr/bin/env bash
# Starts the window over the simulated devices under Xvfb (X11) and under a headless
# Weston (Wayland) and checks that it appeared. Also prints, under Xvfb: the time from
# start to the mapped window, the CPU the idle window used over IDLE_S seconds (default
# 60) and its resident memory.
#
#   scripts/window-check.sh [BUILD_DIR]      (default: build)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bin/quobel
[ -x "$bin" ] || { echo "window-check: $bin not built" >&2; exit 2; }
idle_s=${IDLE_S:-60}
data=$(mktemp -d)
trap 'rm -rf "$data"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null; [ -n "${wst:-}" ] && kill "$wst" 2>/dev/null' EXIT
fail=0

# ---- X11 ----
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xwininfo -display "$display" -root >/dev/null 2>&1 && break; sleep 0.1; done
start=$(date +%s%N)
DISPLAY=$display QT_QPA_PLATFORM=xcb "$bin" --simulate --data-dir "$data" >/dev/null 2>&1 &
app=$!
shown=""
for _ in $(seq 200); do
  if xwininfo -display "$display" -name Quobel 2>/dev/null | grep -q 'IsViewable'; then
    shown=$(date +%s%N); break
  fi
  sleep 0.01
done
if [ -n "$shown" ]; then
  echo "x11: window appeared after $(( (shown - start) / 1000000 )) ms (start to mapped, polled every 10 ms)"
  sleep 1
  t0=$(awk '{print $14 + $15}' /proc/$app/stat)
  sleep "$idle_s"
  t1=$(awk '{print $14 + $15}' /proc/$app/stat)
  hz=$(getconf CLK_TCK)
  awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$idle_s" 'BEGIN { printf "x11: idle CPU %.3f %% of a core over %d s\n", 100 * d / hz / s, s }'
  echo "x11: resident memory $(awk '/VmRSS/ {print $2, $3}' /proc/$app/status)"
else
  echo "x11: the window did not appear" >&2; fail=1
fi
kill "$app" 2>/dev/null; wait "$app" 2>/dev/null
kill "$xvfb" 2>/dev/null; xvfb=""

# ---- Wayland ----
if command -v weston >/dev/null; then
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
  chmod 700 "$XDG_RUNTIME_DIR"
  sock=quobel-check-$$
  weston --backend=headless-backend.so --socket="$sock" --idle-time=0 >/dev/null 2>&1 &
  wst=$!
  for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/$sock" ] && break; sleep 0.1; done
  log=$(mktemp)
  WAYLAND_DISPLAY=$sock QT_QPA_PLATFORM=wayland QT_LOGGING_RULES="qt.qpa.wayland*=true" \
    timeout 8 "$bin" --simulate --data-dir "$data" >"$log" 2>&1
  rc=$?
  # Killed by the time-out (124) means it was still running with its window.
  if [ "$rc" -eq 124 ] && ! grep -qi 'failed to create\|could not connect\|no Qt platform' "$log"; then
    echo "wayland: the window ran for 8 s under headless weston"
  else
    echo "wayland: the window did not run (exit $rc)" >&2; sed -n 1,20p "$log" >&2; fail=1
  fi
  rm -f "$log"
else
  echo "wayland: weston is not installed (scripts/deps.sh installs it)" >&2; fail=1
fi
exit $fail
