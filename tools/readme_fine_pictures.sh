#!/usr/bin/env bash
# Draws the README's fine decoder pictures: a face drawn with the pen
# (res/sample.replay) and a traced picture (bench/data/line-art/face-1x.jpg), each
# converted with the fine decoder and rendered to PNG as the canvas draws it.
#   tools/readme_fine_pictures.sh [OLD_CLI]
# Writes docs/fine-drawn-after.png and docs/fine-traced-after.png with
# build/bin/fudeline-cli; given OLD_CLI, a fudeline-cli built from an earlier
# commit (with its catalogue beside it), also docs/fine-drawn-before.png and
# docs/fine-traced-before.png from it, for the before/after comparison.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/bin/fudeline-cli
draw() {  # CONVERTER SUFFIX
    "$1" replay res/sample.replay --sjis --fine | "$cli" render --sjis -o "docs/fine-drawn-$2.png"
    "$1" trace bench/data/line-art/face-1x.jpg --sjis --fine | "$cli" render --sjis -o "docs/fine-traced-$2.png"
    echo "docs/fine-drawn-$2.png and docs/fine-traced-$2.png written"
}
draw "$cli" after
if [[ $# -ge 1 ]]; then draw "$1" before; fi
