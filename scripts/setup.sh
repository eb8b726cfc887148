#!/usr/bin/env bash
# Installs what Tollix needs on Debian 12, then configures and builds it into build/.
# Quick when everything is already in place.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake ninja-build pkg-config git ccache clang-format clang-tidy
  qt6-base-dev qt6-base-dev-tools libxcb1-dev qt6-multimedia-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins qt6-charts-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  faketime xvfb xauth x11-utils trayer haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils libglib2.0-bin weston qt6-wayland fonts-wqy-microhei poppler-utils desktop-file-utils appstream librsvg2-bin
  iproute2 procps python3
  libsystemd-dev dbus-daemon systemd python3-dbusmock network-manager ppp
  libsqlite3-dev
  qt6-l10n-tools qt6-tools-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

BUILD_DIR="${BUILD_DIR:-build}"
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
elif [ "$#" -gt 0 ]; then
  cmake -S . -B "$BUILD_DIR" "$@" >/dev/null
fi
cmake --build "$BUILD_DIR" -j2
