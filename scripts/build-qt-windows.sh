#!/usr/bin/env bash
# Cross-builds the part of Qt 6 that TAMU uses for 64-bit Windows with Debian's MinGW-w64, from
# Debian's own qtbase and sqlite3 sources (the same Qt as the host's), into a cache folder outside
# the checkout. A finished build is reused; one without its completion mark (a build that stopped
# half-way, a folder someone emptied) is removed and built again, never half used.
#
#   scripts/build-qt-windows.sh            builds if needed and prints the Qt folder
#   TAMU_WINDOWS_CACHE=DIR                 where the cache lives (default ~/.cache/tamu-windows)
set -euo pipefail

qt_version=6.4.2
qt_deb=6.4.2+dfsg-10
qt_orig=qt6-base_6.4.2+dfsg.orig.tar.xz
qt_sha256=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e
sqlite_deb=3.40.1-2+deb12u2
sqlite_orig=sqlite3_3.40.1.orig.tar.xz
sqlite_sha256=aaa776260ab4dc976db34aa7891819484c8676b5b2783123ebc6301e2ca5d655

cache=${TAMU_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tamu-windows}
jobs=${JOBS:-$(nproc)}

toolchain='set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)'

# Only what TAMU links: Core, Gui, Widgets, Sql (SQLite, ODBC), Network, Test and the windows,
# offscreen and windowsvista plugins. SQLite is one sqlite3.dll that Qt's driver and TAMU both
# link, since TAMU works on the driver's own connection handle; every other third-party library
# is Qt's own copy, since Debian has no MinGW builds of them.
configure_args=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=ON -DFEATURE_sql_odbc=ON
  -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF
  -DFEATURE_sql_db2=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_zstd=OFF -DFEATURE_openssl=OFF
  -DFEATURE_icu=OFF
)

# The options of Debian's own libsqlite3 that a reader of item databases may meet.
sqlite_flags=(
  -O2 -shared -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS3
  -DSQLITE_ENABLE_FTS5 -DSQLITE_ENABLE_RTREE -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_SECURE_DELETE
  -DSQLITE_MAX_SCHEMA_RETRY=25 -DSQLITE_MAX_VARIABLE_NUMBER=250000 "-DSQLITE_API=__declspec(dllexport)"
)

# Everything that decides what is built names the cache folder, so a change builds anew beside it.
key=$(printf '%s\n' "$qt_deb" "$sqlite_deb" "$toolchain" "${configure_args[@]}" "${sqlite_flags[@]}" | sha256sum | cut -c1-12)
prefix="$cache/qt-$qt_version-mingw64-$key"
mark="$prefix/.complete"
# What TAMU's Windows build needs from the folder; a mark without them is a damaged cache.
needed=(bin/sqlite3.dll lib/libsqlite3.dll.a include/sqlite3.h bin/Qt6Core.dll bin/Qt6Widgets.dll bin/Qt6Sql.dll bin/Qt6Network.dll bin/Qt6Test.dll
  plugins/platforms/qwindows.dll plugins/platforms/qoffscreen.dll plugins/sqldrivers/qsqlite.dll
  plugins/sqldrivers/qsqlodbc.dll plugins/styles/qwindowsvistastyle.dll
  lib/cmake/Qt6/qt.toolchain.cmake toolchain-mingw64.cmake)

intact() {
  [ -f "$mark" ] || return 1
  local f
  for f in "${needed[@]}"; do [ -s "$prefix/$f" ] || return 1; done
}

if intact; then
  echo "$prefix"
  exit 0
fi

step() { echo "== Qt for Windows: $*" >&2; }
fail() { echo "Qt for Windows: $* failed" >&2; exit 1; }

for tool in x86_64-w64-mingw32-g++-posix cmake ninja tclsh make; do
  command -v "$tool" >/dev/null || fail "finding $tool (run scripts/install-deps.sh)"
done

step "building into $prefix (about 20 minutes on two cores)"
rm -rf "$prefix"
mkdir -p "$prefix"
work=$(mktemp -d "$cache/build.XXXXXX")
trap 'rm -rf "$work"' EXIT

step "fetching Debian's sources of qt6-base $qt_deb and sqlite3 $sqlite_deb"
# Source entries of the machine's own Debian suite, in files of this build only.
mkdir -p "$work/apt/lists/partial"
cat >"$work/apt/debian-src.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt_opts=(-o "Dir::Etc::SourceList=$work/apt/debian-src.sources" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/apt/lists" -o APT::Sandbox::User=root -qq)
apt-get "${apt_opts[@]}" update >&2 || fail "reading the source lists"
(cd "$work" && apt-get "${apt_opts[@]}" source --download-only \
  "qt6-base=$qt_deb" "sqlite3=$sqlite_deb" >&2) || fail "downloading the sources"
echo "$qt_sha256  $work/$qt_orig
$sqlite_sha256  $work/$sqlite_orig" | sha256sum -c --quiet - >&2 || fail "checking the sources' hashes"

step "building sqlite3.dll"
mkdir -p "$work/sqlite" "$prefix/bin" "$prefix/lib" "$prefix/include"
tar -xJf "$work/$sqlite_orig" -C "$work/sqlite" --strip-components=1
(cd "$work/sqlite" && ./configure --quiet >/dev/null && make -s sqlite3.c >/dev/null) \
  || fail "making sqlite3.c"
x86_64-w64-mingw32-gcc-posix "${sqlite_flags[@]}" \
  "$work/sqlite/sqlite3.c" -o "$prefix/bin/sqlite3.dll" \
  -Wl,--out-implib,"$prefix/lib/libsqlite3.dll.a" || fail "compiling sqlite3.dll"
cp "$work/sqlite/sqlite3.h" "$work/sqlite/sqlite3ext.h" "$prefix/include/"

step "unpacking qtbase"
mkdir -p "$work/qtbase"
tar -xJf "$work/$qt_orig" -C "$work/qtbase" --strip-components=1

printf '%s\n' "$toolchain" >"$prefix/toolchain-mingw64.cmake"
step "configuring"
cmake -S "$work/qtbase" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$prefix/toolchain-mingw64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DSQLite3_INCLUDE_DIR="$prefix/include" -DSQLite3_LIBRARY="$prefix/lib/libsqlite3.dll.a" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${configure_args[@]}" >"$work/configure.log" 2>&1 \
  || { tail -n 60 "$work/configure.log" >&2; fail "configuring qtbase"; }
step "compiling"
cmake --build "$work/build" -j "$jobs" >"$work/build.log" 2>&1 \
  || { grep -B5 -A20 -m3 -E 'error|FAILED' "$work/build.log" >&2; fail "compiling qtbase"; }
step "installing"
cmake --install "$work/build" >"$work/install.log" 2>&1 \
  || { tail -n 30 "$work/install.log" >&2; fail "installing qtbase"; }

printf 'qt6-base %s\nsqlite3 %s\n' "$qt_deb" "$sqlite_deb" >"$mark"
intact || fail "checking the installed files"
step "done"
echo "$prefix"
