#!/usr/bin/env bash
# Draws the seven toolbar images (new project, open, save, update image, to project, from
# project, refresh) side by side, once for each scale: 16 pixels into toolbar.bmp, 24 into
# toolbar24.bmp, 32 into toolbar32.bmp. The drawings are given on a 16-pixel grid and drawn
# scaled, not the small image enlarged. Magenta is the transparent colour.
# Run by hand after changing a drawing; the bitmaps are kept in the tree.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
key='#ff00ff'
# Every -draw of a tile is drawn at the present size ($px); the scaling widens its strokes.
tile() {
    local args=() f
    f=$(awk -v p="$px" 'BEGIN { print p / 16 }')
    while [ $# -gt 0 ]; do
        case $1 in
            -draw) args+=(-draw "scale $f,$f $2"); shift 2 ;;
            *) args+=("$1"); shift ;;
        esac
    done
    convert -size "${px}x$px" "xc:$key" +antialias "${args[@]}" "$tmp/$px-$(printf '%02d' $n).png"
    n=$((n + 1))
}
images() {
n=0
# New project: a blank page with a folded corner and a yellow spark.
tile -fill white -stroke '#404040' -draw "polygon 3,1 10,1 13,4 13,14 3,14" \
    -fill '#c0c0c0' -draw "polygon 10,1 10,4 13,4" \
    -stroke none -fill '#ffc000' -draw "rectangle 1,1 3,3" -draw "point 0,2" -draw "point 4,2"
# Open project: a yellow folder, its lid open.
tile -fill '#d8a020' -stroke '#705010' -draw "polygon 1,3 5,3 6,4 12,4 12,13 1,13" \
    -fill '#ffd860' -draw "polygon 3,7 15,7 12,13 1,13"
# Save project: a blue disk with its label and shutter.
tile -fill '#2050a0' -stroke '#102850' -draw "rectangle 1,1 14,14" \
    -stroke none -fill white -draw "rectangle 4,2 11,7" \
    -fill '#c0c0c0' -draw "rectangle 4,10 11,14" -fill '#2050a0' -draw "rectangle 9,11 10,13"
# Update image: a small picture (sky, sun, hill) in a frame.
tile -fill '#80c0ff' -stroke '#404040' -draw "rectangle 1,2 14,13" \
    -stroke none -fill '#ffe040' -draw "circle 10,5 11,6" \
    -fill '#30a030' -draw "polygon 2,12 6,7 9,10 11,8 13,12"
# To project: a thumbnail with a green arrow into it.
tile -fill white -stroke '#404040' -draw "rectangle 8,3 14,12" \
    -stroke none -fill '#20a020' -draw "polygon 1,6 4,6 4,4 8,8 4,12 4,10 1,10"
# From project: a thumbnail with a red arrow out of it.
tile -fill white -stroke '#404040' -draw "rectangle 1,3 7,12" \
    -stroke none -fill '#d03020' -draw "polygon 8,6 11,6 11,4 15,8 11,12 11,10 8,10"
# Refresh project: a round green arrow.
tile -fill none -stroke '#20a020' -strokewidth 2 -draw "arc 2,2 13,13 200,520" \
    -stroke none -fill '#20a020' -draw "polygon 2,1 6,5 1,6"
}
for px in 16 24 32; do
    images
    name=toolbar.bmp
    [ "$px" = 16 ] || name=toolbar$px.bmp
    convert "$tmp/$px"-*.png +append -alpha off -type TrueColor "BMP3:$name"
done
