#!/usr/bin/env bash
# Installs the Debian packages quobel needs to build, run and test, when missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libqt6svg6
  libhidapi-dev libudev-dev libglib2.0-dev gsettings-desktop-schemas nlohmann-json3-dev
  libxkbcommon-dev libxkbcommon-x11-dev libxcb1-dev xkb-data x11-xkb-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core xvfb xauth x11-utils weston qt6-wayland
  qt6-translations-l10n
  dpkg-dev file lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
