#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Quick when everything is present; needs root only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev qt6-qpa-plugins
  libjpeg62-turbo-dev libgtest-dev libgmock-dev
  xvfb xauth xdotool imagemagick x11-utils
  libhamlib-utils ser2net python3-serial dbus dbus-x11 at-spi2-core python3-pyatspi fonts-dejavu-core locales
  desktop-file-utils
  debhelper lintian libjpeg-dev man-db
  qt6-serialport-dev libserialport-dev
  g++-mingw-w64-x86-64-posix googletest wine64
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
  echo "install-deps: these Debian packages are missing: ${missing[*]}" >&2
  echo "install-deps: run this script as root (sudo $0) to install them." >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq </dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
