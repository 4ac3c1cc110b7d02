#!/usr/bin/env bash
# Draws the program icon (a desk of three thumbnails) at 16, 32 and 48 pixels into
# snapdesk.ico. Run by hand after changing the drawing; the icon file is kept in the tree.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for size in 16 32 48; do
    s=$((size))
    u=$(awk "BEGIN{print $s/16}")
    convert -size "${s}x${s}" xc:none \
        -fill '#1f5fa8' -draw "roundrectangle 0,$(awk "BEGIN{print 1*$u}") $((s-1)),$((s-2)) $(awk "BEGIN{print 2*$u}"),$(awk "BEGIN{print 2*$u}")" \
        -fill '#ffffff' \
        -draw "rectangle $(awk "BEGIN{print 2*$u}"),$(awk "BEGIN{print 4*$u}") $(awk "BEGIN{print 6*$u-1}"),$(awk "BEGIN{print 8*$u-1}")" \
        -draw "rectangle $(awk "BEGIN{print 6*$u+1}"),$(awk "BEGIN{print 4*$u}") $(awk "BEGIN{print 10*$u-1}"),$(awk "BEGIN{print 8*$u-1}")" \
        -draw "rectangle $(awk "BEGIN{print 10*$u+1}"),$(awk "BEGIN{print 4*$u}") $(awk "BEGIN{print 14*$u-1}"),$(awk "BEGIN{print 8*$u-1}")" \
        -fill '#ffd34d' \
        -draw "rectangle $(awk "BEGIN{print 2*$u}"),$(awk "BEGIN{print 10*$u}") $(awk "BEGIN{print 14*$u-1}"),$(awk "BEGIN{print 12*$u-1}")" \
        "PNG32:$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" snapdesk.ico
