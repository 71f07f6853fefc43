# A private X server for one test case, sourced by the player cases.
# Needs $work (the case's scratch folder) and fail(); sets xvfb_pid and
# DISPLAY.

# On the first free display: -displayfd lets several cases run at once
# without racing for a display number. -noreset: otherwise the server resets
# when its last client leaves (each xdotool call), and a player connecting
# during the reset is refused.
start_x() {
  local size=${1:-1024x768x24}
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$(head -1 "$work/display")
}
