#!/usr/bin/env bash
# One case of the Windows suite: builds the 32-bit Windows programs with
# MinGW-w64, or runs one of them under Wine on a private Xvfb screen with a
# fresh 32-bit Wine prefix, and checks what the program did (its output, the
# music stand-in's log, a screenshot), not only its exit code.
#
#   wine_case.sh CASE SOURCE_DIR LINUX_BUILD_DIR
#
# Exit 77 (skipped) when MinGW-w64, Wine or the X tools are missing.
set -uo pipefail

case_name=$1
source_dir=$2
linux_build=$3
win_build=$linux_build/windows
data_dir=$linux_build/data
shot_check=$linux_build/tests/vok_shot_check
caption=vok2000

skip() { echo "skipped: $*"; exit 77; }
fail() { echo "FAIL ($case_name): $*"; [ -n "${scratch:-}" ] && show_output; exit 1; }
note() { echo "$case_name: $*"; }

for tool in i686-w64-mingw32-g++ wine wineserver xvfb-run xauth xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done

build() {
  local generator=()
  command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
  cmake -S "$source_dir" -B "$win_build" "${generator[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVOK_TESTS=OFF -DVOK_BENCHMARKS=OFF >/dev/null || fail "configuring the cross build"
  cmake --build "$win_build" -j "$(nproc)" || fail "building the cross build"
  local imports
  imports=$(i686-w64-mingw32-objdump -p "$win_build/vokdemo.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
  note "vokdemo.exe imports: $imports"
  for dll in $imports; do
    case $dll in
      ddraw.dll|gdi32.dll|kernel32.dll|msvcrt.dll|user32.dll) ;;
      *) fail "vokdemo.exe imports $dll, which is not a system DLL" ;;
    esac
  done
  local headers
  headers=$(i686-w64-mingw32-objdump -p "$win_build/vokdemo.exe")
  grep -q 'Subsystem.*Windows GUI' <<<"$headers" || fail "vokdemo.exe is not a GUI program"
  exports=$(i686-w64-mingw32-objdump -p "$win_build/standin-decorated/fmod.dll" | grep -o '_F[A-Z_a-z]*@[0-9]*' | sort | tr '\n' ' ')
  [ "$exports" = "_FMUSIC_LoadSong@4 _FMUSIC_PlaySong@4 _FSOUND_Init@12 " ] ||
    fail "the music stand-in exports '$exports'"
  exit 0
}

[ "$case_name" = build ] && build
[ -f "$win_build/vokdemo.exe" ] || fail "the cross build is missing (run the build case first)"
[ -f "$data_dir/v.ase" ] || fail "the data set is missing in $data_dir"

# ---- Everything below runs inside xvfb-run ----

screen_for_case() {
  case $1 in
    shot16) echo 1024x768x16 ;;
    fullscreen) echo 320x240x24 ;;
    *) echo 1024x768x24 ;;
  esac
}

if [ -z "${VOK_INSIDE_XVFB:-}" ]; then
  VOK_INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 $(screen_for_case "$case_name") -nolisten tcp" \
    "$0" "$@"
fi

scratch=$(mktemp -d /tmp/vok-wine.XXXXXX)
run_dir=$scratch/run
out=$scratch/out.txt
err=$scratch/err.txt
calls=$run_dir/fmod_calls.log
mkdir -p "$run_dir"

export WINEPREFIX=$scratch/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT

show_output() {
  echo "--- standard output:"; head -c 2000 "$out" 2>/dev/null; echo
  echo "--- standard error:"; head -c 2000 "$err" 2>/dev/null
  [ -f "$calls" ] && { echo "--- music calls:"; cat "$calls"; }
}

make_prefix() {
  wine wineboot -i >/dev/null 2>&1
  # Nothing depends on OpenGL: DirectDraw draws through GDI.
  wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1
  # Without a window manager, Wine waits two seconds for a managed window
  # to be withdrawn when it is hidden; unmanaged windows close at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# The working directory: the data set, less the named files.
stage_data() {
  local name
  for file in "$data_dir"/*; do
    name=$(basename "$file")
    for left_out in "$@"; do [ "$name" = "$left_out" ] && continue 2; done
    ln -s "$file" "$run_dir/$name"
  done
}

with_music_standin() { cp "$win_build/standin-$1/fmod.dll" "$run_dir/fmod.dll"; }

# Times in milliseconds.
now() { date +%s%3N; }
ms_since() { echo $(($(now) - $1)); }

start_program() {
  started=$(now)
  (cd "$run_dir" && exec wine "$win_build/vokdemo.exe" "$@" >"$out" 2>"$err" </dev/null) &
  pid=$!
}

# Waits for the program to end, at most $1 seconds; sets status.
wait_for_exit() {
  local deadline=$(($(now) + 1000 * $1))
  while kill -0 "$pid" 2>/dev/null; do
    sleep 0.05
    if [ "$(now)" -gt "$deadline" ]; then
      kill "$pid" 2>/dev/null
      fail "the program did not end within $limit s"
    fi
  done
  wait "$pid"
  status=$?
}

# Show time zero: the stand-in logs the play call right after the clock starts.
wait_for_show_start() {
  local i
  for i in $(seq 1 600); do
    grep -q FMUSIC_PlaySong "$calls" 2>/dev/null && { show_start=$(now); return; }
    kill -0 "$pid" 2>/dev/null || fail "the program ended before the show started"
    sleep 0.1
  done
  fail "the show did not start within 60 s"
}

window_id() {
  local id
  for _ in $(seq 1 50); do
    id=$(xdotool search --name "^$caption\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
}

press_escape() {
  local window
  window=$(window_id)
  [ -n "$window" ] || fail "no window with the caption $caption"
  escape_time=$(now)
  xdotool key --window "$window" Escape
}

# The window shows the title picture (the fade-in is over at 5.5 s of show time).
screenshot_at_title() {
  sleep 6.5
  import -window root "$scratch/shot.png" || fail "no screenshot"
  convert "$scratch/shot.png" -depth 8 "rgb:$scratch/shot.rgb" || fail "converting the screenshot"
}

check_screenshot() {  # bits-per-pixel of the desktop, then the checker's placement options
  local geometry
  geometry=$(identify -format '%w %h' "$scratch/shot.png")
  "$shot_check" "$data_dir/vok_zumber.pcx" "$scratch/shot.rgb" $geometry "$@" ||
    { cp "$scratch/shot.png" "$linux_build/windows-$case_name-failed.png"; fail "the screenshot does not show the title picture"; }
}

expect_mesh_lines() {
  local count
  count=$(grep -o 'lecture faces ok !' "$out" | wc -l)
  [ "$count" = 5 ] || fail "expected the mesh reader's lines for five meshes, found $count"
}

# The stand-in's log: init, load, play with the handle load returned.
expect_music_calls() {
  local handle
  sed -n 1p "$calls" | grep -qx 'FSOUND_Init 44100 32 0' || fail "first music call"
  handle=$(sed -n 2p "$calls" | sed -n 's/^FMUSIC_LoadSong zumber\.xm -> \(.*\)$/\1/p')
  [ -n "$handle" ] || fail "second music call"
  sed -n 3p "$calls" | grep -qx "FMUSIC_PlaySong $handle" || fail "third music call"
  [ "$(wc -l <"$calls")" = 3 ] || fail "more than three music calls"
  # The play call comes after the mesh reader's last line.
  local last_mesh play
  last_mesh=$(grep -n 'lecture faces ok !' "$out" | tail -1 | cut -d: -f1)
  play=$(grep -n 'FMUSIC_PlaySong' "$out" | cut -d: -f1)
  [ -n "$play" ] && [ "$play" -gt "$last_mesh" ] || fail "the music started before the meshes were loaded"
}

expect_exit_code() { [ "$status" = "$1" ] || fail "exit code $status, expected $1"; }

make_prefix
case $case_name in
  core_tests|win32_tests)
    program=$win_build/vok_$case_name.exe
    [ "$case_name" = win32_tests ] && program=$win_build/vok_win32_tests.exe
    filter=()
    # A death test whose child (a new process on Windows, not a fork) makes
    # its own scratch directory cannot find the parent's; the missing_mesh
    # case checks the same behaviour on the real program.
    [ "$case_name" = core_tests ] && filter=(--gtest_filter=-AseTest.MissingFileEndsTheProcessWithStatusOne)
    (cd "$run_dir" && wine "$program" "${filter[@]}" >"$out" 2>"$err" </dev/null)
    status=$?
    cat "$out"
    grep -q '\[  PASSED  \]' "$out" || fail "no test passed"
    expect_exit_code 0
    ;;
  shot24|shot16)
    stage_data; with_music_standin decorated
    start_program
    wait_for_show_start
    screenshot_at_title
    press_escape
    wait_for_exit 5
    expect_exit_code 0
    check_screenshot "${case_name#shot}" --search
    ;;
  fullscreen)
    stage_data; with_music_standin decorated
    start_program 1
    wait_for_show_start
    screenshot_at_title
    press_escape
    wait_for_exit 5
    expect_exit_code 0
    check_screenshot 32 --whole-screen
    ;;
  escape)
    stage_data; with_music_standin decorated
    start_program
    wait_for_show_start
    sleep 2
    press_escape
    wait_for_exit 10
    took=$(ms_since "$escape_time")
    note "ended $took ms after Escape"
    expect_exit_code 0
    expect_mesh_lines
    [ "$took" -lt 1000 ] || fail "Escape took $took ms to end the program"
    ;;
  plain_names)
    stage_data; with_music_standin plain
    start_program
    wait_for_show_start
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    expect_music_calls
    ;;
  music_end)
    stage_data; with_music_standin decorated
    start_program
    wait_for_show_start
    wait_for_exit 130
    show_time=$(ms_since "$show_start")
    note "ended by itself $show_time ms after the show started"
    expect_exit_code 0
    expect_mesh_lines
    expect_music_calls
    [ "$show_time" -gt 99000 ] && [ "$show_time" -lt 101500 ] || fail "the show lasted $show_time ms"
    ;;
  silent_end)
    stage_data
    start_program
    sleep 40
    import -window root "$scratch/shot.png"
    mean=$(convert "$scratch/shot.png" -format '%[fx:mean]' info:)
    awk -v m="$mean" 'BEGIN { exit !(m > 0) }' || fail "nothing is shown 40 s after start-up"
    wait_for_exit 130
    run_time=$(ms_since "$started")
    note "ended by itself $run_time ms after start-up"
    expect_exit_code 0
    expect_mesh_lines
    [ ! -e "$calls" ] || fail "a music log appeared without a music library"
    [ "$run_time" -gt 99300 ] && [ "$run_time" -lt 120000 ] || fail "the run lasted $run_time ms"
    ;;
  frame_hashes)
    reference=$source_dir/tests/reference
    stage_data
    frames=$(cut -d' ' -f2 "$reference/frames-10fps.txt")
    # shellcheck disable=SC2086
    (cd "$run_dir" && wine "$win_build/vok_win_render.exe" 10 frames.raw $frames >"$out" 2>"$err" </dev/null)
    status=$?
    expect_exit_code 0
    tr -d '\r' <"$out" >"$scratch/out.txt"
    head -c "$(wc -c <"$reference/mesh-text.txt")" "$scratch/out.txt" | cmp -s - "$reference/mesh-text.txt" ||
      fail "the mesh reader's text differs from the reference"
    grep '^frame ' "$scratch/out.txt" >"$scratch/windows.txt"
    (cd "$scratch" && split -b 307200 -d -a 3 "$run_dir/frames.raw" chunk. && sha256sum chunk.* | cut -d' ' -f1) \
      >"$scratch/hashes.txt"
    paste -d' ' "$scratch/windows.txt" "$scratch/hashes.txt" | cmp -s - "$reference/frames-10fps.txt" ||
      fail "the Windows build's frames differ from the reference"
    note "the mesh text and 42 frames, three of every scene, equal the reference"
    ;;
  missing_mesh)
    stage_data v.ase; with_music_standin decorated
    start_program
    wait_for_exit 30
    expect_exit_code 1
    grep -q '^ia pas le file v\.ase' "$out" || fail "no message about the missing mesh"
    grep -q FMUSIC_PlaySong "$calls" && fail "the music started although loading failed"
    ;;
  *)
    fail "unknown case"
    ;;
esac
note "passed"
exit 0
