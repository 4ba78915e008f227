#!/bin/bash
# Renders the toolbar's three picture strips and the application icons from the drawings in res/:
#   res/toolbar.svg -> res/toolbar_normal.png   (background 192,192,192)
#                      res/toolbar_disabled.png (greyed, background 208,208,208)
#                      res/toolbar_hot.png      (brighter, background 192,192,192)
#   res/icons/zul.svg -> res/icons/zul-SIZE.png (the window icon)
# Run it after changing a drawing; the PNG files are kept in the repository. Needs rsvg-convert
# (librsvg2-bin).
set -euo pipefail
res="$(cd "$(dirname "$0")/../res" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Writes res/toolbar_$1.png: the drawing seen through colour matrix $2 on background $3.
strip() {
  local filter="<filter id=\"variant\" x=\"0\" y=\"0\" width=\"1\" height=\"1\""
  filter+=" color-interpolation-filters=\"sRGB\"><feColorMatrix type=\"matrix\" values=\"$2\"/>"
  filter+="</filter>"
  sed -e "s|</defs>|$filter</defs>|" -e 's|<g id="pictures">|<g id="pictures" filter="url(#variant)">|' \
    "$res/toolbar.svg" >"$work/$1.svg"
  rsvg-convert --background-color="$3" -o "$work/$1.png" "$work/$1.svg"
  mv "$work/$1.png" "$res/toolbar_$1.png"
}

strip normal "1 0 0 0 0  0 1 0 0 0  0 0 1 0 0  0 0 0 1 0" "#c0c0c0"
# Grey from the luminance, lifted towards white: the washed-out look of a button that is off.
strip disabled "0.16 0.36 0.08 0 0.36  0.16 0.36 0.08 0 0.36  0.16 0.36 0.08 0 0.36  0 0 0 1 0" \
  "#d0d0d0"
# Slightly more saturated and brighter: the button under the mouse.
strip hot "1.25 -0.1 -0.05 0 0.05  -0.05 1.2 -0.05 0 0.05  -0.05 -0.1 1.25 0 0.05  0 0 0 1 0" \
  "#c0c0c0"

for size in 16 32 256; do
  rsvg-convert -w "$size" -h "$size" -o "$res/icons/zul-$size.png" "$res/icons/zul.svg"
done
