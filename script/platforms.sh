# The table of platforms (platforms.txt) for the shell scripts, which
# source this file.
#   platforms               the names of the platforms, in the table's order
#   platform_columns        the names of the columns, from its header line
#   platform NAME COLUMN    one cell of a row ("" for "-"); a script of the
#                           tree as the emulator by its absolute path
# The columns are described in platforms.txt.

declare -A platform_cells=()
platform_names=()
platform_columns=()

platforms_load() {
    local top line cells i name words
    top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    while IFS= read -r line; do
        [[ $line == '#'* || -z ${line// /} ]] && continue
        IFS='|' read -r -a cells <<<"$line"
        for i in "${!cells[@]}"; do
            read -r -a words <<<"${cells[i]}"
            [ "${words[*]}" != - ] || words=()
            # A command of the tree (the emulator) by its absolute path.
            if [ "${#words[@]}" -gt 0 ] && [[ ${words[0]} == */* ]] && [ -e "$top/${words[0]}" ]; then
                words[0]=$top/${words[0]}
            fi
            cells[i]=${words[*]}
        done
        if [ "${#platform_columns[@]}" -eq 0 ]; then
            platform_columns=("${cells[@]}")
            continue
        fi
        [ "${#cells[@]}" -eq "${#platform_columns[@]}" ] \
            || { echo "platforms.txt: ${#cells[@]} columns, not ${#platform_columns[@]}, in: $line" >&2; return 1; }
        name=${cells[0]}
        platform_names+=("$name")
        for i in "${!platform_columns[@]}"; do
            platform_cells[$name/${platform_columns[i]}]=${cells[i]}
        done
    done <"$top/platforms.txt"
}

platforms() {
    printf '%s\n' "${platform_names[@]}"
}

platform() {
    [ -n "${platform_cells[$1/name]+set}" ] || { echo "platforms.txt: no platform $1" >&2; return 1; }
    [ -n "${platform_cells[$1/$2]+set}" ] || { echo "platforms.txt: no column $2" >&2; return 1; }
    echo "${platform_cells[$1/$2]}"
}

platforms_load
