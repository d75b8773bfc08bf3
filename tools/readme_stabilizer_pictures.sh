#!/usr/bin/env bash
# Draws the README's stabilizer pictures: the strokes of a shaky hand
# (bench/data/shaky-hand.replay) replayed with the stabilizer off, weak and
# strong, converted with the fine decoder and rendered to PNG as the canvas
# draws them: docs/stabilizer-off.png, -weak.png and -strong.png.
#   tools/readme_stabilizer_pictures.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/bin/fudeline-cli
for stabilizer in off weak strong; do
    "$cli" replay bench/data/shaky-hand.replay --sjis --fine --stabilizer "$stabilizer" |
        "$cli" render --sjis -o "docs/stabilizer-$stabilizer.png"
    echo "docs/stabilizer-$stabilizer.png written"
done
