#!/bin/sh
# Draws the program's icons with ImageMagick. Each picture is drawn on a
# 128-pixel canvas and scaled down to the sizes the toolbars and menus use.
# Run from this folder; the PNG files are kept in the repository.
set -e

S=128
draw() { # name, then convert drawing arguments
    name=$1
    shift
    convert -size ${S}x${S} xc:none "$@" "big-$name.png"
}

# Green "new" badge, laid over the lower right corner of the New icons.
convert -size ${S}x${S} xc:none \
    -fill '#2e8b1e' -stroke white -strokewidth 5 -draw 'circle 96,96 96,66' \
    -stroke none -fill white -draw 'rectangle 81,91 111,101' -draw 'rectangle 91,81 101,111' \
    badge.png

draw add -fill '#3c9a29' -stroke '#276d18' -strokewidth 4 -draw 'circle 64,64 64,10' \
    -stroke none -fill white -draw 'roundrectangle 30,55 98,73 4,4' \
    -draw 'roundrectangle 55,30 73,98 4,4'

draw delete -fill '#d23a2e' -stroke '#9c231a' -strokewidth 4 -draw 'circle 64,64 64,10' \
    -stroke white -strokewidth 16 -draw 'line 43,43 85,85' -draw 'line 85,43 43,85'

draw edit -stroke '#5a4a1a' -strokewidth 4 \
    -fill '#f2c230' -draw 'polygon 88,14 114,40 48,106 22,80' \
    -fill '#e88f8f' -draw 'polygon 88,14 114,40 122,32 96,6' \
    -fill '#f3dcb0' -draw 'polygon 22,80 48,106 12,116' \
    -stroke none -fill '#333333' -draw 'polygon 12,116 17,101 27,111'

draw print -stroke '#4a4a4a' -strokewidth 4 \
    -fill white -draw 'rectangle 36,12 92,52' \
    -fill '#9aa3ad' -draw 'roundrectangle 12,44 116,96 10,10' \
    -fill '#d5dae0' -draw 'rectangle 12,62 116,70' \
    -fill white -draw 'rectangle 34,78 94,120' \
    -stroke '#8a8a8a' -strokewidth 4 -draw 'line 44,92 84,92' -draw 'line 44,106 76,106' \
    -stroke none -fill '#41b03a' -draw 'circle 100,56 100,51'

draw export -stroke '#56606b' -strokewidth 4 -fill white \
    -draw 'polygon 14,6 70,6 96,32 96,122 14,122' -fill '#d5dae0' -draw 'polygon 70,6 70,32 96,32' \
    -stroke '#a0a8b0' -draw 'line 28,52 70,52' -draw 'line 28,68 60,68' -draw 'line 28,84 66,84' \
    -stroke '#1f6fbf' -strokewidth 4 -fill '#3a8ee6' \
    -draw 'polygon 56,88 92,88 92,72 124,100 92,126 92,112 56,112'

draw call -stroke '#6b4a22' -strokewidth 4 -fill '#b07a3f' -draw 'roundrectangle 16,14 112,124 10,10' \
    -stroke '#8a8a8a' -fill white -draw 'rectangle 28,30 100,114' \
    -stroke '#5a5a5a' -fill '#c8cdd3' -draw 'roundrectangle 44,6 84,26 6,6' \
    -stroke '#4d7fb8' -strokewidth 6 -draw 'line 40,52 88,52' -draw 'line 40,72 88,72' \
    -draw 'line 40,92 72,92'

draw customer -stroke '#1d4f86' -strokewidth 4 -fill '#3f7fc4' \
    -draw 'circle 64,40 64,14' -draw 'path "M 16,122 C 16,76 40,70 64,70 C 88,70 112,76 112,122 Z"'

draw worker -stroke '#5d3a12' -strokewidth 4 -fill '#3f7fc4' \
    -draw 'path "M 16,122 C 16,78 40,72 64,72 C 88,72 112,78 112,122 Z"' \
    -fill '#f4c9a0' -draw 'circle 64,46 64,22' \
    -fill '#f08c1a' -draw 'path "M 30,40 C 30,6 98,6 98,40 Z"' -draw 'rectangle 22,38 106,46'

draw item -stroke '#6b4a22' -strokewidth 4 \
    -fill '#d9a35f' -draw 'polygon 64,10 118,34 64,58 10,34' \
    -fill '#c08646' -draw 'polygon 10,34 64,58 64,122 10,96' \
    -fill '#a8702f' -draw 'polygon 118,34 64,58 64,122 118,96' \
    -stroke none -fill '#f3e2c4' -draw 'polygon 36,22 90,46 90,56 36,32'

draw contract -stroke '#56606b' -strokewidth 4 -fill white \
    -draw 'polygon 14,6 78,6 104,32 104,122 14,122' -fill '#d5dae0' -draw 'polygon 78,6 78,32 104,32' \
    -stroke '#a0a8b0' -draw 'line 28,48 88,48' -draw 'line 28,64 88,64' -draw 'line 28,80 60,80' \
    -stroke '#9c231a' -fill '#d23a2e' -draw 'polygon 64,104 56,126 70,118 78,126 80,104' \
    -draw 'circle 72,96 72,80'

# The New icons carry the badge.
for name in call customer worker item contract; do
    convert "big-$name.png" badge.png -composite "big-new-$name.png"
done

for big in big-*.png; do
    name=${big#big-}
    name=${name%.png}
    for size in 16 24 32; do
        convert "$big" -filter Lanczos -resize ${size}x${size} "${name}-${size}.png"
    done
done
rm -f big-*.png badge.png

# The program's own picture: the About window and the window icon.
convert -size 128x128 xc:none \
    \( -size 120x120 gradient:'#1f3e66'-'#3f78b5' \) -geometry +4+4 -composite \
    \( -size 128x128 xc:black -fill white -draw 'roundrectangle 4,4 123,123 20,20' \) \
    -alpha off -compose CopyOpacity -composite -compose Over \
    -fill none -stroke '#9cc3ec' -strokewidth 2 -draw 'roundrectangle 5,5 122,122 19,19' \
    -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 78 -gravity center \
    -annotate +0-4 'K' \
    -fill '#9cc3ec' -draw 'rectangle 30,100 98,104' \
    ../korvane.png
for size in 16 32 48 64; do
    convert ../korvane.png -filter Lanczos -resize ${size}x${size} "korvane-${size}.png"
done
