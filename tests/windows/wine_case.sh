#!/usr/bin/env bash
# One case of the Windows suite: builds the Windows programs (32- or 64-bit)
# with MinGW-w64, or runs one of them under Wine on a private Xvfb screen with
# a fresh Wine prefix of that width, and checks what the program did (its
# output, the music stand-in's log, Wine's trace of the sound calls, a
# screenshot), not only its exit code.
#
#   wine_case.sh CASE SOURCE_DIR LINUX_BUILD_DIR win32|win64
#
# Exit 77 (skipped), saying why, when MinGW-w64, Wine or the X tools are
# missing, when this machine cannot run Wine of that width, or, for the cases
# of the built-in music, when the build has none (builtin-music.txt says why).
set -uo pipefail

case_name=$1
source_dir=$2
linux_build=$3
arch=$4
case $arch in
  win32) mingw=i686-w64-mingw32 win_build=$linux_build/windows ;;
  win64) mingw=x86_64-w64-mingw32 win_build=$linux_build/windows64 ;;
  *) echo "wine_case.sh: unknown width $arch"; exit 2 ;;
esac
data_dir=$linux_build/data
shot_check=$linux_build/tests/vok_shot_check
caption=vok2000

skip() { echo "skipped: $*"; exit 77; }
fail() { echo "FAIL ($arch $case_name): $*"; [ -n "${scratch:-}" ] && show_output; exit 1; }
note() { echo "$arch $case_name: $*"; }

for tool in $mingw-g++ wine wineserver xvfb-run xauth xdotool import convert; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done

build() {
  local generator=()
  command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
  cmake -S "$source_dir" -B "$win_build" "${generator[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-${mingw%%-*}.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVOK_TESTS=OFF -DVOK_BENCHMARKS=OFF >/dev/null || fail "configuring the cross build"
  cmake --build "$win_build" -j "$(nproc)" || fail "building the cross build"
  local imports
  imports=$($mingw-objdump -p "$win_build/vokdemo.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
  note "vokdemo.exe imports: $imports"
  note "built-in music: $(cat "$win_build/builtin-music.txt")"
  # DirectDraw is loaded at run time, so that the program starts without it.
  for dll in $imports; do
    case $dll in
      advapi32.dll|gdi32.dll|kernel32.dll|msvcrt.dll|ole32.dll|user32.dll|winmm.dll) ;;
      *) fail "vokdemo.exe imports $dll, which is not a system DLL or must be loaded at run time" ;;
    esac
  done
  local headers
  headers=$($mingw-objdump -p "$win_build/vokdemo.exe")
  grep -q 'Subsystem.*Windows GUI' <<<"$headers" || fail "vokdemo.exe is not a GUI program"
  # The manifest: a resource of type 24 (RT_MANIFEST) and number 1, with
  # per-monitor DPI awareness (v2) and the Windows versions it is written for.
  local resources
  resources=$(sed -n '/The .rsrc Resource Directory section/,/Resources start/p' <<<"$headers")
  grep -q 'Entry: ID: 0x000018,' <<<"$resources" && grep -q 'Entry: ID: 0x000001,' <<<"$resources" ||
    fail "vokdemo.exe has no manifest resource"
  local text
  text=$(strings "$win_build/vokdemo.exe")
  grep -q '<dpiAwareness[^>]*>PerMonitorV2' <<<"$text" || fail "the manifest declares no PerMonitorV2"
  [ "$(grep -c '<supportedOS ' <<<"$text")" = 5 ] || fail "the manifest lacks supportedOS entries"
  note "manifest: per-monitor DPI awareness v2, five supportedOS entries"
  exports=$($mingw-objdump -p "$win_build/standin-decorated/fmod.dll" | grep -o '_F[A-Z_a-z]*@[0-9]*' | sort | tr '\n' ' ')
  [ "$exports" = "_FMUSIC_LoadSong@4 _FMUSIC_PlaySong@4 _FMUSIC_SetPaused@8 _FMUSIC_StopSong@4 _FSOUND_Init@12 " ] ||
    fail "the music stand-in exports '$exports'"
  exit 0
}

[ "$case_name" = build ] && build

# Wine's loader of this width must run. The 32-bit one comes with wine32:i386,
# which cannot always be installed, and needs the kernel's IA-32 emulation,
# which some virtual machines lack; the `wine` command itself answers either
# way, so the loader is asked directly.
loader=/usr/lib/wine/wine64 package=wine64
[ "$arch" = win32 ] && loader=/usr/lib/wine/wine package=wine32:i386
[ -e "$loader" ] || skip "Wine's $arch loader $loader is not installed (package $package)"
loader_answer=$(WINEPREFIX=/nonexistent "$loader" --version 2>&1) ||
  skip "this machine cannot run Wine's $arch loader: $(tail -n 1 <<<"$loader_answer")"
# Every run goes to that loader directly: Debian's `wine` command takes the
# 32-bit one whenever it is installed, even where the kernel cannot run it,
# and the 64-bit one starts 64-bit programs by itself.
export WINELOADER=$loader
wine() { "$loader" "$@"; }
[ -f "$win_build/vokdemo.exe" ] || fail "the cross build is missing (run the build case first)"
[ -f "$data_dir/v.ase" ] || fail "the data set is missing in $data_dir"

# Whether the program has the built-in music (libopenmpt linked in), and if not why.
builtin_music=$(cat "$win_build/builtin-music.txt" 2>/dev/null || echo "none: builtin-music.txt is missing")
has_builtin_music() { [ "${builtin_music#libopenmpt}" != "$builtin_music" ]; }
needs_builtin_music() { has_builtin_music || skip "the build has no built-in music ($builtin_music)"; }

# Where the title picture shows, case by case: the X screen, what the Wine
# prefix or the environment gets first (desktop: Wine's virtual desktop of
# 1024x768, where the 320x240 mode can be set; dpi192: LogPixels 192;
# no_ddraw: DirectDraw disabled), where the picture must be (search:SCALE
# somewhere near the top left, a window; at:X:Y:SCALE there with the rest of
# the screen black) and the program's arguments.
placements='
shot24           1024x768x24  -         search:1       
shot16           1024x768x16  -         search:1
scale2           1024x768x24  -         search:2       --scale 2
first_not_1      1024x768x24  -         search:1       0 --scale 1
fullscreen       320x240x24   -         at:0:0:1       1
fill             1024x768x24  -         at:32:24:3     1
fill16           1024x768x16  -         at:32:24:3     10
fill_capped      1024x768x24  -         at:192:144:2   1 --scale 2
fill_option      1024x768x24  -         at:32:24:3     --fullscreen
virtual_desktop  1024x768x24  desktop   at:0:0:1       1
dpi192           1024x768x24  dpi192    search:2
gdi_window       1024x768x24  no_ddraw  search:1
gdi_fullscreen   1024x768x24  no_ddraw  at:32:24:3     1
'
placement_of() { awk -v c="$1" '$1 == c' <<<"$placements"; }

# ---- Everything below runs inside xvfb-run ----

screen_for_case() {
  local row
  row=$(placement_of "$1")
  if [ -n "$row" ]; then awk '{ print $2 }' <<<"$row"; return; fi
  case $1 in
    wm_fullscreen) echo 320x240x24 ;;
    *) echo 1024x768x24 ;;
  esac
}

if [ -z "${VOK_INSIDE_XVFB:-}" ]; then
  VOK_INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 $(screen_for_case "$case_name") -nolisten tcp -noreset" \
    "$0" "$@"
fi

scratch=$(mktemp -d /tmp/vok-wine.XXXXXX)
run_dir=$scratch/run
out=$scratch/out.txt
err=$scratch/err.txt
calls=$run_dir/fmod_calls.log
mkdir -p "$run_dir"

export WINEPREFIX=$scratch/prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wm_dir=$scratch
source "$source_dir/tests/support/wm_steps.sh"
source "$source_dir/tests/support/seek_steps.sh"
cleanup() {
  stop_window_manager
  wineserver -k >/dev/null 2>&1
  rm -rf "$scratch"
}
trap cleanup EXIT

show_output() {
  echo "--- standard output:"; head -c 2000 "$out" 2>/dev/null; echo
  echo "--- standard error:"; head -c 2000 "$err" 2>/dev/null
  [ -f "$calls" ] && { echo "--- music calls:"; cat "$calls"; }
}

# Every run gets a fresh prefix: a copy of one that wineboot made once for
# this width and build (about 10 s of work each time otherwise), with the
# settings every case shares. The first case to need it makes it, under a
# lock, while the others wait; one left unfinished (no .complete) is made again.
template=$win_build/wine-prefix
make_template() {
  [ -f "$template/.complete" ] && return
  rm -rf "$template"
  WINEPREFIX=$template "$loader" wineboot -i >/dev/null 2>&1
  # Nothing depends on OpenGL: DirectDraw draws through GDI.
  WINEPREFIX=$template "$loader" reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1
  WINEPREFIX=$template wineserver -w
  [ -f "$template/system.reg" ] || fail "wineboot made no prefix in $template"
  touch "$template/.complete"
}

make_prefix() {
  exec {lock}>"$template.lock"
  flock "$lock"
  make_template
  flock -u "$lock"
  cp -a "$template" "$WINEPREFIX" || fail "copying the Wine prefix"
  # Without a window manager, Wine waits two seconds for a managed window
  # to be withdrawn when it is hidden; unmanaged windows close at once.
  [ -n "$wm_pid" ] || wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
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

# Xvfb machines have no sound card: Wine's ALSA driver then finds no output.
# ALSA's null device, made the default in a private home, takes the sound
# at the device's pace and discards it; Wine's trace of winmm shows what the
# program asked for.
with_null_sound_device() {
  mkdir -p "$scratch/home"
  echo 'pcm.!default { type null }' >"$scratch/home/.asoundrc"
  export HOME=$scratch/home
}
trace_sound_calls() { export WINEDEBUG=-all,+timestamp,+winmm; }

# Times in milliseconds.
now() { date +%s%3N; }
ms_since() { echo $(($(now) - $1)); }

start_program() {
  started=$(now)
  (cd "$run_dir" && exec "$loader" "${program:-$win_build/vokdemo.exe}" "$@" >"$out" 2>"$err" </dev/null) &
  pid=$!
  wm_player=$pid
}

# The screensaver as Windows installs it: vokdemo.scr with the data set and
# the music stand-in in a folder of its own, started in another folder (the
# working folder holds no data).
stage_screensaver() {
  local saver=$scratch/saver
  mkdir -p "$saver"
  for file in "$data_dir"/*; do ln -s "$file" "$saver/"; done
  cp "$win_build/vokdemo.exe" "$saver/vokdemo.scr"
  cp "$win_build/standin-decorated/fmod.dll" "$saver/"
  program=$saver/vokdemo.scr
}

# Waits for the program to end, at most $1 seconds; sets status.
wait_for_exit() {
  local limit=$1
  local deadline=$(($(now) + 1000 * limit))
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

# Without the music stand-in's log, the show starts right after the last
# mesh is read. Loading takes seconds under Wine on a loaded machine; a key
# pressed before it ends waits until the show's loop reads it, so the cases
# wait for the show, and their time limits measure the exit alone.
wait_for_meshes() {
  local i
  for i in $(seq 1 600); do
    [ "$(grep -o 'lecture faces ok !' "$out" 2>/dev/null | wc -l)" -ge 5 ] && return
    kill -0 "$pid" 2>/dev/null || fail "the program ended before the meshes were read"
    sleep 0.1
  done
  fail "the meshes were not read within 60 s"
}

# The ids of the viewable top-level windows named $1. (xdotool's search
# stops at the first window that goes away while it looks, as a finished
# program's do, so the tree is read.)
windows_named() {
  local id
  for id in $(xwininfo -root -children 2>/dev/null | grep -F " \"$1\": " | awk '{ print $1 }'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && echo "$id"
  done
}

# The player's window, at any depth (a window manager or Wine's virtual
# desktop puts it inside a window of its own), while the program runs.
window_id() {
  local id
  for _ in $(seq 1 50); do
    id=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.1
  done
}

press_escape() {
  local window
  window=$(window_id)
  [ -n "$window" ] || fail "no window with the caption $caption"
  xdotool key --window "$window" Escape
  escape_time=$(now)  # once the key has gone out: starting xdotool does not count
  # xdotool can stop between the press and the release when the window goes
  # at the press; the key would then repeat into the next program of the case.
  xdotool keyup Escape 2>/dev/null
}

screenshot() {
  import -window root "$scratch/shot.png" || fail "no screenshot"
  convert "$scratch/shot.png" -depth 8 "rgb:$scratch/shot.rgb" || fail "converting the screenshot"
}

# The window's place and size on the X screen: "X Y WIDTH HEIGHT".
window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# Sends keys to the program's window, $key_pause s apart.
key_pause=0.4
send_keys() {
  local key
  for key in "$@"; do
    xdotool key --window "$window" "$key"
    sleep "$key_pause"
  done
}

# The first millisecond of every scene, then the end, from the scene table
# (the player suite's probe reads it).
scene_starts=()
read_scene_starts() {
  [ -x "$linux_build/tests/vok_player_probe" ] || fail "the player suite's probe is missing"
  mapfile -t scene_starts < <("$linux_build/tests/vok_player_probe" scenes)
}
# The title fades in over the show's first 5.5 s and stays until 8.28 s. The
# checker takes it at any fade from 0.3 on, so the test polls screenshots for
# 30 s instead of betting on the moment of one; the faded picture holds for
# more than 5 s of show time.
expect_title() {  # bits-per-pixel of the desktop, then the checker's placement options
  local deadline=$(( $(now) + 30000 )) geometry
  while [ "$(now)" -lt "$deadline" ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended before the title was seen"
    screenshot
    geometry=$(identify -format '%w %h' "$scratch/shot.png")
    "$shot_check" "$data_dir/vok_zumber.pcx" "$scratch/shot.rgb" $geometry "$@" --faded >"$scratch/check.txt" &&
      { cat "$scratch/check.txt"; return; }
    sleep 0.1
  done
  cp "$scratch/shot.png" "$linux_build/windows-$case_name-failed.png"
  fail "no screenshot showed the title picture: $(cat "$scratch/check.txt")"
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

# Wine's trace of winmm: one sound output opened, buffers written to it from
# the show's start until at least `$1` seconds later, the output closed at
# the end. (ALSA's null device takes the buffers faster than real time, so
# their number says nothing; their times do.)
expect_sound_fed_for() {
  local opens writes first last
  opens=$(grep -c 'trace:winmm:waveOutOpen (' "$err")
  [ "$opens" = 1 ] || fail "expected one waveOutOpen, found $opens"
  writes=$(grep -c 'trace:winmm:waveOutWrite (' "$err")
  first=$(grep -m1 'trace:winmm:waveOutWrite (' "$err" | cut -d: -f1)
  last=$(grep 'trace:winmm:waveOutWrite (' "$err" | tail -1 | cut -d: -f1)
  note "$writes sound buffers written from $first s to $last s"
  awk -v a="$first" -v b="$last" -v s="$1" 'BEGIN { exit !(b - a >= s) }' ||
    fail "sound was fed for $first..$last s, not $1 s"
  grep -q 'trace:winmm:waveOutClose (' "$err" || fail "the sound output was not closed at the end"
}

expect_exit_code() { [ "$status" = "$1" ] || fail "exit code $status, expected $1"; }

# Waits at most $2 s for the COUNT-th ($3, default 1) line of standard error
# that matches the pattern $1, while the program lives.
wait_for_line() {
  local deadline=$(( $(now) + 1000 * $2 )) count=${3:-1}
  while [ "$(tr -d '\r' <"$err" | grep -c "$1")" -lt "$count" ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended before a line like '$1'"
    [ "$(now)" -lt "$deadline" ] || fail "no line like '$1' within $2 s"
    sleep 0.1
  done
}

# The prefix or the environment for a placement case.
prepare() {
  case $1 in
    desktop)
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
      wineserver -k >/dev/null 2>&1 ;;  # the desktop that wineboot started goes
    dpi192)
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
      wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
        /t REG_DWORD /d 192 /f >/dev/null 2>&1
      wineserver -k >/dev/null 2>&1 ;;  # the DPI is read when Wine starts again
    no_ddraw) export WINEDLLOVERRIDES="mscoree,mshtml=;ddraw=d" ;;
  esac
}

# The line that says how the frames are shown: through GDI where DirectDraw
# is disabled; in full screen on a screen that has no 320x240 mode, where it
# went instead; otherwise nothing.
expect_path_lines() {
  local setup=$1 screen=$2 arguments=$3
  if [ "$setup" = no_ddraw ]; then
    [ "$(tr -d '\r' <"$err" | grep -c '^vokdemo: DirectDraw cannot be used (ddraw.dll cannot be loaded); the frames are shown through GDI$')" = 1 ] ||
      fail "not one line about GDI"
  else
    grep -q 'through GDI' "$err" && fail "GDI was used: $(grep 'through GDI' "$err")"
  fi
  local refused=0
  case "$arguments" in 1*|--fullscreen*) [ "$setup" = - ] && [ "${screen%x*}" != 320x240 ] && refused=1 ;; esac
  if [ "$refused" = 1 ]; then
    tr -d '\r' <"$err" | grep -q '^vokdemo: the 320x240 mode was refused (0x[0-9A-F]*); full screen stays at 1024x768 with the picture at x[0-9], centred$' ||
      fail "no line about the refused mode"
  else
    grep -q 'mode was refused' "$err" && fail "$(grep 'mode was refused' "$err")"
  fi
  return 0
}

case $case_name in wm_*) start_window_manager ;; esac
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
  shot24|shot16|scale2|first_not_1|fullscreen|fill|fill16|fill_capped|fill_option|virtual_desktop|dpi192|gdi_window|gdi_fullscreen)
    read -r _ screen setup picture arguments <<<"$(placement_of "$case_name")"
    stage_data; with_music_standin decorated
    prepare "$setup"
    # shellcheck disable=SC2086 # the table's arguments are words
    start_program $arguments
    wait_for_show_start
    bits=${screen##*x}
    [ "$bits" = 24 ] && bits=32
    IFS=: read -r mode x y scale <<<"$picture"
    if [ "$mode" = search ]; then expect_title "$bits" --search "$x"; else expect_title "$bits" --at "$x" "$y" "$scale"; fi
    press_escape
    wait_for_exit 5
    expect_exit_code 0
    expect_path_lines "$setup" "$screen" "$arguments"
    ;;
  options)
    # The shared command line: what it prints, where, and the exit code; no
    # window opens for any of these.
    stage_data
    while IFS='|' read -r arguments code stream pattern; do
      [ -n "$arguments" ] || continue
      # shellcheck disable=SC2086
      (cd "$run_dir" && wine "$win_build/vokdemo.exe" $arguments >"$out" 2>"$err" </dev/null)
      status=$?
      [ "$status" = "$code" ] || fail "vokdemo.exe $arguments: exit code $status, expected $code"
      file=$out; [ "$stream" = err ] && file=$err
      tr -d '\r' <"$file" | grep -qE "$pattern" || fail "vokdemo.exe $arguments: no line like '$pattern'"
      if [ "$code" = 2 ]; then
        [ "$(grep -c . "$err")" = 1 ] || fail "vokdemo.exe $arguments: not one line on standard error"
        [ ! -s "$out" ] || fail "vokdemo.exe $arguments: wrote to standard output"
      fi
      note "vokdemo.exe $arguments: exit $status, $(head -1 "$file" | tr -d '\r')"
    done <<'TABLE'
--help|0|out|^usage: vokdemo \[1\] \[options\]$
--help|0|out|^  F or Alt\+Enter +full screen on and off$
--help|0|out|^Data files: the working directory$
--data . -h|0|out|^Data files: \. \(given with --data\)$
--version|0|out|^vokdemo 1\.0\.0$
--bogus|2|err|^vokdemo: unknown option '--bogus' \(see --help\)$
1 --bogus|2|err|^vokdemo: unknown option '--bogus' \(see --help\)$
--scale 0|2|err|^vokdemo: bad --scale '0': give a whole number from 1 to 16$
--scale 99|2|err|^vokdemo: bad --scale '99': give a whole number from 1 to 16$
--render --fps 10|2|err|^vokdemo: '--render' is not an option of the Windows program \(see --help\)$
--data no-such-folder|1|err|^vokdemo: the data directory 'no-such-folder' does not exist$
TABLE
    ;;
  flash_box)
    # A data set whose verdict fails: a box before the show with play (OK)
    # and quit (Cancel; Escape); --gentle plays without it.
    stage_data; with_music_standin decorated
    printf 'fail\nfails: the test says so\n' >"$run_dir/flashes.txt"
    for answer in Escape Return; do
      rm -f "$calls"
      start_program
      box=
      for _ in $(seq 200); do
        box=$(windows_named vokdemo | head -1)
        [ -n "$box" ] && break
        kill -0 "$pid" 2>/dev/null || fail "the program ended without a box"
        sleep 0.1
      done
      [ -n "$box" ] || fail "no box before the show"
      sleep 1
      [ -e "$calls" ] && fail "the show began behind the box"
      # Through the keyboard to the focused box, as a user presses it: a key
      # sent to the box's window itself (XSendEvent) has its release arrive
      # after Wine destroyed that window, and Wine sometimes ended on the
      # BadWindow error that followed.
      xdotool windowfocus "$box" 2>/dev/null
      xdotool key "$answer"
      if [ "$answer" = Escape ]; then
        wait_for_exit 10
        expect_exit_code 0
        [ -e "$calls" ] && fail "Escape in the box did not quit"
      else
        wait_for_show_start
        press_escape
        wait_for_exit 10
        expect_exit_code 0
      fi
      note "$answer in the box: $([ -e "$calls" ] && echo played || echo quit)"
      xdotool keyup Return 2>/dev/null  # as press_escape does
    done
    rm -f "$calls"
    start_program --gentle
    wait_for_show_start
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    ;;
  loop)
    # --loop: the show begins again at its end, and the music with it: the
    # library's song played again, the built-in player's output opened again
    # from the start; the end reached by the keys loops too.
    stage_data; with_music_standin decorated
    start_program --loop --start 96 --sync-log
    wait_for_show_start
    window=$(window_id)
    wait_for_line '^vokdemo: sync loop 0 show' 30
    [ "$(grep -c '^FMUSIC_PlaySong' "$calls")" = 2 ] || fail "the library's song did not begin again"
    read_scene_starts
    key_pause=0.1 send_keys $(printf 'Next %.0s' $(seq $(( ${#scene_starts[@]} - 1 ))))  # to the end
    wait_for_line '^vokdemo: sync loop 0 show' 30 2
    kill -0 "$pid" 2>/dev/null || fail "the looping show ended"
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    note "library: two new beginnings, $(grep -c '^FMUSIC_PlaySong' "$calls") plays of the song"
    if has_builtin_music; then
      rm -f "$run_dir/fmod.dll" "$calls"
      with_null_sound_device; trace_sound_calls
      start_program --loop --start 97 --sync-log
      wait_for_line '^vokdemo: sync loop 0 show' 60
      press_escape
      wait_for_exit 10
      expect_exit_code 0
      [ "$(grep -c 'trace:winmm:waveOutOpen (' "$err")" -ge 2 ] || fail "the built-in music did not begin again"
      note "built-in music: opened again at the new beginning"
    fi
    ;;
  verify)
    # --verify on the console: the data set's table, then a data set with
    # one pixel of one picture changed, where the line is the Linux build's.
    stage_data
    (cd "$run_dir" && wine "$win_build/vokdemo.exe" --verify >"$out" 2>"$err" </dev/null)
    status=$?
    expect_exit_code 0
    frames=$(grep -c . "$data_dir/frames.sha256")
    [ "$(tr -d '\r' <"$out")" = "verified: $frames frames identical" ] || fail "the table: $(cat "$out")"
    note "$(tr -d '\r' <"$out")"
    changed=$run_dir/changed  # Wine takes it by its relative name
    cp -r "$data_dir" "$changed"
    convert "$changed/vok_logo.pcx" -fill 'rgb(1,2,3)' -draw 'point 160,120' "$scratch/changed.png" &&
      "$linux_build/tools/kit/vokkit" picture "$scratch/changed.png" "$changed/vok_logo.pcx" >/dev/null 2>&1 ||
      fail "changing one pixel of vok_logo.pcx"
    linux_line=$("$linux_build/vokdemo" --verify --data "$changed" 2>/dev/null)
    (cd "$run_dir" && wine "$win_build/vokdemo.exe" --verify --data changed >"$out" 2>"$err" </dev/null)
    status=$?
    expect_exit_code 1
    [ "$(tr -d '\r' <"$out")" = "$linux_line" ] || fail "one pixel changed: '$(cat "$out")', the Linux build says '$linux_line'"
    note "one pixel changed: $linux_line"
    rm "$changed/frames.sha256"
    (cd "$run_dir" && wine "$win_build/vokdemo.exe" --verify --data changed >"$out" 2>"$err" </dev/null)
    status=$?
    expect_exit_code 2
    [ "$(grep -c . "$err")" = 1 ] && grep -q '^vokdemo: cannot verify: ' "$err" || fail "no table: $(cat "$err")"
    ;;
  saver_show)
    # /s: full screen and looping from another folder, its data and music
    # library beside it; a move of the mouse within the slack goes on, a
    # longer one ends it, as does a key.
    stage_screensaver
    for ending in mouse key; do
      rm -f "$calls"
      start_program /s
      wait_for_show_start
      window=$(window_id)
      [ "$(window_geometry "$window")" = "0 0 1024 768" ] || fail "/s: the window is at $(window_geometry "$window")"
      wm_player=$pid expect_show_on_screen root "as a screensaver"
      if [ "$ending" = mouse ]; then
        xdotool mousemove_relative 2 1
        sleep 1
        kill -0 "$pid" 2>/dev/null || fail "a move of 2 pixels ended the screensaver"
        xdotool mousemove_relative 2 1 mousemove_relative 40 30
      else
        xdotool key --window "$window" a
        xdotool keyup a 2>/dev/null
      fi
      wait_for_exit 10
      expect_exit_code 0
      note "/s ended by the $ending"
    done
    ;;
  saver_preview)
    # /p HWND: the show runs for the window the test's host gives it, until
    # that window goes; a handle that is no window, and none, are one line
    # each. (Wine draws nothing of a child window whose parent belongs to
    # another process: its device context has no drawable. What the preview
    # draws is checked in the display tests, into a window of their own.)
    stage_screensaver
    saver=$program
    program=$win_build/vok_preview_host.exe
    start_program "Z:${saver//\//\\}"  # the Windows name of the Unix path
    wait_for_meshes  # the preview's words reach the host's output
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "the host ended: $(cat "$out")"
    host=$(windows_named "preview host" | head -1)
    [ -n "$host" ] || fail "no host window"
    xdotool key --window "$host" Escape
    xdotool keyup Escape 2>/dev/null
    wait_for_exit 20
    grep -q '^preview ended with 0' "$out" || fail "the preview: $(cat "$out")"
    expect_exit_code 0
    for arguments in "/p 12345" "/p"; do
      # shellcheck disable=SC2086
      (cd "$run_dir" && "$loader" "$saver" $arguments >"$out" 2>"$err" </dev/null)
      status=$?
      expect_exit_code 2
      [ "$(tr -d '\r' <"$err" | grep -c '^vokdemo: ')" = 1 ] || fail "$arguments: not one line"
      note "vokdemo.scr $arguments: $(tr -d '\r' <"$err")"
    done
    ;;
  saver_settings)
    # /c: the settings dialog; its check box off and OK keep the music off
    # in the registry, and /s then plays without the music library.
    stage_screensaver
    start_program /c
    dialog=
    for _ in $(seq 100); do
      dialog=$(windows_named "vokdemo screensaver" | head -1)
      [ -n "$dialog" ] && break
      sleep 0.1
    done
    [ -n "$dialog" ] || fail "no settings dialog"
    xdotool windowfocus --sync "$dialog" 2>/dev/null  # no window manager gives it the keys
    key_pause=0.5 window=$dialog send_keys space Return
    xdotool keyup Return 2>/dev/null
    wait_for_exit 10
    expect_exit_code 0
    wine reg query 'HKCU\Software\vokdemo\Screensaver' /v Sound 2>/dev/null | tr -d '\r' | grep -q 'REG_DWORD *0x0$' ||
      fail "the music is not off in the registry"
    rm -f "$calls"
    start_program /s
    wait_for_meshes  # no music to say when the show starts
    wm_player=$pid expect_show_on_screen root "as a silent screensaver"
    xdotool mousemove_relative 2 1 mousemove_relative 40 30
    wait_for_exit 10
    expect_exit_code 0
    [ ! -e "$calls" ] || fail "the music library was called with the music off"
    note "the music off is kept, and /s plays silent"
    ;;
  keys)
    # Seeks by 5 s, by scenes and to the beginning land where the SDL
    # player's do, as the sync log reports them.
    stage_data; with_music_standin decorated
    start_program --sync-log --start 30
    wait_for_show_start
    window=$(window_id)
    read_scene_starts
    send_keys Right Left Left Next Prior Home comma period
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    expect_seeks_in "$err" Right Left Left Next Prior Home comma period
    [ "$(grep -c '^vokdemo: sync landed' "$err")" = 8 ] || fail "not a frame after each seek"
    # The music library plays its song again for the two landings at 0.
    [ "$(grep -c '^FMUSIC_StopSong' "$calls")" = 2 ] || fail "the library's song did not begin again at 0"
    ;;
  pause)
    # Space holds the picture and the built-in music (waveOutPause), and the
    # show and the music go on from the held moment.
    needs_builtin_music
    stage_data; with_null_sound_device; trace_sound_calls
    start_program --sync-log --start 76
    wait_for_meshes
    window=$(window_id)
    sleep 1
    key_pause=0.5 send_keys space
    import -window "$window" "$scratch/held-a.png" || fail "no screenshot"
    sleep 2
    import -window "$window" "$scratch/held-b.png" || fail "no screenshot"
    changed=$(compare -metric AE "$scratch/held-a.png" "$scratch/held-b.png" null: 2>&1 | cut -d' ' -f1)
    [ "$changed" = 0 ] || fail "the picture moved while paused ($changed pixels)"
    send_keys space
    sleep 1
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    held=$(awk '/^vokdemo: sync pause/ { print $6 }' "$err")
    [ -n "$held" ] || fail "no pause in the sync log"
    grep -q "^vokdemo: sync play 11 show $held ms" "$err" || fail "the show did not go on from the held $held ms"
    grep -q 'trace:winmm:waveOutPause' "$err" || fail "the music was not paused"
    [ "$(grep -c 'trace:winmm:waveOutOpen (' "$err")" = 2 ] || fail "the music did not start again from the held moment"
    note "paused at $held ms, resumed there"
    ;;
  screenshot_key)
    # Paused, to the beginning and on to the sprites scene: the one frame
    # drawn there is the renderer's frame at that time (the sprites draw from
    # the time alone, whatever came before), and S writes it as a PNG picture
    # into the working folder.
    stage_data; with_music_standin decorated
    start_program --sync-log
    wait_for_show_start
    window=$(window_id)
    send_keys space Home Next Next Next Next Next Next Next s
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    read_scene_starts
    ms=${scene_starts[7]}
    name=$(printf 'vokdemo-%03d.%03ds-scene07.png' $(( ms / 1000 )) $(( ms % 1000 )))
    shot=$run_dir/$name
    [ -f "$shot" ] || fail "no screenshot $name: $(ls "$run_dir" | grep png)"
    tr -d '\r' <"$err" | grep -q "^vokdemo: screenshot $name\$" || fail "no line for the screenshot"
    "$linux_build/vokdemo" --data "$data_dir" --render --fps 1000 --frames "$ms-$ms" --raw "$scratch/frame.raw" \
      >/dev/null 2>&1 || fail "the Linux renderer failed"
    convert -size 320x240 -depth 8 "bgra:$scratch/frame.raw" "rgb:$scratch/rendered.rgb" || fail "converting the frame"
    convert "$shot" -depth 8 "rgb:$scratch/written.rgb" || fail "reading the screenshot"
    if ! cmp -s "$scratch/rendered.rgb" "$scratch/written.rgb"; then
      cp "$shot" "$linux_build/windows-$arch-$case_name-failed.png"
      fail "the screenshot is not the renderer's frame at $ms ms (kept as windows-$arch-$case_name-failed.png)"
    fi
    note "the screenshot equals the renderer's frame at $ms ms"
    ;;
  alt_enter)
    # Alt+Enter toggles full screen and brings the window back to its place,
    # also after 50 presses in a row; the show goes on.
    stage_data; with_music_standin decorated
    start_program
    wait_for_show_start
    window=$(window_id)
    sleep 1
    before=$(window_geometry "$window")
    key_pause=1 send_keys alt+Return
    [ "$(window_geometry "$window")" = "0 0 1024 768" ] || fail "full screen: the window is at $(window_geometry "$window")"
    key_pause=1 send_keys alt+Return
    [ "$(window_geometry "$window")" = "$before" ] || fail "back: the window is at $(window_geometry "$window"), not $before"
    key_pause=0.05 send_keys $(printf 'alt+Return %.0s' $(seq 50))
    sleep 1
    kill -0 "$pid" 2>/dev/null || fail "the program died in 50 presses of Alt+Enter"
    [ "$(window_geometry "$window")" = "$before" ] || fail "after 50: the window is at $(window_geometry "$window")"
    wm_player=$pid expect_show_on_screen "$window" "after 50 presses of Alt+Enter"
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    note "window at $before, full screen and back"
    ;;
  key_burst)
    # 1,000 of the show's keys in a burst: the program lives and plays on.
    stage_data; with_music_standin decorated
    start_program --sync-log
    wait_for_show_start
    window=$(window_id)
    keys=(space Left Right Prior Next Home comma period i)
    burst=()
    for _ in $(seq 1000); do burst+=(key --window "$window" --delay 0 "${keys[RANDOM % ${#keys[@]}]}"); done
    xdotool "${burst[@]}" || fail "xdotool could not send the burst"
    # The program has taken every key once its sync log stays as it is.
    logged=-1
    for _ in $(seq 30); do
      kill -0 "$pid" 2>/dev/null || fail "the program died in the burst"
      [ "$(wc -l <"$err")" = "$logged" ] && break
      logged=$(wc -l <"$err")
      sleep 1
    done
    pauses=$(grep -c '^vokdemo: sync pause' "$err")
    plays=$(grep -c '^vokdemo: sync play' "$err")
    [ "$pauses" -gt "$plays" ] && send_keys space
    send_keys Home
    wm_player=$pid expect_show_on_screen "$window" "after the burst"
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    note "burst: $pauses pauses, $(grep -c '^vokdemo: sync seek' "$err") seeks"
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
    # A hang or frames going on, not a slow exit on a loaded machine.
    [ "$took" -lt 3000 ] || fail "Escape took $took ms to end the program"
    ;;
  wm_window|wm_fullscreen)
    stage_data; with_music_standin decorated
    if [ "$case_name" = wm_window ]; then start_program; else start_program 1; fi
    wait_for_show_start
    window=$(window_id)
    [ -n "$window" ] || fail "no window with the caption $caption"
    if [ "$case_name" = wm_window ]; then window_manager_visit "$window" window; else window_manager_visit "$window" root; fi
    sleep "$(( RANDOM % 4 )).$(( RANDOM % 10 ))"  # Escape at a moment of the show no run repeats
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    expect_mesh_lines
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
    stage_data; with_music_standin decorated; with_null_sound_device; trace_sound_calls
    start_program
    wait_for_show_start
    wait_for_exit 130
    show_time=$(ms_since "$show_start")
    note "ended by itself $show_time ms after the show started"
    expect_exit_code 0
    expect_mesh_lines
    expect_music_calls
    grep -q 'trace:winmm:waveOutOpen' "$err" && fail "the built-in player played beside the music library"
    [ "$show_time" -gt 99000 ] && [ "$show_time" -lt 101500 ] || fail "the show lasted $show_time ms"
    ;;
  builtin_music_end)
    # No "fmod.dll": the built-in player plays the music from start-up to the
    # end of the show (a build without it runs silently, with the same timing).
    stage_data; with_null_sound_device; trace_sound_calls
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
    if has_builtin_music; then
      expect_sound_fed_for 99
    else
      grep -q 'waveOutOpen' "$err" && fail "a build without the built-in music opened a sound output"
      note "silent as expected: $builtin_music"
    fi
    ;;
  music_samples)
    # The built-in player's renderer gives the Linux library's samples.
    needs_builtin_music
    linux_render=$linux_build/tests/vok_music_render
    [ -x "$linux_render" ] || fail "the Linux renderer $linux_render is missing"
    stage_data
    (cd "$run_dir" && wine "$win_build/vok_win_music_render.exe" 10 windows.raw >"$out" 2>"$err" </dev/null)
    status=$?
    expect_exit_code 0
    (cd "$run_dir" && "$linux_render" 10 --compare windows.raw) >"$scratch/compare.txt" 2>&1
    status=$?
    note "first 10 s against the Linux library: $(cat "$scratch/compare.txt")"
    [ "$status" = 0 ] || fail "the Windows rendering differs from the Linux one by more than 1"
    ;;
  bad_module|no_sound_device)
    # A warning line, silence and the show as usual.
    needs_builtin_music
    if [ "$case_name" = bad_module ]; then
      stage_data zumber.xm
      head -c 5000 /dev/urandom >"$run_dir/zumber.xm"
      with_null_sound_device
      expected='cannot load the music'
    else
      stage_data
      # No audio driver at all, whatever sound cards the machine has.
      wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1
      expected='no sound output'
    fi
    trace_sound_calls
    start_program
    wait_for_meshes
    [ -n "$(window_id)" ] || fail "no window with the caption $caption"
    sleep 2
    press_escape
    wait_for_exit 10
    expect_exit_code 0
    expect_mesh_lines
    [ "$(grep -c '^vokdemo: ' "$err")" = 1 ] || fail "expected one warning line"
    grep -q "^vokdemo: $expected" "$err" || fail "no warning '$expected'"
    grep -q 'waveOutWrite' "$err" && fail "sound was played"
    ;;
  frame_hashes)
    # The whole show at 10 and 60 fps, every frame's hash equal to the Linux
    # renderer's line for line, and the mesh reader's text equal to the reference.
    reference=$source_dir/tests/reference
    stage_data
    for fps in 10 60; do
      (cd "$run_dir" && wine "$win_build/vok_win_render.exe" $fps --hash >"$out" 2>"$err" </dev/null)
      status=$?
      expect_exit_code 0
      tr -d '\r' <"$out" >"$scratch/windows-$fps.txt"
      head -c "$(wc -c <"$reference/mesh-text.txt")" "$scratch/windows-$fps.txt" | cmp -s - "$reference/mesh-text.txt" ||
        fail "the mesh reader's text differs from the reference"
      "$linux_build/vokdemo" --data "$data_dir" --render --fps $fps --hash 2>/dev/null | grep '^frame ' >"$scratch/linux-$fps.txt" ||
        fail "the Linux renderer failed at $fps fps"
      grep '^frame ' "$scratch/windows-$fps.txt" >"$scratch/frames-$fps.txt"
      if ! cmp -s "$scratch/frames-$fps.txt" "$scratch/linux-$fps.txt"; then
        diff "$scratch/frames-$fps.txt" "$scratch/linux-$fps.txt" | head -5
        fail "the Windows build's frames at $fps fps differ from the Linux build's"
      fi
      note "$(wc -l <"$scratch/frames-$fps.txt") frames at $fps fps equal the Linux build's"
    done
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
