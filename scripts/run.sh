#!/usr/bin/env bash
# Builds quobel and starts it, with simulated devices when none is connected.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# Its own build folder, so that a developer's build/ keeps its settings.
scripts/build.sh build-run -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOBEL_TESTS=OFF -DQUOBEL_BENCH=OFF
scripts/udev-rules.sh
data_dir=${QUOBEL_DATA_DIR:-}
args=()
[ -n "$data_dir" ] && args+=(--data-dir "$data_dir")
if [ -x build-run/bin/quobel ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  # The window over the connected devices; when none is connected, over the simulated ones.
  if build-run/bin/quobelctl "${args[@]}" devices | grep -q ' present$'; then
    exec build-run/bin/quobel "${args[@]}" "$@"
  fi
  echo "run.sh: no device connected; starting quobel with simulated devices (--simulate)" >&2
  exec build-run/bin/quobel "${args[@]}" --simulate "$@"
fi
# Without a window: apply the current profile to the simulated devices and show the exchanges.
exec build-run/bin/quobelctl "${args[@]}" --simulate apply --trace "$@"
