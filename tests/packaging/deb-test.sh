#!/usr/bin/env bash
# The Debian package as a user gets it: CPack makes it from this build, lintian checks it, it is
# installed into this very system, /usr/bin/tamu is started under Xvfb with a fresh home (beside
# a TAMU of the build tree, as `make run` starts it), and the package is purged again, leaving
# nothing under /usr. Needs root; exits 77 (CTest's skip) without it, and when a tamu package is
# already installed, which the test leaves alone. Whatever step fails, the package it installed
# is removed and its files are gone.
#   tests/packaging/deb-test.sh <build folder> <version> <the build's bin folder>
set -euo pipefail
build=$(realpath "$1")
version=$2
bin=$(realpath "$3")

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

# The lintian warnings this package may draw, each with the reason it stays (none today). Any
# other warning fails the test, as every error does.
accepted_warnings=()

[ "$(id -u)" -eq 0 ] || skip "installing a package into the system needs root"
status=$(dpkg-query -W -f='${db:Status-Status}' tamu 2>/dev/null || true)
if [ -n "$status" ] && [ "$status" != "not-installed" ]; then
  skip "a tamu package is on this system already ($status); the test does not replace it"
fi

work=$(mktemp -d)
chmod 755 "$work"
installed=""
no_dat_before=""
cleanup() {
  local rc=$?
  # The TAMUs started on the display, should they outlive it.
  if [ -f "$work/tamu.pids" ]; then
    while read -r pid; do kill -KILL "$pid" 2>/dev/null || true; done <"$work/tamu.pids"
  fi
  if [ -n "$installed" ]; then
    apt-get purge -y -qq -o DPkg::Lock::Timeout=120 tamu >/dev/null 2>&1 ||
      dpkg --purge tamu >/dev/null 2>&1 ||
      echo "FAIL: could not remove the package tamu: dpkg --purge tamu" >&2
  fi
  # A TAMU that wrote into /usr/bin despite being installed: its data folder goes too.
  if [ -n "$no_dat_before" ] && [ -e /usr/bin/DAT ]; then
    rm -rf /usr/bin/DAT
  fi
  rm -rf "$work"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# Everything under /usr but Python's byte-code caches (any root Python run may add those) and
# the caches that the icon theme's and the desktop entries' triggers rebuild.
usr_listing() {
  find /usr -xdev \( -name __pycache__ -prune \) -o \
    \( ! -name icon-theme.cache ! -name mimeinfo.cache -print \) | LC_ALL=C sort
}

step "cpack -G DEB"
# The package is written into the test's folder; the build folder is only read.
if ! timeout 300 cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/cpack" \
    >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack could not make the package"
fi
arch=$(dpkg --print-architecture)
deb=$work/cpack/tamu_${version}_${arch}.deb
[ -f "$deb" ] || { cat "$work/cpack.log" >&2; fail "cpack wrote no $(basename "$deb")"; }
dpkg-deb --field "$deb"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tamu ] || fail "the package is named $(field Package)"
[ "$(field Version)" = "$version" ] || fail "the package's version is $(field Version), not $version"
[ "$(field Section)" = utils ] || fail "the package's section is $(field Section)"
[ -n "$(field Maintainer)" ] || fail "the package has no maintainer"
# dpkg-shlibdeps ran when the libraries the programs link are there; the rest is named by hand.
for dep in libqt6widgets6 libqt6sql6 libmdb3 libsqlite3-0 libqt6sql6-sqlite fonts-ipafont-gothic; do
  field Depends | tr ',' '\n' | grep -qE "^ *$dep( |$)" || fail "the package does not depend on $dep"
done
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
for f in /usr/bin/tamu /usr/bin/tamu-import-mdb /usr/share/tamu/TAMU_Item.db \
         /usr/share/applications/tamu.desktop /usr/share/icons/hicolor/scalable/apps/tamu.svg \
         /usr/share/man/man1/tamu.1.gz /usr/share/man/man1/tamu-import-mdb.1.gz \
         /usr/share/doc/tamu/copyright /usr/share/doc/tamu/changelog.gz; do
  grep -qxF "$f" "$work/contents" || fail "the package lacks $f"
done
grep -qE '^/usr/share/metainfo/[^/]+\.metainfo\.xml$' "$work/contents" ||
  fail "the package has no AppStream entry in /usr/share/metainfo"
dpkg-deb --extract "$deb" "$work/unpacked"
appstreamcli validate-tree --no-net "$work/unpacked" || fail "appstreamcli refused the package's tree"

step "lintian"
timeout 300 lintian --fail-on none --display-info --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log" >&2; fail "lintian did not run"; }
cat "$work/lintian.log"
if grep -q '^E: ' "$work/lintian.log"; then
  fail "lintian found errors"
fi
while read -r tag; do
  printf '%s\n' "${accepted_warnings[@]}" | grep -qxF "$tag" ||
    fail "lintian warns of $tag: fix it, or accept it in this script with the reason"
done < <(sed -n 's/^W: [^:]*: \([^ ]*\).*/\1/p' "$work/lintian.log" | sort -u)

step "install"
[ ! -e /usr/bin/DAT ] || fail "/usr/bin/DAT is there before the test; the installed TAMU would use it"
no_dat_before=1
usr_listing >"$work/usr.before"
# Everything it depends on is there already (scripts/install-deps.sh installs it); apt-get would
# fetch the rest, so a missing dependency is named rather than installed.
plan=$(apt-get install -s -o Debug::NoLocking=1 --no-install-recommends "$deb" 2>&1) ||
  { echo "$plan" >&2; fail "apt-get cannot install the package"; }
others=$(sed -n 's/^Inst \([^ ]*\).*/\1/p' <<<"$plan" | grep -vx tamu || true)
[ -z "$others" ] || fail "the package needs packages this system lacks: $others"
installed=1
timeout 180 apt-get install -y -qq -o DPkg::Lock::Timeout=120 --no-install-recommends "$deb" \
  >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get could not install the package"; }
[ "$(dpkg-query -W -f='${db:Status-Abbrev}' tamu)" = "ii " ] || fail "tamu is not installed after apt-get"
echo "ok: installed"

step "/usr/bin/tamu under Xvfb, beside a TAMU of the build tree"
# A copy of the build tree's TAMU, as `make run` starts it, with the data folder beside it.
portable=$work/portable
mkdir -p "$portable/DAT"
cp "$bin/tamu" "$bin/tamu-import-mdb" "$portable/"
cp "$bin/DAT/TAMU_Item.db" "$portable/DAT/"
home=$work/home
mkdir -p "$home" "$work/run"
chmod 700 "$work/run"
cat >"$work/on-display.sh" <<'SCRIPT'
set -euo pipefail
portable=$1 report=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
pids=()
trap 'for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done' EXIT
# start <program>: starts it, its output in a file of the report, its id noted for the clean-up.
start() {
  "$1" >"$report.$(basename "$(dirname "$1")")" 2>&1 &
  pids+=($!)
  echo $! >>"$report.pids"
}
# wait_controller <pid>: the controller of that process is mapped on the display.
wait_controller() {
  timeout 60 xdotool search --sync --all --onlyvisible --pid "$1" --name '^TAMU コントローラー$' \
    >/dev/null || fail "no controller window of process $1 appeared within 60 s"
}
start "$portable/tamu"
wait_controller "${pids[0]}"
start /usr/bin/tamu
wait_controller "${pids[1]}"
for pid in "${pids[@]}"; do
  kill -0 "$pid" 2>/dev/null || fail "process $pid ended while its controller was shown"
done
echo "ok: both controllers shown"
# SIGTERM closes TAMU as its end button does, writing its files.
for pid in "${pids[@]}"; do
  kill -TERM "$pid"
  status=0
  timeout 30 tail --pid="$pid" -f /dev/null || fail "process $pid did not end on SIGTERM"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "process $pid ended with status $status"
done
pids=()
: >"$report.pids"  # ended, so their ids are no longer theirs to kill
SCRIPT
(
  cd "$work"
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME -u WAYLAND_DISPLAY \
      -u QT_QPA_PLATFORM -u DBUS_SESSION_BUS_ADDRESS \
      HOME="$home" XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8 \
      timeout 240 xvfb-run -a -s "-screen 0 1280x1024x24" \
      bash "$work/on-display.sh" "$portable" "$work/tamu"
) || {
  for f in "$work"/tamu.portable "$work"/tamu.bin; do echo "-- $f"; cat "$f"; done >&2
  fail "the installed TAMU did not run on the display"
}
[ ! -e /usr/bin/DAT ] || fail "the installed TAMU made a data folder in /usr/bin"
data=$home/.local/share/TAMU/DAT
cmp -s "$data/TAMU_Item.db" /usr/share/tamu/TAMU_Item.db ||
  fail "the installed TAMU did not seed $data/TAMU_Item.db from /usr/share/tamu"
[ -s "$data/TAMU.ini" ] || fail "the installed TAMU wrote no TAMU.ini into $data when it closed"
[ -s "$portable/DAT/TAMU.ini" ] || fail "the build tree's TAMU wrote no TAMU.ini beside itself"
echo "ok: data in $data, the item database seeded; the build tree's TAMU kept its own DAT"

step "purge"
timeout 180 apt-get purge -y -qq -o DPkg::Lock::Timeout=120 tamu >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; fail "apt-get could not purge the package"; }
installed=""
status=$(dpkg-query -W -f='${db:Status-Status}' tamu 2>/dev/null || true)
[ -z "$status" ] || [ "$status" = "not-installed" ] || fail "tamu is still known to dpkg: $status"
usr_listing >"$work/usr.after"
left=$(LC_ALL=C comm -13 "$work/usr.before" "$work/usr.after")
[ -z "$left" ] || fail "left under /usr after the purge: $left"
echo "ok: purged, nothing left under /usr"
