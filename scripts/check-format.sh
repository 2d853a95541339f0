#!/usr/bin/env bash
# Fails, naming them, when source files differ from what the project's .clang-format makes
# of them. Run `clang-format -i FILE` to format one.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests bench fuzz tools -name '*.cpp' -o -name '*.h')
fi
unformatted=()
for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "Not formatted with .clang-format (run clang-format -i on them):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "All ${#files[@]} source files are formatted."
