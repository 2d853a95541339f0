#!/usr/bin/env bash
# Renders the welcome window and the editor (sample file open, first trigger selected)
# to docs/*.png with a real CJK font.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh fonts-noto-cjk
QT_QPA_PLATFORM=offscreen build/tools/tarvok_screenshots data docs
