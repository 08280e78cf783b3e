#!/usr/bin/env bash
# Starts the window over the simulated devices under Xvfb (X11) and under a headless
# Weston (Wayland) and checks that it appeared: the program marks its first painted
# frame on standard error (QUOBEL_STARTUP_TRACE), which it only paints once the display
# server has shown (exposed) the window; under X11 the window must also be viewable.
# Also prints, under Xvfb: the CPU the idle window used over IDLE_S seconds (default 60)
# and its resident memory. scripts/measure_startup.py times the start-up itself.
#
#   scripts/window-check.sh [BUILD_DIR]      (default: build)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bin/quobel
[ -x "$bin" ] || { echo "window-check: $bin not built" >&2; exit 2; }
idle_s=${IDLE_S:-60}
data=$(mktemp -d)
log=$(mktemp)
# A folder of our own for the single-instance socket: another quobel of this user
# (a session, a test) would otherwise be activated instead of starting this one.
export TMPDIR=$(mktemp -d)
app=""
trap 'rm -rf "$data" "$log" "$TMPDIR"; [ -n "$app" ] && kill "$app" 2>/dev/null; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null; [ -n "${wst:-}" ] && kill "$wst" 2>/dev/null' EXIT
fail=0

# Waits up to 20 s for the first-frame mark of the running program; prints the time
# it took, from the start, in ms.
wait_first_frame() {
  local start=$1
  for _ in $(seq 2000); do
    if grep -q '^quobel-startup first-frame ' "$log"; then
      echo $(( ($(date +%s%N) - start) / 1000000 )); return 0
    fi
    kill -0 "$app" 2>/dev/null || return 1
    sleep 0.01
  done
  return 1
}

stop_app() {
  kill "$app" 2>/dev/null; wait "$app" 2>/dev/null; app=""
}

# ---- X11 ----
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xwininfo -display "$display" -root >/dev/null 2>&1 && break; sleep 0.1; done
: >"$log"
start=$(date +%s%N)
DISPLAY=$display QT_QPA_PLATFORM=xcb QUOBEL_STARTUP_TRACE=1 "$bin" --simulate --data-dir "$data" >/dev/null 2>"$log" &
app=$!
if ms=$(wait_first_frame "$start") && xwininfo -display "$display" -name Quobel 2>/dev/null | grep -q 'IsViewable'; then
  echo "x11: window shown and painted its first frame after $ms ms (polled every 10 ms)"
  sleep 1
  t0=$(awk '{print $14 + $15}' /proc/$app/stat)
  sleep "$idle_s"
  t1=$(awk '{print $14 + $15}' /proc/$app/stat)
  hz=$(getconf CLK_TCK)
  awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$idle_s" 'BEGIN { printf "x11: idle CPU %.3f %% of a core over %d s\n", 100 * d / hz / s, s }'
  echo "x11: resident memory $(awk '/VmRSS/ {print $2, $3}' /proc/$app/status)"
else
  echo "x11: the window did not appear" >&2; sed -n 1,20p "$log" >&2; fail=1
fi
stop_app
kill "$xvfb" 2>/dev/null; xvfb=""

# ---- Wayland ----
if command -v weston >/dev/null; then
  export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
  chmod 700 "$XDG_RUNTIME_DIR"
  sock=quobel-check-$$
  weston --backend=headless-backend.so --socket="$sock" --idle-time=0 >/dev/null 2>&1 &
  wst=$!
  for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/$sock" ] && break; sleep 0.1; done
  : >"$log"
  start=$(date +%s%N)
  WAYLAND_DISPLAY=$sock QT_QPA_PLATFORM=wayland QUOBEL_STARTUP_TRACE=1 \
    "$bin" --simulate --data-dir "$data" >/dev/null 2>"$log" &
  app=$!
  # A Wayland client paints only after the compositor has configured its surface.
  if ms=$(wait_first_frame "$start"); then
    sleep 2
    if kill -0 "$app" 2>/dev/null; then
      echo "wayland: window shown and painted its first frame after $ms ms under headless weston, still running 2 s later"
    else
      echo "wayland: the window painted, then the program ended" >&2; sed -n 1,20p "$log" >&2; fail=1
    fi
  else
    echo "wayland: the window did not appear" >&2; sed -n 1,20p "$log" >&2; fail=1
  fi
  stop_app
  kill "$wst" 2>/dev/null; wst=""
else
  echo "wayland: weston is not installed (scripts/deps.sh installs it)" >&2; fail=1
fi
exit $fail
