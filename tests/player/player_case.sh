#!/usr/bin/env bash
# One case of the live player's tests, on a private X server.
#   player_case.sh CASE VOKDEMO PROBE DATA_DIR WORK_DIR
# Cases: window, scale, fullscreen, escape, audio, music-start, end, no-music,
# no-audio, no-display, no-mesh, sync, wm-window, wm-fullscreen, keys, loop.
#
# No check depends on the moment a screenshot is taken: each polls until the
# picture it expects shows, and starts the show where that picture holds for
# seconds; timings are measured from the start of the sound, which follows
# the show's time zero.
set -uo pipefail

case_name=$1 vokdemo=$2 probe=$3 data=$4 work=$5
rm -rf "$work" && mkdir -p "$work"
title_picture=$data/vok_zumber.pcx
player_pid=
xvfb_pid=

fail() { echo "FAIL: $*"; exit 1; }

cleanup() {
  stop_window_manager
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
wm_dir=$work
source "$(dirname "$0")/../support/wm_steps.sh"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

source "$(dirname "$0")/../support/xvfb_steps.sh"
source "$(dirname "$0")/../support/seek_steps.sh"

# Starts the player in the background with the given arguments.
start_player() {
  "$vokdemo" "$@" --data "$data" >"$work/stdout" 2>"$work/stderr" &
  player_pid=$!
  wm_player=$player_pid
}

# The show's time zero: the music starts right after it, and SDL's disk audio
# driver then writes the sound to $SDL_DISKAUDIOFILE.
use_disk_audio() { export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/audio.raw; }
wait_for_show_start() {
  for _ in $(seq 1200); do
    [ -s "$work/audio.raw" ] && return
    kill -0 "$player_pid" 2>/dev/null || fail "the player ended before the show started: $(cat "$work/stderr")"
    sleep 0.05
  done
  fail "the show did not start within 60 s"
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

# Sets pressed_ms to the moment the key has gone out (xdotool has flushed it
# to the server), so that starting xdotool on a loaded machine does not count.
press_escape() {
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key Escape
  pressed_ms=$(now_ms)
}

screenshot() { import -window root "$work/shot.png" || fail "no screenshot"; }

# Started at 2 s, the show holds the title, fading in and then whole, until
# 8.28 s: polls until a screenshot shows it, for at most 30 s.
start_at_title() { start_player "$@" --start 2; }
expect_title() {
  local deadline=$(( $(now_ms) + 30000 ))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    kill -0 "$player_pid" 2>/dev/null || fail "the player ended early: $(cat "$work/stderr")"
    screenshot
    "$probe" picture "$work/shot.png" "$title_picture" "$@" 0.05 1.01 $extra_check >"$work/probe.txt" && return
    cat "$work/probe.txt" >>"$work/probe.log"
    sleep 0.1
  done
  fail "the screen does not show the title: $(cat "$work/probe.txt")"
}
extra_check=

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

# Plays 1.5 s of the show (options as given) with the sound going to a file,
# then Escape; the player must end with 0.
play_briefly_with_disk_audio() {
  start_x
  use_disk_audio
  start_player "$@"
  find_window
  wait_for_show_start
  sleep 1.5
  press_escape
  wait_player 5
  expect_exit 0
}

# The show's keys. Sends the keys to the player's window, $key_pause s apart.
send_keys() {
  local key
  xdotool windowfocus --sync "$window" 2>/dev/null
  for key in "$@"; do
    xdotool key "$key"
    sleep "$key_pause"
  done
}
key_pause=0.4

# The first millisecond of every scene, then the end (the scene table's bounds).
mapfile -t scene_starts < <("$probe" scenes)
last_scene=$(( ${#scene_starts[@]} - 2 ))

# After a seek while the show plays, its first frame's time and the music the
# listener hears (one reading) are within one audio buffer (1024 frames,
# 23.2 ms) of each other.
expect_music_follows() {
  local lines
  lines=$(grep -c '^vokdemo: sync landed' "$work/stderr")
  [ "$lines" -ge 1 ] || fail "no frame after a seek: $(cat "$work/stderr")"
  awk '/^vokdemo: sync landed/ { o = $(NF - 1); if (o > 23.2 || o < -23.2) { print; bad = 1 } } END { exit bad }' \
    "$work/stderr" || fail "music off the picture after a seek"
}

# Waits up to 30 s for a line of standard error that matches PATTERN.
wait_for_log() {
  local _
  for _ in $(seq 600); do
    grep -q "$1" "$work/stderr" && return
    sleep 0.05
  done
  fail "no line '$1' within 30 s: $(cat "$work/stderr")"
}

# Waits up to 20 s for the window to have the geometry "X Y W H".
wait_for_geometry() {
  local _ x y w h
  for _ in $(seq 200); do
    read -r x y w h <<<"$(window_geometry)"
    [ "$x $y $w $h" = "$1" ] && return
    sleep 0.1
  done
  fail "$2: the window is at $x,$y size ${w}x$h, not $1"
}

# One run of the player from START with the keys given, after the window and
# the sound are there.
keys_run() {
  local start=$1; shift
  use_disk_audio
  rm -f "$work/audio.raw"
  start_player --sync-log --start "$start"
  find_window
  wait_for_show_start
  send_keys "$@"
}

case "$case_name" in
  keys)
    start_x
    cd "$work"  # where the screenshots go
    # Seeks by 5 s, by scenes and to the beginning, a screenshot, full screen.
    keys_run 30 Right Left Left Next Prior Home comma period s
    # F: full screen and back to the window.
    send_keys f
    wait_for_geometry "0 0 1024 768" "F"
    send_keys f
    wait_for_geometry "10 10 640 480" "F again"
    press_escape
    wait_player 10
    expect_exit 0
    expect_seeks_in "$work/stderr" Right Left Left Next Prior Home comma period
    expect_music_follows
    shot=$(ls vokdemo-*s-scene01.png 2>/dev/null | head -1)
    [ -n "$shot" ] || fail "no screenshot of scene 1: $(ls)"
    [ "$(identify -format '%w %h' "$shot")" = "320 240" ] || fail "$shot is not a 320x240 picture"
    echo "seeks, screenshot and full screen: ok"

    # The next scene from every scene, paused first so that the show cannot
    # move on between keys: each lands at its scene's first millisecond, and
    # after the last the end step ends the show.
    key_pause=0.3
    nexts=$(printf 'Next %.0s' $(seq $(( last_scene + 1 ))))
    # shellcheck disable=SC2086 # one word a key
    keys_run 0 space $nexts
    wait_player 10
    expect_exit 0
    # shellcheck disable=SC2086
    expect_seeks_in "$work/stderr" $nexts
    for k in $(seq $(( last_scene + 1 ))); do
      grep -q "^vokdemo: sync seek $k show ${scene_starts[k]} ms " "$work/stderr" ||
        fail "no seek to scene $k at ${scene_starts[k]} ms: $(cat "$work/stderr")"
    done
    echo "next scene: ok"

    # Pause in the jittering credits: the picture holds for 2 s, the music
    # stops and goes on from the held moment.
    key_pause=0.2
    keys_run 76 space
    wait_for_log '^vokdemo: sync pause'
    import -window "$window" "$work/held-a.png" || fail "no screenshot"
    sleep 2
    import -window "$window" "$work/held-b.png" || fail "no screenshot"
    changed=$(compare -metric AE "$work/held-a.png" "$work/held-b.png" null: 2>&1 | cut -d' ' -f1)
    [ "$changed" = 0 ] || fail "the picture moved while paused ($changed pixels)"
    send_keys space
    wait_for_log '^vokdemo: sync play'
    sleep 1.5
    press_escape
    wait_player 10
    expect_exit 0
    read -r _ _ _ scene _ held_ms _ < <(grep '^vokdemo: sync pause' "$work/stderr")
    grep -q "^vokdemo: sync play $scene show $held_ms ms" "$work/stderr" ||
      fail "the show did not go on from the held time: $(cat "$work/stderr")"
    held=$(awk -v ms="$held_ms" 'BEGIN { print ms / 1000 }')
    "$probe" pause "$work/audio.raw" "$data/zumber.xm" 44080 "$held" 1.5 || fail "the music did not pause"
    echo "pause: ok"

    # 1,000 of the show's keys in a burst: the player lives and plays on.
    key_pause=0
    keys_run 2
    keys=(space Left Right Prior Next Home comma period i)
    burst=()
    for _ in $(seq 1000); do burst+=(key --delay 0 "${keys[RANDOM % ${#keys[@]}]}"); done
    xdotool "${burst[@]}" || fail "xdotool could not send the burst"
    # S after the burst: once its line is there, the player has taken every
    # key before it, however long a busy machine made that take.
    send_keys s
    wait_for_log '^vokdemo: screenshot'
    kill -0 "$player_pid" 2>/dev/null || fail "the player died in the burst: $(tail -5 "$work/stderr")"
    pauses=$(grep -c '^vokdemo: sync pause' "$work/stderr")
    last=$(grep -E '^vokdemo: sync (pause|play)' "$work/stderr" | tail -1 | cut -d' ' -f3)
    [ "$last" = pause ] && send_keys space
    send_keys Home
    wm_dir=$work wm_player=$player_pid expect_show_on_screen "$window" "after the burst"
    press_escape
    wait_player 10
    expect_exit 0
    echo "burst: ok ($pauses pauses)"
    ;;
  window)
    start_x
    start_at_title
    find_window
    read -r x y w h <<<"$(window_geometry)"
    # 1024x768 holds 960x720, but not with a title bar: twice is the largest that fits.
    [ "$x $y $w $h" = "10 10 640 480" ] || fail "window at $x,$y size ${w}x$h, not 10,10 640x480"
    expect_title 10 10 2
    press_escape
    wait_player 5
    expect_exit 0
    ;;
  scale)
    start_x
    start_at_title --scale 1
    find_window
    read -r x y w h <<<"$(window_geometry)"
    [ "$w $h" = "320 240" ] || fail "window size ${w}x$h, not 320x240"
    expect_title "$x" "$y" 1
    press_escape
    wait_player 5
    expect_exit 0
    ;;
  fullscreen)
    start_x
    start_at_title 1
    find_window
    # 1024x768 holds the picture three times over: 960x720 at (32, 24).
    extra_check=--black-outside
    expect_title 32 24 3
    press_escape
    wait_player 5
    expect_exit 0
    ;;
  escape)
    start_x
    use_disk_audio
    start_player
    find_window
    wait_for_show_start
    sleep 1
    press_escape
    wait_player 5
    expect_exit 0
    took=$(( ended_ms - pressed_ms ))
    echo "ended $took ms after Escape"
    limit=${VOK_ESCAPE_LIMIT_MS:-3000}
    [ "$took" -le "$limit" ] || fail "the player took $took ms to end after Escape (limit $limit ms)"
    ;;
  audio)
    play_briefly_with_disk_audio
    "$probe" audio "$work/audio.raw" 44080 100 200 || fail "the music was not played from time zero"
    ;;
  music-start)
    play_briefly_with_disk_audio --start 40
    "$probe" music "$work/audio.raw" "$data/zumber.xm" 44080 40 || fail "the music did not start at 40 s"
    ;;
  wm-window|wm-fullscreen)
    start_x
    start_window_manager
    use_disk_audio
    if [ "$case_name" = wm-window ]; then start_player; else start_player 1; fi
    find_window
    wait_for_show_start
    if [ "$case_name" = wm-window ]; then window_manager_visit "$window" window; else window_manager_visit "$window" root; fi
    sleep "$(( RANDOM % 4 )).$(( RANDOM % 10 ))"  # Escape at a moment of the show no run repeats
    press_escape
    wait_player 10
    expect_exit 0
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
  no-display)
    # No X server reachable: one line and exit 1, not a show to a screen nobody sees.
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER
    DISPLAY=:987 start_player
    wait_player 20
    expect_exit 1
    grep -q "^vokdemo: cannot open the screen: no display" "$work/stderr" || fail "no such line: $(cat "$work/stderr")"
    ;;
  no-mesh)
    start_x
    data_without v.ase
    use_disk_audio
    start_player
    wait_player 20
    expect_exit 1
    grep -q "ia pas le file v.ase" "$work/stdout" || fail "no message on standard output: $(cat "$work/stdout")"
    [ ! -e "$work/audio.raw" ] || fail "the music started before the meshes were loaded"
    ;;
  loop)
    # --loop from near the end: the show begins again at its end, the music
    # with it; sent to its last scene, it plays through the end once more.
    # Each new beginning's first frame is within one audio buffer of the
    # music, and the show goes on from there.
    start_x
    use_disk_audio
    start_player --sync-log --loop --start 96
    find_window
    wait_for_show_start
    wait_for_log '^vokdemo: sync loop 0 show'
    send_keys $(printf 'Next %.0s' $(seq "$last_scene"))
    for _ in $(seq 600); do
      [ "$(grep -c '^vokdemo: sync loop' "$work/stderr")" -ge 2 ] && break
      sleep 0.05
    done
    [ "$(grep -c '^vokdemo: sync loop' "$work/stderr")" -eq 2 ] || fail "expected two new beginnings: $(cat "$work/stderr")"
    wait_for_log '^vokdemo: sync scene 1 '
    kill -0 "$player_pid" 2>/dev/null || fail "the looping show ended: $(cat "$work/stderr")"
    grep '^vokdemo: sync \(loop\|scene 1 \)' "$work/stderr"
    awk '/^vokdemo: sync loop/ { o = $(NF - 1); if (o > 23.2 || o < -23.2) { print; bad = 1 } }
         /^vokdemo: sync scene/ { o = $(NF - 1); if (o < 0) o = -o; if (o >= 10) { print; bad = 1 } } END { exit bad }' \
      "$work/stderr" || fail "music off the picture after a new beginning"
    xdotool key Escape
    wait_player 20
    expect_exit 0
    ;;
  sync)
    # The whole show against SDL's disk driver, which takes the sound at its
    # own pace (a sleep of whole milliseconds a buffer), not the wall clock's.
    start_x
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/audio.raw
    start_player --sync-log
    wait_player 200
    expect_exit 0
    grep '^vokdemo: sync' "$work/stderr"
    lines=$(grep -c '^vokdemo: sync scene .* offset' "$work/stderr")
    [ "$lines" -eq $(( last_scene + 2 )) ] || fail "expected a line for each of the $(( last_scene + 1 )) scenes and the end, got $lines"
    awk '/^vokdemo: sync .* offset/ { o = $(NF - 1); if (o < 0) o = -o; if (o >= 10) bad = 1 } END { exit bad }' \
      "$work/stderr" || fail "the picture and the music were 10 ms or more apart"
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
echo "ok: $case_name"
