#!/usr/bin/env bash
# TAMU for Windows, cross-built on Debian 12 with MinGW-w64:
#   scripts/build-windows.sh           builds, then writes dist/TAMU-<version>-win64.zip and
#                                      dist/TAMU-<version>-setup.exe
#   scripts/build-windows.sh --test    the same, then the Windows tests under Wine
# HOST_BIN=DIR takes the build machine's tools from an existing Linux build's bin folder;
# WINDOWS_BUILD=DIR (default build-windows) is the cross build's folder.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=package
case "${1:-}" in
  --test) mode=test ;;
  "") ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac
jobs=${JOBS:-$(nproc)}
build=${WINDOWS_BUILD:-build-windows}

step() { echo "== Windows: $*"; }
fail() { echo "Windows build failed while $*" >&2; exit 1; }

bash scripts/install-deps.sh || fail "installing the packages"

# The build-time files (sample database, pre-rendered artwork) are made by a build for Linux.
if [ -z "${HOST_BIN:-}" ]; then
  step "tools for the build machine"
  cmake -S . -B build-host -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAMU_BUILD_TESTS=OFF \
    -DTAMU_BUILD_TOOLS=OFF >/dev/null || fail "configuring the tools for the build machine"
  cmake --build build-host -j "$jobs" --target tamu_make_itemdb tamu_prerender_art \
    || fail "building the tools for the build machine"
  HOST_BIN=$PWD/build-host/bin
fi

step "Qt for Windows"
qt=$(bash scripts/build-qt-windows.sh | tail -n 1) || fail "building Qt for Windows"

step "configuring in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DTAMU_HOST_BIN="$(realpath "$HOST_BIN")" -DTAMU_BUILD_TOOLS=OFF -DTAMU_WERROR=ON \
  ${WINDOWS_CMAKE_ARGS:-} >/dev/null || fail "configuring the Windows build"
step "compiling"
cmake --build "$build" -j "$jobs" || fail "compiling the Windows build"

step "packages"
cmake --build "$build" --target windows_packages || fail "writing the packages"
ls -l dist/

if [ "$mode" = test ]; then
  step "tests under Wine"
  # One prefix for the offscreen tests and one for the desktop test, made before they start side
  # by side; the desktop prefix's Wine server must be gone again, so that the test's own one
  # starts on its X display.
  "$build/wine-run.sh" wineboot --init >/dev/null 2>&1 || fail "creating the Wine prefix"
  TAMU_WINEPREFIX=$(realpath -m "$build")/wine-desktop "$build/wine-run.sh" wineboot --init >/dev/null 2>&1 \
    || fail "creating the desktop test's Wine prefix"
  WINEPREFIX=$(realpath -m "$build")/wine-desktop /usr/lib/wine/wineserver -w || true
  (cd "$build" && ctest --output-on-failure -j "$jobs") || fail "running the tests under Wine"
fi
