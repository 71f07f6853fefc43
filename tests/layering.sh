#!/bin/sh
# The layers of docs/layers.txt, checked: every folder of the project that
# holds code belongs to a layer; a file includes the project's files only from
# its own layer and the layers its line names (so the programs in app/ and the
# tools in tools/ never include each other); and the core stays portable and
# quiet: no platform or library header, no printing, no ending the process.
# Prints each offending line.
cd "$1" || exit 2
list=docs/layers.txt
status=0
report() {
  if [ -n "$2" ]; then
    echo "$1:"
    echo "$2"
    status=1
  fi
}
layers=$(grep -v '^#' "$list" | grep -v '^ *$')
folder_layers=$(echo "$layers" | awk -F'|' '{ gsub(/ /, "", $1); n = split($2, f, " "); for (i = 1; i <= n; ++i) print f[i], $1 }')
code_folders=$(find . -path ./build -prune -o -path './build*' -prune -o -path ./.git -prune -o -path ./node_modules -prune \
  -o \( -name '*.cpp' -o -name '*.h' \) -print | cut -d/ -f2 | sort -u)
report "folders with code that no layer of $list holds" "$(for folder in $code_folders; do
  echo "$folder_layers" | grep -q "^$folder " || echo "$folder"; done)"

# Every include of a project folder, against the includer's layer.
report "includes that cross the layers of $list" "$(
  for folder in $(echo "$folder_layers" | cut -d' ' -f1); do
    [ -d "$folder" ] && grep -rnoE '#include *"[A-Za-z0-9_]+/' "$folder" --include='*.cpp' --include='*.h'
  done | awk -v layers="$layers" '
    BEGIN {
      n = split(layers, lines, "\n")
      for (i = 1; i <= n; ++i) {
        split(lines[i], part, "|")
        name = part[1]; gsub(/ /, "", name)
        m = split(part[2], folders, " ")
        for (j = 1; j <= m; ++j) layerOf[folders[j]] = name
        allowed[name] = " " name " " part[3] " "
      }
    }
    {
      split($0, where, ":"); file = where[1]
      split(file, path, "/"); from = layerOf[path[1]]
      target = $0; sub(/.*#include *"/, "", target); sub(/\/$/, "", target)
      if (!(target in layerOf)) next  # a folder of the layer itself (tools/shared, tests/support)
      to = layerOf[target]
      if (allowed[from] !~ " \\* " && allowed[from] !~ " " to " ") print file ":" where[2] ": " from " includes " target "/ (" to ")"
    }')"

# The core: portable and quiet.
core=$(echo "$layers" | awk -F'|' '$4 ~ /core/ { print $2 }' | tr -s ' ' ' ')
report "core files that include a platform or library header" "$(grep -nE \
  '#include *[<"](windows\.h|ddraw\.h|SDL|libopenmpt|libav|libsw|openssl|png\.h|emscripten|unistd\.h|sys/)' \
  -r $core)"
report "core files that print or end the process" "$(grep -nE \
  '\b(printf|puts|fputs|putchar|fprintf|exit|_exit|abort)\s*\(|\b(stdout|stderr|std::cout|std::cerr|std::clog)\b' \
  -r $core)"
[ $status -eq 0 ] && echo "every include keeps to the layers of $list; the core includes no platform header and neither prints nor exits"
exit $status
