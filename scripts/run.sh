#!/usr/bin/env bash
# Installs what is missing, builds, and runs Fudeline: the window when a
# display is available, otherwise the bundled sample drawing, converted headless.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
if [ -x build/bin/fudeline ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/bin/fudeline "$@"
fi
echo "No display available: converting the sample drawing res/sample.replay instead." >&2
# As the window converts by default: with the fine decoder.
build/bin/fudeline-cli replay --fine res/sample.replay
echo
