# What a window manager and a user do to a live player, as shell steps:
# minimising and restoring, focus moving to another window and back, a burst
# of input, and checks that the show is on the screen. Sourced by the player
# and Windows cases, which provide fail(), a scratch directory in $wm_dir
# and the player's process id in $wm_player.

wm_pid=
wm_other_pid=

# Starts openbox on $DISPLAY, with its files kept in $wm_dir.
start_window_manager() {
  XDG_CONFIG_HOME=$wm_dir XDG_CACHE_HOME=$wm_dir openbox --sm-disable >"$wm_dir/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
    sleep 0.05
  done
  fail "openbox did not start: $(cat "$wm_dir/openbox.log")"
}

stop_window_manager() {
  [ -n "$wm_other_pid" ] && kill "$wm_other_pid" 2>/dev/null
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  wm_other_pid= wm_pid=
}

player_alive() { kill -0 "$wm_player" 2>/dev/null || fail "the player died $*"; }

map_state() { xwininfo -id "$1" 2>/dev/null | sed -n 's/^ *Map State: //p'; }

# Waits up to 10 s for window $1 to reach map state $2.
wait_map_state() {
  for _ in $(seq 200); do
    [ "$(map_state "$1")" = "$2" ] && return
    sleep 0.05
  done
  fail "window $1 is $(map_state "$1"), not $2"
}

# The show is on the screen: within 30 s, two screenshots of $1 ("root" or a
# window id) a moment apart are neither black nor equal. Polling keeps the
# check independent of the moment: no scene is black or still for long.
expect_show_on_screen() {
  local target=$1 deadline=$(( $(date +%s) + 30 )) mean changed
  while [ "$(date +%s)" -lt "$deadline" ]; do
    player_alive "while showing the show $2"
    if import -window "$target" "$wm_dir/a.png" 2>/dev/null && sleep 0.3 &&
       import -window "$target" "$wm_dir/b.png" 2>/dev/null; then
      mean=$(convert "$wm_dir/b.png" -format '%[fx:int(1000*mean)]' info:)
      changed=$(compare -metric AE "$wm_dir/a.png" "$wm_dir/b.png" null: 2>&1 | cut -d' ' -f1)
      [ "${mean:-0}" -ge 10 ] && [ "${changed:-0}" != 0 ] && return
    fi
    sleep 0.2
  done
  cp "$wm_dir/b.png" "$wm_dir/failed.png" 2>/dev/null
  fail "the show is not on the screen $2 (mean ${mean:-?}/1000, ${changed:-?} pixels changed)"
}

# Minimised for 4 s, then restored.
minimise_and_restore() {
  xdotool windowminimize --sync "$1" || fail "cannot minimise the window"
  wait_map_state "$1" IsUnMapped
  sleep 4
  player_alive "while minimised"
  [ "$(map_state "$1")" = IsUnMapped ] || fail "the window came back by itself"
  xdotool windowactivate --sync "$1" 2>/dev/null
  wait_map_state "$1" IsViewable
}

# Another window takes the focus for a second, then the player's gets it back.
focus_elsewhere_and_back() {
  xmessage -name other -geometry +40+40 "another window" 2>/dev/null &
  wm_other_pid=$!
  local other=
  for _ in $(seq 200); do
    other=$(xdotool search --onlyvisible --name '^other$' 2>/dev/null | head -1)
    [ -n "$other" ] && break
    sleep 0.05
  done
  [ -n "$other" ] || fail "the other window did not appear"
  xdotool windowactivate --sync "$other" 2>/dev/null
  [ "$(xdotool getactivewindow)" = "$other" ] || fail "the other window did not get the focus"
  sleep 1
  player_alive "when it lost the focus"
  kill "$wm_other_pid" 2>/dev/null
  wm_other_pid=
  xdotool windowactivate --sync "$1" 2>/dev/null
  [ "$(xdotool getactivewindow)" = "$1" ] || fail "the player's window did not get the focus back"
}

# 1,000 key presses and mouse actions over window $1, none of them Escape or a
# window-manager shortcut, nor a key that would pause the live player or
# write files (Space, F, S: the player's key case covers those); the random
# seed is the second argument.
input_burst() {
  local keys=(a b c d e g h i j k l m n o p q r t u v w x y z 0 1 2 3 4 5 6 7 8 9
    Return Tab BackSpace Left Right Up Down Home End Delete shift+a ctrl+c F5)
  local width height actions=() i
  read -r width height < <(xwininfo -id "$1" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
  RANDOM=$2
  for i in $(seq 1000); do
    if (( RANDOM % 2 )); then
      actions+=(key --delay 0 "${keys[RANDOM % ${#keys[@]}]}")
    else
      local button=$(( RANDOM % 5 + 1 ))  # 4 and 5 turn the wheel
      actions+=(mousemove --window "$1" $(( RANDOM % width )) $(( RANDOM % height )) mousedown $button mouseup $button)
    fi
  done
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool "${actions[@]}" || fail "xdotool could not send the input burst"
  player_alive "after the input burst"
}

# The whole visit: each step leaves the player running and the show on the
# screen. $1 is the player's window, $2 what to screenshot (root or the window).
window_manager_visit() {
  local window=$1 target=$2 seed=$RANDOM
  [ "$target" = window ] && target=$window
  local started=$SECONDS
  step() { echo "$(( SECONDS - started )) s: $*"; }
  echo "input seed $seed"
  expect_show_on_screen "$target" "at the start"
  step "the show is on the screen"
  minimise_and_restore "$window"
  step "minimised and restored"
  expect_show_on_screen "$target" "after restoring"
  step "the show is on the screen again"
  focus_elsewhere_and_back "$window"
  step "the focus went away and came back"
  expect_show_on_screen "$target" "after getting the focus back"
  input_burst "$window" "$seed"
  step "1,000 inputs sent"
  expect_show_on_screen "$target" "after the input burst"
  step "the show is on the screen after the inputs"
}
