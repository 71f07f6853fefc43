# Where the show's seeking keys land, as shell steps shared by the player and
# Windows cases. The case fills scene_starts (the first millisecond of every
# scene, then the end: `vok_player_probe scenes`) and provides fail().

# The scene at SHOW_MS.
scene_at() {
  local k=0
  while [ $(( k + 1 )) -lt ${#scene_starts[@]} ] && [ "$1" -ge "${scene_starts[k + 1]}" ]; do k=$(( k + 1 )); done
  echo "$k"
}

# Where a key of the show lands from FROM_MS, as the players' table of keys says.
landing_of() {
  local key=$1 from=$2 scene last=$(( ${#scene_starts[@]} - 2 )) end=${scene_starts[-1]}
  scene=$(scene_at "$from")
  case "$key" in
    Right) echo $(( from + 5000 < end ? from + 5000 : end )) ;;
    Left) echo $(( from > 5000 ? from - 5000 : 0 )) ;;
    Next|period) echo "${scene_starts[scene <= last ? scene + 1 : last + 1]}" ;;
    Prior|comma) echo "${scene_starts[scene > 0 ? scene - 1 : 0]}" ;;
    Home) echo 0 ;;
  esac
}

# expect_seeks_in LOG KEY...: the --sync-log line of each seek in LOG, written
# as it happens, gives the time it was asked at and the time it landed on; for
# the seeking keys given, in order, each must land where that key lands from
# there, in the scene of its landing. Reads nothing from the wall clock.
expect_seeks_in() {
  local log=$1 got i=0 key s to from want
  shift
  mapfile -t got < <(tr -d '\r' <"$log" | grep '^vokdemo: sync seek')
  [ "${#got[@]}" -eq "$#" ] || fail "expected $# seeks, got ${#got[@]}: $(cat "$log")"
  for key in "$@"; do
    # vokdemo: sync seek SCENE show TO ms from FROM ms
    read -r _ _ _ s _ to _ _ from _ <<<"${got[i]}"
    want=$(landing_of "$key" "$from")
    [ "$to" = "$want" ] && [ "$s" = "$(scene_at "$to")" ] ||
      fail "seek $i ($key): ${got[i]}; expected scene $(scene_at "$want") at $want ms"
    i=$(( i + 1 ))
  done
}
