#!/bin/bash
# Renders the toolbar's three picture strips and the application icons from the drawings in res/:
#   res/toolbar.svg -> res/toolbar_normal.png   and res/toolbar_normal@2x.png
#                      res/toolbar_disabled.png and res/toolbar_disabled@2x.png (greyed)
#                      res/toolbar_hot.png      and res/toolbar_hot@2x.png      (brighter)
#   res/icons/zul.svg -> res/icons/zul-SIZE.png (the window icon)
# The strips have a transparent background, at 1x (544x32) for ordinary screens and 2x (1088x64)
# for screens of high density. Run it after changing a drawing; the PNG files are kept in the
# repository. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
res="$(cd "$(dirname "$0")/../res" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Writes res/toolbar_$1.png and res/toolbar_$1@2x.png: the drawing seen through colour matrix $2.
strip() {
  local filter="<filter id=\"variant\" x=\"0\" y=\"0\" width=\"1\" height=\"1\""
  filter+=" color-interpolation-filters=\"sRGB\"><feColorMatrix type=\"matrix\" values=\"$2\"/>"
  filter+="</filter>"
  sed -e "s|</defs>|$filter</defs>|" -e 's|<g id="pictures">|<g id="pictures" filter="url(#variant)">|' \
    "$res/toolbar.svg" >"$work/$1.svg"
  rsvg-convert -w 544 -h 32 -o "$work/$1.png" "$work/$1.svg"
  rsvg-convert -w 1088 -h 64 -o "$work/$1@2x.png" "$work/$1.svg"
  mv "$work/$1.png" "$res/toolbar_$1.png"
  mv "$work/$1@2x.png" "$res/toolbar_$1@2x.png"
}

strip normal "1 0 0 0 0  0 1 0 0 0  0 0 1 0 0  0 0 0 1 0"
# Grey from the luminance, lifted towards white: the washed-out look of a button that is off.
strip disabled "0.16 0.36 0.08 0 0.36  0.16 0.36 0.08 0 0.36  0.16 0.36 0.08 0 0.36  0 0 0 1 0"
# Slightly more saturated and brighter: the button under the mouse.
strip hot "1.25 -0.1 -0.05 0 0.05  -0.05 1.2 -0.05 0 0.05  -0.05 -0.1 1.25 0 0.05  0 0 0 1 0"

for size in 16 32 256; do
  rsvg-convert -w "$size" -h "$size" -o "$res/icons/zul-$size.png" "$res/icons/zul.svg"
done
