#!/usr/bin/env bash
# Installs the Debian 12 packages that TAMU needs to build, run and test; only what is missing,
# so a second run costs a second. Works as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6sql6-sqlite libsqlite3-dev libgl-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core fonts-dejavu-extra
  libqt6opengl6-dev mdbtools-dev libglib2.0-dev odbc-mdbtools libqt6sql6-odbc unixodbc-dev
  clang libclang-rt-14-dev libbenchmark-dev ccache
  xvfb xauth openbox xdotool x11-utils imagemagick dbus notification-daemon python3-xlib
  qt6-wayland
  # The Debian package: file for CPack's scan of the programs (dpkg-shlibdeps is in dpkg-dev,
  # below), appstreamcli and lintian to check it.
  file appstream lintian
  # TAMU for Windows: the cross compiler, Wine with what its X11 driver loads, the installer's
  # compiler, Qt's Japanese texts; tcl makes SQLite's single source file.
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine64 nsis qt6-translations-l10n tcl dpkg-dev
  libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1
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
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
