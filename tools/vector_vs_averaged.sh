#!/usr/bin/env bash
# Draws the README's picture of the bundled logo's 16 x 16 image two ways: drawn
# from the vector at 16 (left) and averaged down from its 256 x 256 render
# (right), each magnified twelve times on a light grey ground.
#
#   tools/vector_vs_averaged.sh [BUILD_DIR]     (default build; needs rsvg-convert and ImageMagick)
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(realpath "${1:-build}")/cli/zentro-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" -f --sizes 16 --depths 32 -o "$work/vector.ico" res/sample/logo.svg >/dev/null
rsvg-convert -w 256 -h 256 res/sample/logo.svg >"$work/logo-256.png"
"$cli" -f --sizes 16 --depths 32 -o "$work/averaged.ico" "$work/logo-256.png" >/dev/null
for kind in vector averaged; do
  "$cli" --extract "$work/$kind" "$work/$kind.ico" >/dev/null
  convert "$work/$kind/00-16x16-32.png" -background '#e8e8e8' -flatten -filter point -resize 1200% "$work/$kind.png"
done
convert "$work/vector.png" "$work/averaged.png" -bordercolor white -border 8 +append -strip \
  docs/sixteen-vector-vs-averaged.png
echo "docs/sixteen-vector-vs-averaged.png"
