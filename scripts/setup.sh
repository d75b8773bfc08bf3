#!/usr/bin/env bash
# Installs what building, running and testing Fudeline needs on Debian 12.
# Runs apt-get only when something is missing; uses sudo when not root.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git python3
  libfreetype-dev libpng-dev xfonts-mona libcli11-dev
  libopencv-imgproc-dev libjpeg62-turbo-dev libwebp-dev libgif-dev
  googletest libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-image-formats-plugins fonts-ipafont-gothic
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  xvfb xauth xclip xdotool imagemagick strace
  clang libclang-rt-14-dev
  emscripten chromium chromium-driver python3-selenium python3-pil
  fonts-mona python3-fonttools python3-brotli
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
