#!/usr/bin/env bash
# Draws the guard's icons with ImageMagick and writes them beside this script:
#   MLinewarden.ico  program icon, 32x32 and 16x16: a shield with a telephone handset
#   Number.ico       number editor, 32x32: a telephone keypad
#   Question0.ico    dialer question, 32x32: a warning sign over a program window
#   Question1.ico    forbidden active connection, 32x32: a handset with a red cross
#   Question2.ico    forbidden phonebook entry, 32x32: an address card with a red cross
# Every image is drawn four times larger and scaled down, which smooths the edges; the icons
# keep 32-bit colour with an alpha channel, which the resource compiler takes as it is.
# Usage: bash make-art.sh [preview.png]   (the optional preview shows every image enlarged)
set -euo pipefail
out=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Draws MVG into a size x size PNG. The MVG is written in a grid of 'units' per side; the
# canvas is four times the size, so the scale is 4 * size / units.
draw() { # size units mvg out
    local px=$(($1 * 4))
    local k
    k=$(awk -v p="$px" -v u="$2" 'BEGIN { printf "%.4f", p / u }')
    convert -size "${px}x${px}" xc:none -draw "affine $k,0,0,$k,0,0 $3" \
        -filter box -resize "$1x$1" "PNG32:$4"
}

# ImageMagick 6.9 strokes an open path as if it were closed, so an open curve is drawn there
# and back again.
curve() { echo "path 'M$1 C$2 $3 $4 C$3 $2 $1 Z'"; }

# A telephone handset in a 100-unit box: a curved handle with the ear and mouth pieces turned
# towards its inside.
handset() { # colour handle-width
    echo "push graphic-context
      stroke '$1' stroke-width $2 stroke-linejoin round fill none
      $(curve 24,24 16,62 38,84 76,76)
      stroke none fill '$1'
      push graphic-context translate 26,22 rotate 15 roundrectangle -14,-10 16,12 8,8 pop graphic-context
      push graphic-context translate 78,74 rotate 75 roundrectangle -14,-12 16,10 8,8 pop graphic-context
    pop graphic-context"
}

# A red cross with a white rim, so that it stands out on any picture below it (32-unit grid).
cross() { # centre-x centre-y half-size
    local a=$(($1 - $3)) b=$(($2 - $3)) c=$(($1 + $3)) d=$(($2 + $3))
    echo "fill none stroke-linecap round
      stroke white stroke-width 6 line $a,$b $c,$d line $c,$b $a,$d
      stroke '#d01010' stroke-width 3.2 line $a,$b $c,$d line $c,$b $a,$d"
}

# Program icon: the guard's blue shield, lit on its left half, with a white handset.
shield='path "M50,4 L90,16 L90,46 C90,71 73,87 50,97 C27,87 10,71 10,46 L10,16 Z"'
shield_left='path "M50,4 L50,97 C27,87 10,71 10,46 L10,16 Z"'
program_icon() { # rim-width handset-scale handle-width
    echo "stroke none fill '#1f5fe8' $shield fill '#3b78f0' $shield_left
      fill none stroke '#0a2f8a' stroke-width $1 stroke-linejoin round $shield
      push graphic-context translate 50,50 scale $2,$2 translate -50,-50
      $(handset white "$3") pop graphic-context"
}
draw 32 100 "$(program_icon 4 0.62 13)" "$work/program32.png"
# At 16x16 the rim and the handle are drawn heavier so that they survive the scaling.
draw 16 100 "$(program_icon 7 0.68 16)" "$work/program16.png"

# Number editor: a desk telephone, its handset lying on a body with twelve keys, on a
# 32-pixel grid.
keys=""
for row in 0 1 2 3; do
    for col in 0 1 2; do
        x=$((8 + col * 6)); y=$((12 + row * 5))
        keys+=" roundrectangle $x,$y $((x + 4)),$((y + 3)) 1,1"
    done
done
draw 32 32 "stroke '#30343c' stroke-width 1 fill '#6b717c' roundrectangle 5,9 27,31 3,3
  fill '#2a2a2a' roundrectangle 2,2 30,6 2,2 roundrectangle 1.5,3 9,9.5 2.5,2.5
  roundrectangle 23,3 30.5,9.5 2.5,2.5
  stroke none fill '#f4f4f4' $keys" "$work/number.png"

# Dialer question: a program window with a yellow warning sign over its corner.
draw 32 32 "stroke '#3c3c3c' stroke-width 1 fill white rectangle 2,3 25,23
  stroke none fill '#1f5fe8' rectangle 2.5,3.5 24.5,8
  fill '#b8b8b8' rectangle 5,11 18,12.2 rectangle 5,14.5 15,15.7 rectangle 5,18 12,19.2
  stroke '#5a4300' stroke-width 1.2 stroke-linejoin round fill '#ffc814'
  polygon 21,11 30.5,29.5 11.5,29.5
  stroke black stroke-width 2.4 stroke-linecap round line 21,17.5 21,23.5
  stroke none fill black circle 21,26.6 21,27.9" "$work/question0.png"

# Forbidden active connection: a dark handset with a red cross inside its curve.
draw 32 32 "push graphic-context scale 0.32,0.32 $(handset '#2a2a2a' 14) pop graphic-context
  $(cross 21 11 5)" "$work/question1.png"

# Forbidden phonebook entry: an address card (a person and lines of text) with a red cross.
draw 32 32 "stroke '#6a5a30' stroke-width 1 fill '#fff6d2' roundrectangle 2,5 29,25 2,2
  stroke none fill '#4a6fb0' circle 8,12 8,14.4 path 'M3.8,20 C4,16 12,16 12.2,20 Z'
  fill '#8a7a50' rectangle 14,10 25,11.2 rectangle 14,13.5 23,14.7 rectangle 14,17 25,18.2
  rectangle 5,21.5 20,22.7
  $(cross 24 24 5)" "$work/question2.png"

convert "$work/program32.png" "$work/program16.png" "$out/MLinewarden.ico"
convert "$work/number.png" "$out/Number.ico"
for i in 0 1 2; do convert "$work/question$i.png" "$out/Question$i.ico"; done

if [ $# -gt 0 ]; then
    convert "$work"/program32.png "$work"/program16.png "$work"/number.png \
        "$work"/question0.png "$work"/question1.png "$work"/question2.png \
        -background '#efebde' -alpha remove -scale 800% -bordercolor '#efebde' -border 4 +append "$1"
fi
