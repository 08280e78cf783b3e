#!/usr/bin/env bash
# Builds quobel and starts it, with simulated devices when none is connected.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
scripts/udev-rules.sh
data_dir=${QUOBEL_DATA_DIR:-}
args=()
[ -n "$data_dir" ] && args+=(--data-dir "$data_dir")
if [ -x build/bin/quobel ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/bin/quobel "${args[@]}" "$@"
fi
# Without a window: apply the current profile to the simulated devices and show the exchanges.
exec build/bin/quobelctl "${args[@]}" --simulate apply --trace "$@"
