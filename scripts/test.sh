#!/usr/bin/env bash
# Sets up, builds, checks that every source file is formatted and runs every test, then
# builds and runs the suite a second time with AddressSanitizer and
# UndefinedBehaviorSanitizer (TARVOK_SANITIZE=0 skips that pass), and builds every fuzz
# target with clang and runs it once over its seeds (TARVOK_FUZZ=0 skips that).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"
if [ "${TARVOK_SANITIZE:-1}" = "1" ]; then
    TARVOK_BUILD_DIR=build-asan TARVOK_CMAKE_ARGS="-DTARVOK_SANITIZE=ON -DTARVOK_BUILD_BENCH=OFF" \
        bash scripts/setup.sh
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
fi
if [ "${TARVOK_FUZZ:-1}" = "1" ]; then
    bash scripts/fuzz.sh 0
fi
