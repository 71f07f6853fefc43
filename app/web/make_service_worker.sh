#!/usr/bin/env bash
# Writes PAGE_DIR/sw.js from app/web/sw.js: the list of the files of the
# page folder and its data/ folder (but sw.js) for the offline copy, and a
# cache name made of the release and a digest of those files, so that a new
# release, or any file built anew, replaces the copy browsers keep.
#   make_service_worker.sh PAGE_DIR RELEASE
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: make_service_worker.sh PAGE_DIR RELEASE" >&2; exit 2; }
template=$(cd "$(dirname "$0")" && pwd)/sw.js
page=$1 release=$2
cd "$page"
mapfile -t files < <(find . data -maxdepth 1 -type f ! -name sw.js ! -name '*.part' -printf '%p\n' |
  sed 's|^\./||' | LC_ALL=C sort)
[ "${#files[@]}" -gt 0 ] || { echo "make_service_worker.sh: no files in $page" >&2; exit 1; }
digest=$(sha256sum "${files[@]}" | sha256sum | cut -c1-12)
list=$(printf "  '%s',\n" "${files[@]}")
text=$(<"$template")
text=${text//@RELEASE@/$release-$digest}
text=${text//\/\*@FILES@\*\//$list}
printf '%s\n' "$text" >sw.js.part
mv sw.js.part sw.js
