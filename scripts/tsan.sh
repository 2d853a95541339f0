#!/usr/bin/env bash
# Builds the tests with ThreadSanitizer in build-tsan/ and runs them (offscreen). A report of
# a data race, a lock order inversion or a thread left running fails its test. The
# suppressions in scripts/tsan.supp name frames of Qt's own code (and of GLib, inside Qt) only.
# TARVOK_TSAN_JOBS sets how many tests run at once (2 by default).
set -euo pipefail
cd "$(dirname "$0")/.."
TARVOK_BUILD_DIR=build-tsan TARVOK_CMAKE_ARGS="-DTARVOK_TSAN=ON -DTARVOK_BUILD_BENCH=OFF" \
    bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp second_deadlock_stack=1 history_size=4 ${TSAN_OPTIONS:-}"
ctest --test-dir build-tsan --output-on-failure -j"${TARVOK_TSAN_JOBS:-2}" "$@"
