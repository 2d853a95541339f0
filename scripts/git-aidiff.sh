#!/bin/sh
# git's external diff command for AI files: shows what changed record by record through
# `tarvok --diff`. git calls it with seven arguments:
#   path old-file old-hex old-mode new-file new-hex new-mode
# (/dev/null stands for the side of a file added or deleted). tarvok says 1 when the files
# differ, which git would take as a failure and stop at: that becomes 0. TARVOK names the
# program when it is not on the PATH; TARVOK_DIFF_FORMAT=json prints JSON.
if [ $# -lt 7 ]; then
    echo "usage: $0 path old-file old-hex old-mode new-file new-hex new-mode" >&2
    exit 2
fi
printf '%s\n' "$1"
"${TARVOK:-tarvok}" --diff "$2" "$5" --format "${TARVOK_DIFF_FORMAT:-text}"
status=$?
[ "$status" -eq 1 ] && status=0
exit "$status"
