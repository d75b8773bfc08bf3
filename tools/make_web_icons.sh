#!/usr/bin/env bash
# The page's install icons (web/page/icon-192.png, icon-512.png): the
# window's own 32 x 32 icon, each pixel a square block (no smoothing, which
# would blur its lines), without dates so a rerun writes the same bytes.
# Run (tools/make_web_icons.sh) after res/fudeline_icon.xpm changes and commit the PNGs.
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 192 512; do
  convert res/fudeline_icon.xpm -filter point -resize "${size}x${size}" -strip \
    -define png:exclude-chunks=date,time "web/page/icon-$size.png"
done
