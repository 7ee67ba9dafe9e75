#!/usr/bin/env bash
# Renders the PNG icons from their SVG drawings at every hicolor size:
#   scripts/render-icons.sh
# Needs rsvg-convert (Debian package librsvg2-bin). The PNGs are committed,
# so building never needs this.
set -euo pipefail
icons="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/resources/freedesktop/icons/hicolor"
for svg in "$icons"/scalable/*/*.svg; do
  kind="$(basename "$(dirname "$svg")")"
  name="$(basename "$svg" .svg)"
  for size in 16 24 32 48 64 128 256; do
    mkdir -p "$icons/${size}x${size}/$kind"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$icons/${size}x${size}/$kind/$name.png"
  done
done
