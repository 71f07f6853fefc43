#!/usr/bin/env bash
# The live player's flash safety on a private X server.
#   flash_case.sh CASE VOKDEMO PROBE DATA_DIR WORK_DIR
# warning: with a data set whose verdict fails, a message box comes before the
#   show, Return dismisses it and the show's window opens; with --gentle the
#   show opens at once.
# gentle: what the player presents during the credits jitter (every picture
#   with its time, VOK_PRESENTED_FRAMES), read by the flash check at those
#   times, fails as it is and passes both readings with --gentle.
set -uo pipefail

case_name=$1 vokdemo=$2 probe=$3 data=$4 work=$5
rm -rf "$work" && mkdir -p "$work"
player_pid=
xvfb_pid=
export SDL_AUDIODRIVER=dummy

fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

source "$(dirname "$0")/../support/xvfb_steps.sh"

start_player() {
  "$vokdemo" "$@" >"$work/stdout" 2>"$work/stderr" &
  player_pid=$!
}
stop_player() {
  kill "$player_pid" 2>/dev/null
  wait "$player_pid" 2>/dev/null
  player_pid=
}

# The geometries of the windows named vokdemo, one "WxH+X+Y" a line (SDL's
# message box is not found by xdotool's search, so the tree is read).
windows() {
  xwininfo -root -tree 2>/dev/null | grep '"vokdemo"' | grep -oE '[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+'
}

# Waits up to 20 s for a window whose geometry matches the pattern.
wait_window() {
  for _ in $(seq 400); do
    windows | grep -qE "$1" && return
    kill -0 "$player_pid" 2>/dev/null || fail "the player ended: $(cat "$work/stderr")"
    sleep 0.05
  done
  fail "no window like $1; there are: $(windows | tr '\n' ' ')"
}

show='^320x240\+'

case $case_name in
warning)
  start_x 800x600x24
  cp -r "$data" "$work/data"
  printf 'fail\nfails: the test says so\n' >"$work/data/flashes.txt"
  start_player --data "$work/data" --scale 1
  wait_window '.'
  sleep 1
  windows | grep -qE "$show" && fail "the show opened before the warning was dismissed"
  xdotool key Return
  wait_window "$show"
  stop_player
  start_player --data "$work/data" --scale 1 --gentle
  wait_window "$show"
  [ "$(windows | grep -cvE "$show")" -eq 0 ] || fail "a warning with --gentle: $(windows | tr '\n' ' ')"
  ;;
gentle)
  start_x 800x600x24
  for mode in plain gentle; do
    extra=
    [ $mode = gentle ] && extra=--gentle
    VOK_PRESENTED_FRAMES=$work/$mode.frames start_player --data "$data" --scale 1 --start 76 $extra
    wait_window "$show"
    sleep 4
    stop_player
    "$probe" flashes "$work/$mode.frames" >"$work/$mode.txt" || fail "the probe could not read the $mode frames"
    echo "$mode: $(cat "$work/$mode.txt")"
  done
  read -r _ plain_wcag _ _ _ _ _ _ _ frames <"$work/plain.txt"
  [ "$frames" -ge 60 ] || fail "the player presented only $frames frames in 4 s"
  [ "$plain_wcag" = fail ] || fail "the plain show passed as presented: $(cat "$work/plain.txt")"
  grep -q fail "$work/gentle.txt" && fail "the gentle show failed as presented: $(cat "$work/gentle.txt")"
  ;;
*) fail "no case $case_name" ;;
esac
echo "ok"
