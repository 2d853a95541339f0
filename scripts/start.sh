#!/usr/bin/env bash
# Sets up, builds and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
# A CJK font, so that the Chinese texts show on a machine that has none.
fonts=()
if ! fc-list :lang=zh 2>/dev/null | grep -q .; then
    fonts=(fonts-noto-cjk)
fi
bash scripts/setup.sh "${fonts[@]}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Tarvok is built (build/src/tarvok), but there is no graphical display to show it on:" >&2
    echo "neither DISPLAY nor WAYLAND_DISPLAY is set. Run this command from a desktop session." >&2
    echo "Tarvok 已编译完成，但当前没有图形显示环境，无法打开窗口。" >&2
    exit 1
fi
exec build/src/tarvok
