#!/usr/bin/env bash
# Renders the application icon packaging/icons/de.velk.wvelk.svg into the PNG sizes of the
# hicolor theme (packaging/icons/hicolor/<n>x<n>/apps/de.velk.wvelk.png). Run after changing
# the SVG and commit the PNGs; needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for n in 16 32 48 64 128 256; do
  mkdir -p "hicolor/${n}x${n}/apps"
  rsvg-convert -w "$n" -h "$n" de.velk.wvelk.svg -o "hicolor/${n}x${n}/apps/de.velk.wvelk.png"
done
