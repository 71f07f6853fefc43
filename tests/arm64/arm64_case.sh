#!/usr/bin/env bash
# One case of the 64-bit ARM suite; the programs run under qemu-aarch64.
#   arm64_case.sh CASE SOURCE_DIR BUILD_DIR
# build          cross-builds BUILD_DIR/arm64 (Release, tests on)
# core_tests     the core's unit tests
# reference      the reference test (the loading text and sampled frames)
# data_set       the ARM data-set generator writes this build's data set
# hashes_10      the whole show's --hash lines at 10 fps equal this build's, line
#                for line (at 60 fps the build's frame table and verify check them)
# player_window, player_fullscreen
#                the live player's picture on a private X server (the player's
#                own cases, with the ARM player under qemu)
# kit_check      the ARM kit checks this build's data set; its flash verdict is
#                this build's
# music_wav      the ARM capture's --wav: as long as this build's, and no sample
#                more than 3 steps of 16 bits away (libopenmpt and the resampler
#                mix in floating point with each processor's own instructions)
# kmsdrm_absent  asked for KMS/DRM video where there is none, the player
#                says so in one line and ends with exit code 1
# verify         vokdemo --verify: every frame of the show at 60 fps equals the
#                table the ARM build made with its data set (checked against
#                the committed one when it was built)
# package        the arm64 .deb installs into a scratch root and, from its own
#                data set, renders the frames of this machine's build
# Exits 77 (skipped) with the reason when what the case needs is missing.
set -euo pipefail
case_name=$1 source=$2 build=$3
arm=$build/arm64
emulator=qemu-aarch64
fail() { echo "FAIL: $*"; exit 1; }
skip() { echo "skipped: $*"; exit 77; }

why=$("$source/scripts/check-arm64-tools") || skip "$why"
if [ "$case_name" != build ]; then
  [ -x "$arm/vokdemo" ] || fail "no ARM build in $arm (the arm64.build case makes it)"
fi

case "$case_name" in
  build)
    cmake -S "$source" -B "$arm" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$source/cmake/aarch64-linux-gnu.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DVOK_TESTS=ON -DVOK_BENCHMARKS=OFF >"$build/arm64-configure.log" 2>&1 ||
      fail "configure: $(tail -20 "$build/arm64-configure.log")"
    nice -n 10 cmake --build "$arm" -j "$(nproc)" >"$build/arm64-build.log" 2>&1 ||
      fail "build: $(grep -m5 -E 'error|FAILED' "$build/arm64-build.log")"
    if grep -q 'warning:' "$build/arm64-build.log"; then
      fail "the ARM build has warnings: $(grep -m5 'warning:' "$build/arm64-build.log")"
    fi
    file "$arm/vokdemo" | grep -q 'ARM aarch64' || fail "$arm/vokdemo is not an ARM program"
    echo "ok: $arm built"
    ;;
  core_tests)
    $emulator "$arm/tests/vok_core_tests" --gtest_brief=1
    ;;
  reference)
    $emulator "$arm/tests/vok_program_tests" --gtest_brief=1 --gtest_filter='ReferenceTest.*'
    ;;
  data_set)
    diff -r "$build/data" "$arm/data" >/dev/null || fail "the ARM data set differs: $(diff -rq "$build/data" "$arm/data" | head -3)"
    echo "ok: the ARM generator wrote the same $(ls "$arm/data" | wc -l) files"
    ;;
  hashes_10)
    fps=10
    work=$build/arm64-hashes-$fps
    mkdir -p "$work"
    "$build/vokdemo" --data "$build/data" --render --fps "$fps" --hash >"$work/amd64.txt" 2>/dev/null
    start=$(date +%s)
    $emulator "$arm/vokdemo" --data "$build/data" --render --fps "$fps" --hash >"$work/arm64.txt" 2>"$work/arm64.err" ||
      fail "the ARM renderer failed: $(head -3 "$work/arm64.err")"
    seconds=$(($(date +%s) - start))
    frames=$(grep -c '^frame ' "$work/amd64.txt")
    [ "$frames" -gt $((99 * fps)) ] || fail "this build rendered only $frames frames"
    if ! cmp -s "$work/amd64.txt" "$work/arm64.txt"; then
      fail "the ARM frames differ from this build's; first difference: $(diff "$work/amd64.txt" "$work/arm64.txt" | head -3 | tr '\n' ' ')"
    fi
    echo "ok: $frames frames at $fps fps equal this build's, line for line ($seconds s under qemu)"
    ;;
  player_window | player_fullscreen)
    probe=$build/tests/vok_player_probe
    for tool in Xvfb xdotool import xwininfo; do
      command -v $tool >/dev/null || skip "$tool is not installed"
    done
    [ -x "$probe" ] || skip "no $probe (the player tests are not built)"
    # The player's cases start one program by its path.
    player=$arm/vokdemo-under-qemu
    printf '#!/bin/sh\nexec %s %s "$@"\n' "$emulator" "$arm/vokdemo" >"$player"
    chmod +x "$player"
    "$source/tests/player/player_case.sh" "${case_name#player_}" "$player" "$probe" "$build/data" \
      "$build/arm64-$case_name"
    ;;
  kit_check)
    # The ARM kit's report is this build's, line for line, with the same exit
    # status; its flash verdict, made by the ARM kit when the ARM data set was
    # built, is this build's byte for byte (the analysis is not run again).
    expected=0 status=0
    "$build/tools/kit/vokkit" check "$build/data" --no-flashes >"$build/amd64-kit.txt" 2>&1 || expected=$?
    $emulator "$arm/tools/kit/vokkit" check "$build/data" --no-flashes >"$build/arm64-kit.txt" 2>&1 || status=$?
    [ "$status" = "$expected" ] || fail "vokkit check exited $status, this build's $expected: $(tail -3 "$build/arm64-kit.txt")"
    cmp -s "$build/amd64-kit.txt" "$build/arm64-kit.txt" ||
      fail "vokkit check reports differently: $(diff "$build/amd64-kit.txt" "$build/arm64-kit.txt" | head -5)"
    cmp -s "$build/packaging/flashes.txt" "$arm/packaging/flashes.txt" ||
      fail "the ARM flash verdict differs: $(diff "$build/packaging/flashes.txt" "$arm/packaging/flashes.txt" | head -5)"
    echo "ok: the same report ($(tail -1 "$build/arm64-kit.txt")) and the same flash verdict"
    ;;
  music_wav)
    command -v sox >/dev/null || skip "sox is not installed"
    work=$build/arm64-wav
    mkdir -p "$work"
    "$build/vokdemo" --data "$build/data" --wav "$work/amd64.wav" >/dev/null 2>&1 || fail "this build's --wav failed"
    $emulator "$arm/vokdemo" --data "$build/data" --wav "$work/arm64.wav" >/dev/null 2>"$work/arm64.err" ||
      fail "the ARM --wav failed: $(head -3 "$work/arm64.err")"
    length=$(sox --i -s "$work/amd64.wav")
    [ "$(sox --i -s "$work/arm64.wav")" = "$length" ] || fail "the ARM music is $(sox --i -s "$work/arm64.wav") samples long, not $length"
    largest=$(sox -m -v 1 "$work/amd64.wav" -v -1 "$work/arm64.wav" -n stat 2>&1 | awk '/Maximum amplitude/{print $3}')
    awk -v d="$largest" 'BEGIN{exit !(d <= 3 / 32768)}' || fail "the ARM music differs by up to $largest"
    echo "ok: $length samples, at most $largest apart"
    ;;
  kmsdrm_absent)
    [ ! -e /dev/dri/card0 ] || skip "this machine has a KMS/DRM device"
    work=$build/arm64-kmsdrm
    mkdir -p "$work"
    code=0
    SDL_VIDEODRIVER=kmsdrm SDL_AUDIODRIVER=dummy timeout 60 $emulator "$arm/vokdemo" 1 --data "$build/data" \
      >/dev/null 2>"$work/stderr" || code=$?
    [ "$code" -eq 1 ] || fail "exit code $code, not 1: $(cat "$work/stderr")"
    [ "$(wc -l <"$work/stderr")" -eq 1 ] && grep -q '^vokdemo: cannot open the screen: ' "$work/stderr" ||
      fail "not one line saying the screen cannot be opened: $(cat "$work/stderr")"
    echo "ok: $(cat "$work/stderr")"
    ;;
  verify)
    start=$(date +%s)
    code=0
    $emulator "$arm/vokdemo" --verify --data "$arm/data" >"$build/arm64-verify.txt" 2>&1 || code=$?
    [ "$code" -eq 0 ] || fail "exit code $code: $(tail -3 "$build/arm64-verify.txt")"
    grep -qx "verified: $(wc -l <"$arm/data/frames.sha256") frames identical" "$build/arm64-verify.txt" ||
      fail "not the verdict: $(cat "$build/arm64-verify.txt")"
    echo "ok: $(cat "$build/arm64-verify.txt") ($(($(date +%s) - start)) s under qemu)"
    ;;
  package)
    VOK_DEB_ARCH=arm64 VOK_EMULATOR=$emulator \
      "$source/tests/package/deb_test.sh" "$arm" "$build/vokdemo" "$build/data" "$build/arm64-package"
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
