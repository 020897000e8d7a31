#!/usr/bin/env bash
# Holds the table of platforms to what reads it: the shell scripts'
# reader gives every cell as CMake's reader does (CELLS, written by
# tests/checks/CMakeLists.txt), every row names a toolchain file that
# exists, and DEVELOPING.md shows the table's first seven columns as they
# are.
#   platforms.sh CELLS
set -euo pipefail
cells=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/script/platforms.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for name in $(platforms); do
    for column in "${platform_columns[@]}"; do
        printf '%s %s %s\n' "$name" "$column" "$(platform "$name" "$column")"
    done
done >"$cells.sh"
diff "$cells" "$cells.sh" || fail "script/platforms.sh reads platforms.txt otherwise than cmake/platforms.cmake"

for name in $(platforms); do
    toolchain=$root/cmake/$(platform "$name" toolchain).toolchain.cmake
    [ -f "$toolchain" ] || fail "$name: no $toolchain"
done

# The table's header and rows, the blanks around the bars aside.
columns() {
    cut -d '|' -f 1-7 | sed 's/ *| */|/g; s/ *$//'
}
shown=$(awk '/^```text$/ { on = 1; next } on && /^```$/ { exit } on && /^name / { table = 1 } table' \
    "$root/DEVELOPING.md" | columns)
table=$({ grep '^# name *|' "$root/platforms.txt" | sed 's/^# //'; grep -v '^#' "$root/platforms.txt"; } | columns)
[ "$shown" = "$table" ] || fail "DEVELOPING.md shows another table than platforms.txt:
$(diff <(echo "$shown") <(echo "$table"))"
echo "ok: $(platforms | wc -l) platforms, read alike by CMake and the scripts, each with its toolchain, as DEVELOPING.md shows them"
