#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest: the
# release build and the browser page, a bounded fuzzing pass, and the whole
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
#   FUZZ_SECONDS=N  seconds per fuzz target (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
# The browser page, which the browser test drives.
./scripts/web.sh
FUDELINE_WEB_REQUIRED=1 ctest --test-dir build --output-on-failure -j2

./scripts/fuzz.sh "${FUZZ_SECONDS:-15}"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFUDELINE_SANITIZE=ON \
  -DFUDELINE_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2
