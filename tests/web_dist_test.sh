#!/usr/bin/env bash
# scripts/web.sh --dist DIR: DIR holds exactly the files of build-web/site and
# DIR.zip exactly those files; a folder of other files is refused untouched.
#   web_dist_test.sh CHECKOUT
set -euo pipefail
root=$(realpath "$1")
if [ ! -f "$root/build-web/site/index.html" ]; then
  echo "no page in $root/build-web/site: build it with scripts/web.sh"
  [ "${FUDELINE_WEB_REQUIRED:-}" = 1 ] && exit 1
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkdir theirs
echo kept > theirs/notes.txt
if "$root/scripts/web.sh" --dist theirs >/dev/null 2>&1; then
  echo "a folder of other files was taken"; exit 1
fi
[ "$(cat theirs/notes.txt)" = kept ] && [ ! -e theirs.zip ]

# Relative to where it was started; run twice, the second over the first.
for run in 1 2; do
  "$root/scripts/web.sh" --dist out/fudeline >/dev/null
done
diff -r "$root/build-web/site" out/fudeline
/usr/bin/python3 - "$root/build-web/site" out/fudeline.zip <<'PY'
import os, sys, zipfile
site, packed = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(packed) as z:
    names = sorted(n for n in z.namelist() if not n.endswith("/"))
    expected = sorted(os.path.relpath(os.path.join(folder, name), site)
                      for folder, _, files in os.walk(site) for name in files)
    assert "locales/ja.js" in expected, expected
    assert names == expected, (names, expected)
    for name in names:
        with open(os.path.join(site, name), "rb") as f:
            assert z.read(name) == f.read(), name
PY
echo "dist matches build-web/site ($(find out/fudeline -type f | wc -l) files)"
