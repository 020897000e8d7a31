#!/usr/bin/env bash
# Holds the table of platforms to what reads it: the shell scripts'
# reader gives every cell as CMake's reader does (CELLS, written by
# tests/checks/CMakeLists.txt), and every row names a toolchain file that
# exists.
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

echo "ok: $(platforms | wc -l) platforms, read alike by CMake and the scripts, each with its toolchain"
