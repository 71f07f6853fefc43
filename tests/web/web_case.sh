#!/usr/bin/env bash
# One case of the browser suite. "build" makes the page (scripts/build-web)
# and installs the test driver (puppeteer-core, pinned by package-lock.json)
# into the build tree; every other case runs web_test.mjs (with the other
# .mjs files of tests/web) from there.
#
#   web_case.sh CASE SOURCE_DIR BUILD_DIR
#
# Exit 77 (skipped) when emscripten, Chromium or node is missing.
set -euo pipefail
case_name=$1
source_dir=$2
build_dir=$3
driver=$build_dir/web-tests

for tool in em++ chromium node npm ffmpeg; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

if [ "$case_name" = build ]; then
  VOK_NATIVE_BUILD=$build_dir "$source_dir/scripts/build-web"
  mkdir -p "$driver"
  cp "$source_dir/tests/web/package.json" "$source_dir/tests/web/package-lock.json" "$driver/"
  # npm ci starts from nothing each time: only when the pinned versions change.
  if ! cmp -s "$driver/package-lock.json" "$driver/node_modules/.installed-lock"; then
    (cd "$driver" && npm ci --no-audit --no-fund)
    cp "$driver/package-lock.json" "$driver/node_modules/.installed-lock"
  fi
  exit 0
fi

# Each case runs from a copy of its own, so that cases running at once never
# read a file another is writing; node_modules is found in the folder above.
mkdir -p "$driver/$case_name"
cp "$source_dir"/tests/web/*.mjs "$driver/$case_name/"
exec node "$driver/$case_name/web_test.mjs" "$case_name" "$source_dir" "$source_dir/build/web" "$build_dir/vokdemo" \
  "$build_dir/data"
