#!/usr/bin/env bash
# One case of the live player's tests, on a private X server.
#   player_case.sh CASE VOKDEMO PROBE DATA_DIR WORK_DIR
# Cases: window, scale, fullscreen, escape, audio, end, no-music, no-audio, no-mesh.
set -uo pipefail

case_name=$1 vokdemo=$2 probe=$3 data=$4 work=$5
rm -rf "$work" && mkdir -p "$work"
title_picture=$data/vok_zumber.pcx
player_pid=
xvfb_pid=

fail() { echo "FAIL: $*"; exit 1; }

cleanup() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# A private X server on the first free display: -displayfd lets several
# cases run at once without racing for a display number.
start_x() {
  local size=${1:-1024x768x24}
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$(head -1 "$work/display")
}

# Starts the player in the background with the given arguments.
start_player() {
  "$vokdemo" "$@" --data "$data" >"$work/stdout" 2>"$work/stderr" &
  player_pid=$!
}

# Waits up to $1 seconds for the player to end; sets exit_code and ended_ms.
wait_player() {
  local limit=$1 waited=0
  while kill -0 "$player_pid" 2>/dev/null; do
    [ "$waited" -ge $(( limit * 100 )) ] && fail "the player did not end within $limit s"
    sleep 0.01
    waited=$(( waited + 1 ))
  done
  wait "$player_pid"
  exit_code=$?
  ended_ms=$(now_ms)
  player_pid=
}

# Sets window to the id of the player's window, waiting up to 30 s for it (a loaded machine is slow to start it).
find_window() {
  window=
  local deadline=$(( $(now_ms) + 30000 ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    window=$(xdotool search --onlyvisible --name '^vokdemo$' 2>/dev/null | head -1)
    [ -n "$window" ] && return
    kill -0 "$player_pid" 2>/dev/null || fail "the player ended early: $(cat "$work/stderr")"
    sleep 0.05
  done
  xwininfo -root -tree >"$work/tree.txt" 2>&1
  fail "no window appeared"
}

window_geometry() { xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'; }

# Sets pressed_ms to the moment just before the key goes out.
press_escape() {
  xdotool windowfocus --sync "$window" 2>/dev/null
  pressed_ms=$(now_ms)
  xdotool key Escape
}

screenshot() { import -window root "$work/shot.png" || fail "no screenshot"; }

# The title fades in over the first 5.5 s: about 0.36 at 2 s.
check_title() {
  "$probe" picture "$work/shot.png" "$title_picture" "$@" || fail "the screen does not show the fading title"
}

# A data folder with one file left out.
data_without() {
  mkdir -p "$work/data"
  for f in "$data"/*; do
    [ "$(basename "$f")" = "$1" ] || ln -s "$f" "$work/data/"
  done
  data=$work/data
}

expect_exit() { [ "$exit_code" -eq "$1" ] || fail "exit code $exit_code, not $1; stderr: $(cat "$work/stderr")"; }

export SDL_AUDIODRIVER=dummy

case "$case_name" in
  window)
    start_x
    start_player
    find_window
    sleep 2
    read -r x y w h <<<"$(window_geometry)"
    # 1024x768 holds 960x720, but not with a title bar: twice is the largest that fits.
    [ "$x $y $w $h" = "10 10 640 480" ] || fail "window at $x,$y size ${w}x$h, not 10,10 640x480"
    screenshot
    check_title 10 10 2 0.05 0.6
    press_escape
    wait_player 5
    expect_exit 0
    ;;
  scale)
    start_x
    start_player --scale 1
    find_window
    sleep 2
    read -r x y w h <<<"$(window_geometry)"
    [ "$w $h" = "320 240" ] || fail "window size ${w}x$h, not 320x240"
    screenshot
    check_title "$x" "$y" 1 0.05 0.6
    press_escape
    wait_player 5
    expect_exit 0
    ;;
  fullscreen)
    start_x
    start_player 1
    find_window
    sleep 2
    screenshot
    # 1024x768 holds the picture three times over: 960x720 at (32, 24).
    check_title 32 24 3 0.05 0.6 --black-outside
    press_escape
    wait_player 5
    expect_exit 0
    ;;
  escape)
    start_x
    start_player
    find_window
    sleep 1
    press_escape
    wait_player 5
    expect_exit 0
    took=$(( ended_ms - pressed_ms ))
    echo "ended $took ms after Escape"
    limit=${VOK_ESCAPE_LIMIT_MS:-1000}
    [ "$took" -le "$limit" ] || fail "the player took $took ms to end after Escape (limit $limit ms)"
    ;;
  audio)
    start_x
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/audio.raw
    start_player
    find_window
    sleep 1.5
    press_escape
    wait_player 5
    expect_exit 0
    "$probe" audio "$work/audio.raw" 44080 100 200 || fail "the music was not played from time zero"
    ;;
  end)
    start_x
    started_ms=$(now_ms)
    # The unthrottled loop: the show still ends on time.
    start_player --start 95 --no-vsync
    wait_player 20
    expect_exit 0
    took=$(( ended_ms - started_ms ))
    echo "ended by itself after $took ms"
    # 4.31 s of show are left, plus loading.
    [ "$took" -ge 4300 ] || fail "the show ended early, after $took ms"
    [ "$took" -le 15000 ] || fail "the show ended late, after $took ms"
    ;;
  no-music)
    start_x
    data_without zumber.xm
    started_ms=$(now_ms)
    start_player --start 97
    wait_player 20
    expect_exit 0
    took=$(( ended_ms - started_ms ))
    [ "$took" -ge 2300 ] || fail "the show ended early, after $took ms"
    lines=$(grep -c '^vokdemo:' "$work/stderr")
    [ "$lines" -eq 1 ] || fail "expected one warning line, got: $(cat "$work/stderr")"
    grep -q "zumber.xm" "$work/stderr" || fail "the warning does not name the module: $(cat "$work/stderr")"
    ;;
  no-audio)
    start_x
    export SDL_AUDIODRIVER=no-such-driver
    start_player --start 98.5
    wait_player 20
    expect_exit 0
    lines=$(grep -c '^vokdemo:' "$work/stderr")
    [ "$lines" -eq 1 ] || fail "expected one warning line, got: $(cat "$work/stderr")"
    grep -q "silence" "$work/stderr" || fail "the warning does not say the show goes on: $(cat "$work/stderr")"
    ;;
  no-mesh)
    start_x
    data_without v.ase
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/audio.raw
    start_player
    wait_player 20
    expect_exit 1
    grep -q "ia pas le file v.ase" "$work/stdout" || fail "no message on standard output: $(cat "$work/stdout")"
    [ ! -e "$work/audio.raw" ] || fail "the music started before the meshes were loaded"
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
echo "ok: $case_name"
