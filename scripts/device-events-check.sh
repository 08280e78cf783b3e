#!/usr/bin/env bash
# Device events end to end: `quobel --simulate --trace` under Xvfb, driven from outside
# through its control socket by quobelctl:
#   sim unplug mouse, sim plug mouse   -> the window drops the mouse and finds it again
#   sim notify mouse 02 03 00 00       -> the popup shows DPI-3 and the mouse button
#                                         page switches to mode 2 without applying
# Checks the window's log lines and trace; exits 0 when all were seen, 1 when not,
# 77 when Xvfb is not installed (scripts/deps.sh installs it).
#
#   scripts/device-events-check.sh [BUILD_DIR]      (default: build)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin=$build/bin/quobel
ctl=$build/bin/quobelctl
[ -x "$bin" ] && [ -x "$ctl" ] || { echo "device-events-check: $bin or $ctl not built" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "device-events-check: Xvfb is not installed, skipped" >&2; exit 77; }

# Everything private to this run: the control socket, the single-instance socket, the
# data folder, and a program folder whose configuration writes the log to stderr.
tmp=$(mktemp -d)
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null; wait 2>/dev/null; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/run" "$tmp/prog" "$tmp/data" && chmod 700 "$tmp/run"
export XDG_RUNTIME_DIR=$tmp/run TMPDIR=$tmp/run
for f in "$build"/bin/*; do
  [ "$(basename "$f")" = cfg.ini ] || ln -s "$(realpath "$f")" "$tmp/prog/"
done
sed 's/^Debug=.*/Debug=1/' "$build/bin/cfg.ini" >"$tmp/prog/cfg.ini"
log=$tmp/stderr.log trace=$tmp/trace.log

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do xwininfo -display "$display" -root >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display QT_QPA_PLATFORM=xcb "$bin" --simulate --trace --program-dir "$tmp/prog/" --data-dir "$tmp/data" \
  >"$trace" 2>"$log" &
app=$!

fail=0
# wait_for TEXT AFTER_LINE: waits up to 10 s for a log line containing TEXT after line
# AFTER_LINE of the log.
wait_for() {
  for _ in $(seq 100); do
    tail -n +"$(($2 + 1))" "$log" | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  return 1
}
check() {  # check WHAT TEXT AFTER_LINE
  if wait_for "$2" "$3"; then echo "ok: $1"; else echo "FAILED: $1 (no \"$2\" in the log)" >&2; fail=1; fi
}
lines() { wc -l <"$log"; }
ctl() { "$ctl" sim "$@" >/dev/null || { echo "FAILED: quobelctl sim $*" >&2; fail=1; }; }

check "the window started" "OnConfig 2" 0
for _ in $(seq 50); do "$ctl" sim dump mouse >/dev/null 2>&1 && break; sleep 0.1; done

at=$(lines); ctl unplug mouse
check "unplug: the window hears of it" "Device MS OUT" "$at"
check "unplug: the mouse is dropped" "CDrv5307::ClearHandle" "$at"

at=$(lines); traced=$(grep -c "^GET mouse" "$trace"); ctl plug mouse
check "plug: the window hears of it" "Device MS IN" "$at"
check "plug: the mouse is searched" "CDrv5307  FindDev" "$at"
check "plug: the mouse is open again" "g_nCurMode=" "$at"
if [ "$(grep -c "^GET mouse" "$trace")" -gt "$traced" ]; then echo "ok: plug: new mouse exchanges in the trace"
else echo "FAILED: plug: no new exchange in the trace" >&2; fail=1; fi

at=$(lines); ctl notify mouse 02 03 00 00
check "notify: the report reaches the window" "OnDeviceBehavior  Buffer= 2 3 0 0, nPopByte1=1" "$at"
check "notify: the popup shows the third level" "popup: DPI-3" "$at"
check "notify: the mouse button page switches to mode 2" "SwitchMode: nMode=1, bApply=0" "$at"

if ! kill -0 "$app" 2>/dev/null; then echo "FAILED: the window ended early" >&2; fail=1; fi
if [ $fail -ne 0 ]; then echo "--- log:" >&2; tail -n 40 "$log" >&2; fi
exit $fail
