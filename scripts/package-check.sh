#!/usr/bin/env bash
# Builds the Debian package and checks it as a distribution would: the desktop entry
# (desktop-file-validate), the AppStream metainfo (appstreamcli validate), the package
# (lintian), and every installed file in the unpacked package (dpkg-deb -x).
#   scripts/package-check.sh [BUILD_DIR]      default: build-package
# Errors fail the check; warnings are printed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
dir=${1:-build-package}

# Built with Debian's hardening flags, as a Debian package build would be; given on the
# command line so that a build folder configured before takes them too.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DQUOBEL_TESTS=OFF -DQUOBEL_BENCH=OFF \
  "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
rm -f "$dir"/quobel_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/quobel_*.deb)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

# The window's files are in the package once the window is part of the tree.
window=0
[ -f src/app/CMakeLists.txt ] && window=1

echo "== desktop-file-validate"
desktop-file-validate data/quobel.desktop
if [ "$window" = 1 ]; then
  desktop-file-validate "$root/usr/share/applications/quobel.desktop"
fi

echo "== appstreamcli validate"
appstreamcli validate --no-net --pedantic --explain data/quobel.metainfo.xml

echo "== lintian"
lintian --fail-on error --display-info --pedantic "$deb"

echo "== files in the package"
cmake -DROOT="$root" -DLIST=packaging/installed-files -DWINDOW="$window" -P cmake/CheckInstalledFiles.cmake
echo "package-check: $(basename "$deb") passed"
