#!/usr/bin/env bash
# The Windows installer under Wine, silently, as a player without administrator rights runs it:
# it lays out TAMU and its Start-menu entry; the uninstaller takes them away and leaves the
# player's DAT folder.
#   TAMU_WINE_RUN=<build>/wine-run.sh tests/packaging/installer-test.sh <setup.exe>
set -euo pipefail
setup=$(realpath "$1")
run=${TAMU_WINE_RUN:?the Wine runner of the Windows build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { echo "Z:${1//\//\\}"; }

target=$work/TAMU
"$run" "$setup" /S "/D=$(winpath "$target")" || fail "the installer ended with status $?"
for f in tamu.exe tamu-import-mdb.exe Qt6Core.dll sqlite3.dll platforms/qwindows.dll \
         sqldrivers/qsqlite.dll fonts/ipag.ttf fonts/DejaVuSerifCondensed.ttf translations/qtbase_ja.qm \
         share/tamu/TAMU_Item.db \
         uninstall.exe; do
  [ -s "$target/$f" ] || fail "the installer did not write $f"
done
[ ! -e "$target/DAT" ] || fail "the installer wrote a DAT folder"
echo "ok: installed into $target"

mkdir -p "$target/DAT"
printf '[Controler]\r\nTop=1\r\n' >"$target/DAT/TAMU.ini"
# _?= keeps the uninstaller in place, so that the test waits for it.
"$run" "$target/uninstall.exe" /S "_?=$(winpath "$target")" || fail "the uninstaller ended with status $?"
for f in tamu.exe Qt6Core.dll platforms fonts share; do
  [ ! -e "$target/$f" ] || fail "the uninstaller left $f"
done
[ "$(cat "$target/DAT/TAMU.ini")" = "$(printf '[Controler]\r\nTop=1\r\n')" ] ||
  fail "the uninstaller did not keep DAT/TAMU.ini"
echo "ok: uninstalled, DAT kept"
