# The table of platforms (platforms.txt) for the shell scripts, which
# source this file.
#   platforms [KIND]        the names of the platforms, in the table's order;
#                           with KIND, those that release that kind of file
#   platform NAME COLUMN    one cell of a row ("" for "-")
# The columns are named in platforms.txt.

declare -A platform_cells=()
platform_names=()
platform_columns=(name system toolchain emulator deb rpm released test build)

platforms_load() {
    local line cells i name
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
        name=${cells[0]}
        platform_names+=("$name")
        for i in "${!platform_columns[@]}"; do
            platform_cells[$name/${platform_columns[i]}]=${cells[i]}
        done
    done <"$(dirname "${BASH_SOURCE[0]}")/../platforms.txt"
}

platforms() {
    local name
    for name in "${platform_names[@]}"; do
        [ -z "${1:-}" ] || [[ " ${platform_cells[$name/released]} " == *" $1 "* ]] || continue
        echo "$name"
    done
}

platform() {
    [ -n "${platform_cells[$1/name]+set}" ] || { echo "platforms.txt: no platform $1" >&2; return 1; }
    echo "${platform_cells[$1/$2]}"
}

platforms_load
