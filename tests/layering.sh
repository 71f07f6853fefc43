#!/bin/sh
# The core (common, image, wire3d, effects, demo) and the frame check below
# the programs (verify) stay portable and quiet: they include no platform,
# SDL, ffmpeg or libopenmpt header and nothing from the programs (app/) or the
# screens (display/), and never print to standard output or error nor end the
# process. Prints each offending line.
cd "$1" || exit 2
core="common image wire3d effects demo verify"
status=0
report() {
  if [ -n "$2" ]; then
    echo "$1:"
    echo "$2"
    status=1
  fi
}
report "core files that include a platform or library header, or app/ or display/" "$(grep -nE \
  '#include *[<"](windows\.h|ddraw\.h|SDL|libopenmpt|libav|libsw|openssl|png\.h|emscripten|unistd\.h|sys/|app/|display/)' \
  -r $core)"
report "core files that print or end the process" "$(grep -nE \
  '\b(printf|puts|fputs|putchar|fprintf|exit|_exit|abort)\s*\(|\b(stdout|stderr|std::cout|std::cerr|std::clog)\b' \
  -r $core)"
[ $status -eq 0 ] && echo "the core includes no platform header and neither prints nor exits"
exit $status
