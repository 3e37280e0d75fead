#!/usr/bin/env bash
# Draws the window icon at 16, 32, 48 and 128 pixels with ImageMagick: a calculator with a
# display strip showing "x", a keypad and an orange equals key. Run once; the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")"
convert=${CONVERT:-/usr/bin/convert}

body='#2f5d8a'
edge='#1b3a5a'
screen='#e4f2d4'
key='#dde6ef'
equals='#f08a24'

# The 128-pixel drawing, in 128ths of the side; smaller sizes are drawn from the same shapes.
full_drawing() {
    cat <<MVG
stroke $edge stroke-width 4 fill $body roundrectangle 16,6 112,122 14,14
stroke $edge stroke-width 2 fill $screen roundrectangle 28,18 100,46 5,5
stroke $edge stroke-width 5 stroke-linecap round line 76,25 90,39 line 90,25 76,39
stroke none fill $key
roundrectangle 28,56 50,72 3,3 roundrectangle 53,56 75,72 3,3 roundrectangle 78,56 100,72 3,3
roundrectangle 28,78 50,94 3,3 roundrectangle 53,78 75,94 3,3 roundrectangle 78,78 100,94 3,3
roundrectangle 28,100 50,116 3,3 roundrectangle 53,100 75,116 3,3
fill $equals roundrectangle 78,100 100,116 3,3
fill white rectangle 83,104 95,106 rectangle 83,110 95,112
MVG
}

# At 16 pixels fine shapes would blur, so the drawing keeps to whole pixels and four keys.
small_drawing() {
    cat <<MVG
stroke none fill $edge roundrectangle 2,0 13,15 2,2
fill $body rectangle 3,1 12,14
fill $screen rectangle 4,2 11,5
fill $edge rectangle 9,3 10,4
fill $key rectangle 4,7 6,9 rectangle 9,7 11,9 rectangle 4,11 6,13
fill $equals rectangle 9,11 11,13
MVG
}

draw() {
    local size=$1 drawing=$2
    "$convert" -size "${size}x${size}" xc:none -depth 8 -define png:color-type=6 \
        -draw "$drawing" "quorvel-${size}.png"
}

draw 16 "$(small_drawing)"
for size in 32 48 128; do
    scale=$(awk -v s="$size" 'BEGIN { printf "%.6f", s / 128 }')
    draw "$size" "scale $scale,$scale $(full_drawing)"
done
