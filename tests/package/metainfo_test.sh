#!/usr/bin/env bash
# The AppStream metainfo as packaging/metainfo.cmake makes it: for a verdict
# that passes and one that fails, the sentence on flashes says so and the file
# is valid (appstreamcli validate --no-net); a verdict file that is not one
# stops the build with one message. The desktop entry is valid too.
#   metainfo_test.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source=$1 work=$2
fail() { echo "FAIL: $*"; exit 1; }
for tool in appstreamcli desktop-file-validate; do
  command -v $tool >/dev/null || { echo "skipped: $tool is not installed (scripts/setup-deps --all)"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work"

make_metainfo() {  # VERDICT_TEXT OUT
  printf '%s' "$1" >"$work/flashes.txt"
  cmake -DIN="$source/packaging/vokdemo.metainfo.xml.in" -DOUT="$2" -DVERSION=9.8.7 \
    -DCHANGELOG="$source/packaging/changelog" -DVERDICT="$work/flashes.txt" -P "$source/packaging/metainfo.cmake"
}

for case in "pass|passes the photosensitive-flash check" "fail|fails the photosensitive-flash check"; do
  verdict=${case%%|*} says=${case#*|}
  out=$work/$verdict.metainfo.xml
  make_metainfo "$verdict
a second line of the verdict
" "$out" >"$work/$verdict.log" 2>&1 || fail "the $verdict verdict: $(cat "$work/$verdict.log")"
  grep -q "$says" "$out" || fail "the metainfo for a $verdict verdict does not say it $says"
  grep -q '<release version="9.8.7" date="[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]"/>' "$out" || fail "no release in $out"
  appstreamcli validate --no-net "$out" >"$work/$verdict.validate" 2>&1 ||
    fail "appstreamcli: $(cat "$work/$verdict.validate")"
done
if make_metainfo "maybe" "$work/bad.metainfo.xml" >"$work/bad.log" 2>&1; then fail "a verdict 'maybe' was taken"; fi
tr -s ' \n' ' ' <"$work/bad.log" | grep -q "is not a flash verdict: its first line is 'maybe'" || fail "no message for a bad verdict: $(cat "$work/bad.log")"
[ ! -e "$work/bad.metainfo.xml" ] || fail "a metainfo file was made from a bad verdict"
desktop-file-validate "$source/packaging/vokdemo.desktop" || fail "desktop-file-validate"
echo "ok: the metainfo follows the verdict and validates; the desktop entry validates"
