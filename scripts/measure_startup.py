#!/usr/bin/env python3
"""Start-up of the window over the simulated devices under Xvfb: from starting the
process to its first frame on the screen, warm (a first run fills the caches and the
data folder and is not counted), with the time at each start-up step.

    scripts/measure_startup.py [BUILD_DIR] [RUNS]     (default: build-release, 10)

Build BUILD_DIR as Release for figures worth comparing. The program marks its steps
on standard error when QUOBEL_STARTUP_TRACE is set; the marks and this script both
read the monotonic clock.
"""

import os
import random
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

build = sys.argv[1] if len(sys.argv) > 1 else "build-release"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
binary = os.path.join(root, build, "bin", "quobel")
if not os.access(binary, os.X_OK):
    sys.exit(f"measure_startup: {binary} not built")


def now_us():
    return time.monotonic_ns() // 1000


def start_xvfb():
    display = f":{random.randint(200, 400)}"
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        if subprocess.call(["xwininfo", "-display", display, "-root"], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL) == 0:
            return xvfb, display
        time.sleep(0.05)
    xvfb.kill()
    sys.exit("measure_startup: Xvfb did not start")


def one_run(display, data, runtime):
    # TMPDIR: the single-instance socket of this run only; another quobel of this user
    # would otherwise be activated instead.
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QUOBEL_STARTUP_TRACE="1",
               XDG_RUNTIME_DIR=runtime, TMPDIR=runtime)
    env.pop("WAYLAND_DISPLAY", None)
    t0 = now_us()
    p = subprocess.Popen([binary, "--simulate", "--data-dir", data], env=env, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True)
    marks = {}
    deadline = time.monotonic() + 30
    for line in p.stderr:
        parts = line.split()
        if len(parts) == 3 and parts[0] == "quobel-startup":
            marks[parts[1]] = (int(parts[2]) - t0) / 1000.0
            if parts[1] == "first-frame":
                break
        if time.monotonic() > deadline:
            break
    # Ended the way a session ends it; the next start takes over the single-instance socket.
    p.send_signal(signal.SIGTERM)
    try:
        p.wait(timeout=10)
    except subprocess.TimeoutExpired:
        p.kill()
        p.wait()
    return marks


def main():
    xvfb, display = start_xvfb()
    data = tempfile.mkdtemp(prefix="quobel-startup-")
    runtime = tempfile.mkdtemp(prefix="quobel-runtime-")
    try:
        one_run(display, data, runtime)  # warm-up: caches, fresh profiles
        results = []
        for i in range(runs):
            m = one_run(display, data, runtime)
            if "first-frame" not in m:
                sys.exit(f"measure_startup: run {i + 1} showed no frame (marks: {sorted(m)})")
            results.append(m)
            print(f"run {i + 1:2d}: start to first frame {m['first-frame']:7.1f} ms")
        totals = [m["first-frame"] for m in results]
        print(f"start to first frame over {runs} warm runs: median {statistics.median(totals):.1f} ms, "
              f"min {min(totals):.1f} ms, max {max(totals):.1f} ms")
        print("median time from the process start to each step (ms):")
        steps = sorted(results[0], key=lambda s: results[0][s])
        prev = 0.0
        for s in steps:
            t = statistics.median(m[s] for m in results if s in m)
            print(f"  {s:16s} {t:7.1f}  (+{t - prev:6.1f})")
            prev = t
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(data, ignore_errors=True)
        shutil.rmtree(runtime, ignore_errors=True)


main()
