#!/usr/bin/env bash
# Takes docs/screenshot.png: starts Fudeline under Xvfb, plays a replay script
# with real X mouse events, and captures the window.
#   tools/screenshot.sh [SCRIPT]   (default res/sample.replay)
set -euo pipefail
cd "$(dirname "$0")/.."
script=${1:-res/sample.replay}
if [ -z "${FUDELINE_IN_XVFB:-}" ]; then
  FUDELINE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1100x700x24" "$0" "$@"
fi
build/bin/fudeline & pid=$!
trap 'kill $pid 2>/dev/null' EXIT
for _ in $(seq 50); do
  wid=$(xdotool search --onlyvisible --name Fudeline 2>/dev/null | head -1) && [ -n "$wid" ] && break
  sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$wid")"
while read -r verb x y; do
  case "$verb" in
    down) xdotool mousemove $((X + x)) $((Y + y)) mousedown 1 ;;
    move) xdotool mousemove $((X + x)) $((Y + y)); sleep 0.005 ;;
    up) xdotool mouseup 1 ;;
  esac
done < <(grep -E '^(down|move|up)' "$script")
xdotool mousemove $((X + 545)) $((Y + 20)) click 1   # show row lines
sleep 0.5
/usr/bin/import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" docs/screenshot.png
echo "docs/screenshot.png written"
