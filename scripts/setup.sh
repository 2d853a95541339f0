#!/usr/bin/env bash
# Installs what building and testing Tarvok needs on Debian 12, then configures and
# builds it in build/. Quick when everything is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

# qt6-translations-l10n: Qt's own dialogs (file dialog, message box buttons) in Chinese.
# clang-format: the test command checks that every source file is formatted.
# libxxhash-dev: the hash of the undo history's fingerprints.
# fonts-noto-cjk: the window's Chinese texts need a CJK font to lay out as they do on users'
# machines; the widget tests click controls where that layout puts them.
packages=(build-essential cmake pkg-config qt6-base-dev qt6-translations-l10n libgl-dev libgtest-dev libgmock-dev libbenchmark-dev libxxhash-dev clang-format fonts-noto-cjk)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir="${TARVOK_BUILD_DIR:-build}"
# The arguments the build directory was configured with are kept in a stamp file beside
# its cache: cmake runs again only when there is no cache yet or TARVOK_CMAKE_ARGS changed.
# A change configures afresh, so an option that was dropped from the arguments does not
# linger in the cache (a directory without a stamp keeps its cache and is configured again).
cmake_args="-DCMAKE_BUILD_TYPE=RelWithDebInfo ${TARVOK_CMAKE_ARGS:-}"
stamp="$build_dir/tarvok-cmake-args.txt"
if [ ! -f "$build_dir/CMakeCache.txt" ] || [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$cmake_args" ]; then
    fresh=()
    [ -f "$build_dir/CMakeCache.txt" ] && [ -f "$stamp" ] && fresh=(--fresh)
    rm -f "$stamp"
    # shellcheck disable=SC2086 # the arguments are split into words on purpose
    cmake "${fresh[@]}" -S . -B "$build_dir" $cmake_args
    printf '%s\n' "$cmake_args" >"$stamp"
fi
cmake --build "$build_dir" -j"$(nproc)"
