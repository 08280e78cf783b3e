#!/usr/bin/env bash
# Offers to install data/70-quobel.rules, which lets the logged-in user open the
# configured devices. Asks only in an interactive terminal, never in CI, and only
# when the installed copy is missing or differs. Never needed for simulated devices.
set -euo pipefail
cd "$(dirname "$0")/.."
rules=data/70-quobel.rules
target=/etc/udev/rules.d/70-quobel.rules
[ -n "${CI:-}" ] && exit 0
{ [ -t 0 ] && [ -t 1 ]; } || exit 0
[ -d /etc/udev/rules.d ] || exit 0
cmp -s "$rules" "$target" && exit 0
echo "Without the udev rules $target only root can open the quobel devices."
read -r -p "Install them now (uses sudo)? [y/N] " answer
case "$answer" in
  [yY]*) ;;
  *) echo "Skipped. Install later with: sudo install -m 644 $rules $target"; exit 0 ;;
esac
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo install -m 644 "$rules" "$target"
if command -v udevadm >/dev/null; then
  $sudo udevadm control --reload-rules
  $sudo udevadm trigger --subsystem-match=hidraw
fi
echo "Installed $target; reconnect a device if it is still refused."
