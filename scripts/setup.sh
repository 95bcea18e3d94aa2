#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the project needs to build, run and test.
# Does nothing when all of them are present.
set -euo pipefail

packages=(
  build-essential g++ clang cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev qt6-l10n-tools qt6-translations-l10n
  libgl-dev libxkbcommon-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  libjpeg62-turbo-dev libjpeg-turbo-progs libuemf-dev
  libbenchmark-dev
  fonts-wqy-microhei fonts-dejavu-core libfontconfig-dev
  libxcb1-dev libxcb-xfixes0-dev libxcb-damage0-dev
  libxcb-xinput-dev
  xvfb xauth openbox xdotool x11-utils imagemagick trayer
  fig2dev pstoedit ghostscript
  sway wtype grim qt6-wayland xwayland dbus dbus-user-session systemd jq procps python3
  qt6-base-private-dev
  libclang-rt-14-dev
  dpkg-dev file lintian desktop-file-utils appstream man-db
  fuse3 libfuse3-dev tesseract-ocr tesseract-ocr-eng strace
  at-spi2-core gir1.2-atspi-2.0 python3-gi python3-pyatspi
  linux-perf hyperfine
  libxcb-screensaver0-dev libwayland-dev wayland-protocols
  dunst swayidle suckless-tools x11-xserver-utils
  qt6-websockets-dev libqrencode-dev curl python3-websockets chromium chromium-driver
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
