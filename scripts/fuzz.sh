#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# (default 60 seconds each). New crashing inputs are written to fuzz/crashes/.
# With 0, each target runs once over its seed corpus only (the test command's check that
# every target builds and takes its seeds).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
bash scripts/setup.sh clang libclang-rt-14-dev >/dev/null
if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTARVOK_FUZZ=ON -DTARVOK_BUILD_TESTS=OFF -DTARVOK_BUILD_BENCH=OFF >/dev/null
fi
cmake --build build-fuzz -j"$(nproc)" >/dev/null
mkdir -p fuzz/crashes
for f in build-fuzz/fuzz/tarvok_fuzz*; do
    [ -f "$f" ] && [ -x "$f" ] || continue # not the build's own folders
    name=$(basename "$f")
    corpus="fuzz/corpus/${name#tarvok_fuzz}"
    mkdir -p "$corpus"
    work=$(mktemp -d)
    cp -r "$corpus"/. "$work"/ 2>/dev/null || true
    if [ "$seconds" = "0" ]; then
        echo "== $name over its seeds"
        "$f" -runs=0 -artifact_prefix=fuzz/crashes/ "$work" 2>&1 | tail -1
    else
        echo "== $name for ${seconds}s"
        "$f" -max_total_time="$seconds" -max_len=65536 -artifact_prefix=fuzz/crashes/ "$work" 2>&1 | tail -3
    fi
    rm -rf "$work"
done
