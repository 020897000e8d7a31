# The table of platforms (platforms.txt) for the shell scripts, which
# source this file.
#   platforms               the names of the platforms, in the table's order
#   platform NAME COLUMN    one cell of a row ("" for "-"); a script of the
#                           tree as the emulator by its absolute path
# The columns are described in platforms.txt.

declare -A platform_cells=()
platform_names=()
platform_columns=(name system toolchain emulator deb rpm released test build)

platforms_load() {
    local top line cells i name words
    top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    while IFS= read -r line; do
        [[ $line == '#'* || -z ${line// /} ]] && continue
        IFS='|' read -r -a cells <<<"$line"
        [ "${#cells[@]}" -eq "${#platform_columns[@]}" ] \
            || { echo "platforms.txt: ${#cells[@]} columns in: $line" >&2; return 1; }
        for i in "${!cells[@]}"; do
            cells[i]=${cells[i]#"${cells[i]%%[![:space:]]*}"}
            cells[i]=${cells[i]%"${cells[i]##*[![:space:]]}"}
            [ "${cells[i]}" != - ] || cells[i]=""
        done
        read -r -a words <<<"${cells[3]}"
        if [ "${#words[@]}" -gt 0 ] && [ -e "$top/${words[0]}" ]; then
            words[0]=$top/${words[0]}
            cells[3]=${words[*]}
        fi
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
    echo "${platform_cells[$1/$2]}"
}

platforms_load
