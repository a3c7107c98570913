#!/usr/bin/env bash
# The real TAMU on a real X server with a real window manager (Xvfb + openbox), driven with
# xdotool. Every step waits on a condition (a window mapped, a frame in place) with a time-out.
#   tests/desktop/run-desktop-test.sh <path to the built tamu>
#   TAMU_WINE_RUN=<build>/wine-run.sh tests/desktop/run-desktop-test.sh <installed TAMU>/tamu.exe
# The program runs from a temporary copy of its folder, so its DAT folder is the test's own. The
# Windows build runs under Wine from a copy of its installed folder, with nothing but what a
# player gets: it makes its DAT folder and seeds the item database itself.
set -euo pipefail

if [ -z "${TAMU_DESKTOP_INNER:-}" ]; then
  tamu=$(realpath "$1")
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -br" \
    env TAMU_DESKTOP_INNER=1 bash "$(realpath "$0")" "$tamu"
fi

tamu=$1
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
helpers=()
tamu_pid=""
cleanup() {
  [ -n "$tamu_pid" ] && kill "$tamu_pid" 2>/dev/null
  for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  import -window root "${TAMU_DESKTOP_SHOT:-/tmp}/tamu-desktop-failure.png" 2>/dev/null || true
  echo "-- windows log" >&2
  cat "$work/windows.log" >&2
  exit 1
}
t0=$(date +%s%N)
pass() { echo "ok ($(( ($(date +%s%N) - t0) / 1000000 )) ms): $*"; }

# wait_until <seconds> <description> <command...>: runs the command every 50 ms until it succeeds.
wait_until() {
  local limit=$(( $(date +%s%N) + $1 * 1000000000 )) what=$2
  shift 2
  until "$@"; do
    [ "$(date +%s%N)" -lt "$limit" ] || fail "timed out waiting for $what"
    sleep 0.05
  done
}

log=$work/windows.log
log_lines() { wc -l <"$log"; }
# The id in the first line after line $1 of the window log that matches $2.
log_match() { tail -n +"$(( $1 + 1 ))" "$log" | grep -m1 -E "$2" | awk '{print $2}'; }
# wait_window <from line> <caption>: waits for a window with that caption to be mapped; its id.
wait_window() {
  local id=""
  local limit=$(( $(date +%s%N) + 20000000000 ))
  until id=$(log_match "$1" "^map 0x[0-9a-f]+ $2\$") && [ -n "$id" ]; do
    [ "$(date +%s%N)" -lt "$limit" ] || fail "no window 「$2」 appeared"
    sleep 0.05
  done
  echo "$id"
}
wait_gone() {
  wait_until 20 "window $2 to go" sh -c "tail -n +$(( $1 + 1 )) '$log' | grep -qE '^(unmap|destroy) $2 '"
}

# Client rectangle and frame extents of a window: the outer frame as "left top right bottom",
# right and bottom one past the last pixel.
outer_frame() {
  local info ax ay w h ext l=0 r=0 t=0 b=0
  info=$(xwininfo -id "$1")
  ax=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
  ay=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
  w=$(awk '/Width:/ {print $2}' <<<"$info")
  h=$(awk '/Height:/ {print $2}' <<<"$info")
  ext=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ,)
  [ -n "$ext" ] && read -r l r t b <<<"$ext"
  echo "$(( ax - l )) $(( ay - t )) $(( ax + w + r )) $(( ay + h + b ))"
}
client_rect() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# The colours at several points of a picture, in one pass: pixels <file> "x y"...
pixels() {
  local file=$1 format="" x y
  shift
  for point in "$@"; do
    read -r x y <<<"$point"
    format+="%[pixel:p{$x,$y}] "
  done
  convert "$file" -format "$format" info:
}
grab() { import -window root "$1"; }

# -- the desktop: window log, window manager, a copy of the program folder
/usr/bin/python3 "$here/xwatch.py" >"$log" 2>"$work/xwatch.err" &
helpers+=($!)
wait_until 10 "the window log" grep -q '^ready' "$log"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
helpers+=($!)
wait_until 10 "openbox" sh -c 'xprop -root _NET_WORKAREA 2>/dev/null | grep -q CARDINAL'
read -r wa_x wa_y wa_w wa_h < <(xprop -root _NET_WORKAREA | sed 's/.*= //' | tr -d , | awk '{print $1, $2, $3, $4}')
wa_right=$(( wa_x + wa_w ))
wa_bottom=$(( wa_y + wa_h ))

if [[ $tamu == *.exe ]]; then
  mkdir -p "$work/TAMU"
  cp -r "$(dirname "$tamu")/." "$work/TAMU/"
  program=("${TAMU_WINE_RUN:?the Wine runner of the Windows build}" "$work/TAMU/tamu.exe")
  platform=windows
else
  mkdir -p "$work/TAMU/DAT"
  cp "$tamu" "$work/TAMU/tamu"
  cp "$(dirname "$tamu")/DAT/TAMU_Item.db" "$work/TAMU/DAT/"
  program=("$work/TAMU/tamu")
  platform=xcb
fi
dat=$work/TAMU/DAT

start_tamu() {
  (cd "$work" && exec env QT_QPA_PLATFORM=$platform LANG=C.UTF-8 "${program[@]}" >>"$work/tamu.log" 2>&1) &
  tamu_pid=$!
}
wait_tamu_ended() {
  wait_until 20 "the program to end" sh -c "! kill -0 $tamu_pid 2>/dev/null"
  wait "$tamu_pid" || fail "the program ended with status $?"
  tamu_pid=""
}

# Clicks at a point of a window's client area.
click_in() {
  local x y w h
  read -r x y w h < <(client_rect "$1")
  # Under Wine the X window holds the frame that Wine draws around the client area: a 3 px
  # border and the caption above the controller's 55 px.
  if [ "$platform" = windows ]; then
    x=$(( x + 3 ))
    y=$(( y + h - 55 - 3 ))
  fi
  # The server takes the move before the click; no --sync, which stalls when the pointer is
  # already there.
  xdotool mousemove $(( x + $2 )) $(( y + $3 )) click "${4:-1}"
}
# Controller buttons, centres in its client area: ToolBar1 from x 13, 39 px each; the end button
# of ToolBar3 after it.
button_x() { echo $(( 13 + 39 * $1 + 19 )); }
end_x=287
button_y=27

# -- first start: the splash comes and goes, the controller sits in the corner
from=$(log_lines)
start_tamu
splash=$(wait_window "$from" "バージョン情報")
controller=$(wait_window "$from" "TAMU コントローラー")
wait_gone "$from" "$splash"
pass "splash $splash appeared and went"

# Wine draws the frames of Windows programs itself, past the window manager's view of them: the
# frame, see-through and stay-on-top checks are the Linux build's.
if [ "$platform" = xcb ]; then
corner="$(( wa_right - 10 )) $(( wa_bottom - 10 ))"
frame_in_corner() { [ "$(outer_frame "$controller" | awk '{print $3, $4}')" = "$corner" ]; }
wait_until 10 "the controller's frame to end at $corner (it is at $(outer_frame "$controller"))" \
  frame_in_corner
pass "controller frame $(outer_frame "$controller") ends 10 px in from the work area's corner"
fi

# -- each tool button opens its window, and a second press closes it
captions=("ステータス計算機" "時間・タイマー" "船発着時刻表" "生産レシピ検索" "航路案内" "時刻パネル")
for i in 0 1 2 3 4 5; do
  from=$(log_lines)
  click_in "$controller" "$(button_x $i)" $button_y
  window=$(wait_window "$from" "${captions[$i]}")
  from=$(log_lines)
  click_in "$controller" "$(button_x $i)" $button_y
  wait_gone "$from" "$window"
  pass "button $i opened and closed 「${captions[$i]}」"
done

if [ "$platform" = xcb ]; then
# -- the clock: see-through outside its disc, before and after 常に手前に表示
# Its corners show what was beneath it, its disc is drawn, and the key colour shows nowhere.
check_see_through() {
  local clock=$1 before=$2 after=$work/after.ppm x y w h was now
  read -r x y w h < <(client_rect "$clock")
  # A point on the disc first, then the four corners and a point in the corner outside the disc.
  local points=("$(( x + w / 2 )) $(( y + h / 4 ))" "$x $y" "$(( x + w - 1 )) $y"
                "$x $(( y + h - 1 ))" "$(( x + w - 1 )) $(( y + h - 1 ))"
                "$(( x + w / 10 )) $(( y + h / 10 ))")
  was=$(pixels "$before" "${points[@]}")
  painted() { grab "$after" && now=$(pixels "$after" "${points[@]}") && [ "${now%% *}" != "${was%% *}" ]; }
  wait_until 10 "the clock to be painted" painted
  [ "${now#* }" = "${was#* }" ] ||
    fail "the clock is not see-through outside its disc: ${now#* } where the desktop had ${was#* }"
  convert "$after" -crop "${w}x${h}+${x}+${y}" +repage -format %c histogram:info:- |
    grep -qi '#FF0000 ' && fail "the key colour shows in the clock window"
  true
}

grab "$work/before.ppm"
from=$(log_lines)
click_in "$controller" "$(button_x 1)" $button_y
clock=$(wait_window "$from" "時間・タイマー")
check_see_through "$clock" "$work/before.ppm"
clock_rect=$(client_rect "$clock")
pass "clock $clock_rect is see-through outside its disc"

from=$(log_lines)
read -r x y w h <<<"$clock_rect"
click_in "$clock" $(( w / 2 )) $(( h / 4 )) 3
wait_until 10 "the clock's menu" sh -c "tail -n +$(( from + 1 )) '$log' | grep -qE '^map '"
xdotool key t
above() { xprop -id "$(log_match "$from" '^map 0x[0-9a-f]+ 時間・タイマー$')" _NET_WM_STATE 2>/dev/null |
  grep -q _NET_WM_STATE_ABOVE; }
wait_until 10 "the clock to stay on top" above
clock=$(log_match "$from" '^map 0x[0-9a-f]+ 時間・タイマー$')
[ "$(client_rect "$clock")" = "$clock_rect" ] ||
  fail "staying on top moved the clock from $clock_rect to $(client_rect "$clock")"
check_see_through "$clock" "$work/before.ppm"
pass "常に手前に表示: on top, still at $clock_rect and see-through"
fi

if [ "$platform" = windows ]; then
  click_in "$controller" $end_x $button_y
  wait_tamu_ended
  ini_value() { sed -n "s/^$2=//p" "$dat/$1" | tr -d '\r'; }
  for key in Top Left; do
    [ -n "$(ini_value TAMU.ini "$key")" ] || fail "TAMU.ini has no $key"
  done
  for key in SetTime NowDate NowTime; do
    [ -n "$(ini_value TAMUTime.log "$key")" ] || fail "TAMUTime.log has no $key"
  done
  [ -s "$dat/TAMU_Item.db" ] || fail "the item database was not seeded into DAT"
  pass "end button: TAMU.ini and TAMUTime.log written, DAT seeded from share\\tamu"
  from=$(log_lines)
  start_tamu
  controller=$(wait_window "$from" "TAMU コントローラー")
  click_in "$controller" $end_x $button_y
  wait_tamu_ended
  pass "second start reads the files back and ends"
  exit 0
fi

# -- the end button closes the program; both settings files hold what they should. The
# controller is moved first, so that the saved position is not the default one.
from=$(log_lines)
click_in "$controller" "$(button_x 1)" $button_y
wait_gone "$from" "$clock"
# 航路案内 opens clear of the controller, inside the work area; moved (clear of where the
# controller goes next) and left open, it is remembered at the end.
from=$(log_lines)
click_in "$controller" "$(button_x 4)" $button_y
journeys=$(wait_window "$from" "航路案内")
clear_of_controller() {
  local l1 t1 r1 b1 l2 t2 r2 b2
  read -r l1 t1 r1 b1 < <(outer_frame "$journeys")
  read -r l2 t2 r2 b2 < <(outer_frame "$controller")
  [ "$l1" -ge "$wa_x" ] && [ "$t1" -ge "$wa_y" ] && [ "$r1" -le "$wa_right" ] &&
    [ "$b1" -le "$wa_bottom" ] && { [ "$r1" -le "$l2" ] || [ "$r2" -le "$l1" ] ||
    [ "$b1" -le "$t2" ] || [ "$b2" -le "$t1" ]; }
}
wait_until 10 "航路案内 ($(outer_frame "$journeys")) clear of the controller ($(outer_frame "$controller"))" \
  clear_of_controller
pass "航路案内 $(outer_frame "$journeys") opened clear of the controller $(outer_frame "$controller")"
xdotool windowmove --sync "$journeys" 40 300
read -r j_left j_top _ _ < <(outer_frame "$journeys")
xdotool windowmove --sync "$controller" 300 200
read -r left top _ _ < <(outer_frame "$controller")
click_in "$controller" $end_x $button_y
wait_tamu_ended
ini_value() { sed -n "s/^$2=//p" "$dat/$1" | tr -d '\r'; }
[ "$(ini_value TAMUWindows.ini Left 2>/dev/null)" = "$j_left" ] &&
  [ "$(ini_value TAMUWindows.ini Top 2>/dev/null)" = "$j_top" ] ||
  fail "TAMUWindows.ini holds Left=$(ini_value TAMUWindows.ini Left) Top=$(ini_value TAMUWindows.ini Top), not $j_left/$j_top"
[ "$(ini_value TAMU.ini Top)" = "$top" ] && [ "$(ini_value TAMU.ini Left)" = "$left" ] ||
  fail "TAMU.ini holds Top=$(ini_value TAMU.ini Top) Left=$(ini_value TAMU.ini Left), not $top/$left"
for key in SetTime NowDate NowTime; do
  [ -n "$(ini_value TAMUTime.log "$key")" ] || fail "TAMUTime.log has no $key"
done
[ "$(ini_value TAMUClock.ini StayOnTop)" = 1 ] || fail "TAMUClock.ini does not keep 常に手前に表示"
pass "end button: TAMU.ini Top=$top Left=$left, TAMUTime.log anchored, TAMUClock.ini StayOnTop=1, TAMUWindows.ini Left=$j_left Top=$j_top"

# -- second start: the saved position and 常に手前に表示 come back
from=$(log_lines)
start_tamu
controller=$(wait_window "$from" "TAMU コントローラー")
at_saved() { [ "$(outer_frame "$controller" | awk '{print $1, $2}')" = "$left $top" ]; }
wait_until 10 "the controller at its saved place $left,$top (it is at $(outer_frame "$controller"))" \
  at_saved
from=$(log_lines)
click_in "$controller" "$(button_x 1)" $button_y
clock=$(wait_window "$from" "時間・タイマー")
xprop -id "$clock" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the clock forgot 常に手前に表示"
from=$(log_lines)
click_in "$controller" "$(button_x 4)" $button_y
journeys=$(wait_window "$from" "航路案内")
at_left() { [ "$(outer_frame "$journeys" | awk '{print $1, $2}')" = "$j_left $j_top" ]; }
wait_until 10 "航路案内 back at $j_left,$j_top (it is at $(outer_frame "$journeys"))" at_left
click_in "$controller" $end_x $button_y
wait_tamu_ended
pass "second start: controller back at $left,$top, clock on top, 航路案内 at $j_left,$j_top"

# -- third start without the item database: before the controller, a box says the database is
# missing; once it is answered TAMU carries on and ends as ever.
if [ "$platform" = xcb ]; then
rm "$dat/TAMU_Item.db"
from=$(log_lines)
start_tamu
box=$(wait_window "$from" "TAMU")
[ -z "$(log_match "$from" "^map 0x[0-9a-f]+ TAMU コントローラー\$")" ] ||
  fail "the controller showed before the missing database was reported"
xprop -id "$box" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG ||
  fail "the missing-database message is no dialog box"
xdotool windowactivate --sync "$box" key --clearmodifiers Return
wait_gone "$from" "$box"
controller=$(wait_window "$from" "TAMU コントローラー")
click_in "$controller" $end_x $button_y
wait_tamu_ended
pass "third start without TAMU_Item.db: the message box $box came before the controller"
fi
