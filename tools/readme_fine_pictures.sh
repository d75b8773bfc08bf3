#!/usr/bin/env bash
# Draws the README's row matcher / fine decoder comparison: one committed line
# drawing converted both ways, each text rendered to PNG as the canvas draws it.
#   tools/readme_fine_pictures.sh [DRAWING.pbm]   (default bench/data/lines/a05-mixed.pbm)
# Writes docs/text-art-row-matcher.png and docs/text-art-fine.png; needs build/bin/fudeline-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
drawing=${1:-bench/data/lines/a05-mixed.pbm}
cli=build/bin/fudeline-cli
"$cli" convert "$drawing" --sjis | "$cli" render --sjis -o docs/text-art-row-matcher.png
"$cli" convert "$drawing" --sjis --fine | "$cli" render --sjis -o docs/text-art-fine.png
echo "docs/text-art-row-matcher.png and docs/text-art-fine.png written"
