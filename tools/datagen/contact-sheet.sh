#!/bin/sh
# Renders the show headless and puts one frame of each of its fourteen scenes
# on a contact sheet.  Usage: contact-sheet.sh VOKDEMO DATA_DIR OUT.png
# Needs ImageMagick (convert, montage).
set -eu
demo=$1 data=$2 out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# At 10 frames per second frame K shows the time K / 10 s; one frame from the
# middle of each scene.
"$demo" --render --fps 10 --frames 0-960 --raw "$work/show.raw" --data "$data" >/dev/null
set -- 70 "0 fade-in" 140 "1 wave warp" 200 "2 wave warp" 265 "3 letter V" 310 "4 letter O" \
       350 "5 letter K" 395 "6 letter E" 455 "7 sprites" 560 "8 channel drift" 620 "9 cross-fade" \
       700 "10 lens" 800 "11 credits" 870 "12 thanks" 950 "13 greetings"
tiles=""
while [ $# -gt 0 ]; do
    frame=$1 label=$2
    shift 2
    dd if="$work/show.raw" of="$work/frame.bgra" bs=307200 skip="$frame" count=1 status=none
    convert -size 320x240 -depth 8 "bgra:$work/frame.bgra" -alpha off "$work/$frame.png"
    tiles="$tiles -label '$label' $work/$frame.png"
done
eval montage -font DejaVu-Sans -pointsize 13 -fill "'#d0d8ff'" -background "'#101018'" $tiles \
    -tile 4x -geometry +4+4 -depth 8 "'$out'"
