#!/usr/bin/env bash
# Benchmark, not a test: the live player's use of the processor on a private
# Xvfb screen (where presenting does not wait for the refresh), with the
# default pacing and with --no-vsync. Prints the share of one core each used.
#   bench/player_cpu.sh [VOKDEMO [DATA_DIR [SECONDS]]]
set -euo pipefail
cd "$(dirname "$0")/.."
vokdemo=${1:-build/release/vokdemo}
data=${2:-build/release/data}
seconds=${3:-10}
work=$(mktemp -d)
xvfb_pid= player_pid=
cleanup() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(head -1 "$work/display") SDL_AUDIODRIVER=dummy
ticks=$(getconf CLK_TCK)

# Processor time (user + system) of a process, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

measure() {
  "$vokdemo" --data "$data" --start 10 ${VOK_BENCH_ARGS:-} "$@" >/dev/null 2>&1 &
  player_pid=$!
  sleep 2  # loading and the window
  local before after
  before=$(cpu_ticks "$player_pid")
  sleep "$seconds"
  after=$(cpu_ticks "$player_pid")
  kill "$player_pid"
  wait "$player_pid" 2>/dev/null || true
  player_pid=
  awk -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" 'BEGIN { printf "%.1f%%", 100 * t / hz / s }'
}

echo "paced (default):  $(measure) of one core over $seconds s"
echo "--no-vsync:       $(measure --no-vsync) of one core over $seconds s"
