#!/usr/bin/env bash
# Checks that the programs of a platform's release files are hardened as
# DEVELOPING.md says. Every Linux program: NX, the stack protector and
# fortified calls (in the release build's compile commands and unstripped
# objects), position-independent code and the stack clash and control-flow
# flags that the build found its compiler to have for the target; full
# RELRO and PIE, unless it is a static program and the C library has no
# start file for a static PIE, and then it is static, not PIE, with the
# RELRO that a static program has. datum.exe: its PE header, imports and
# stack protector.
#   hardening.sh DIST BUILD PLATFORM   (BUILD: build/package, as script/release leaves it)
set -euo pipefail
dist=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)/$3
platform=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

files=$build/release-files.txt
[ -f "$files" ] || fail "no $files: run script/release"
commands=$build/compile_commands.json
[ -f "$commands" ] || fail "no $commands: run script/release"
# A cache entry of the release build.
cached() {
    sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}
# The compile commands of the program's own sources, one a line.
program_commands() {
    jq -r '.[].command | select(test(" -c \\S*/src/"))' "$commands"
}

# compiled_with FLAG...: every source of the program is compiled with each.
compiled_with() {
    local sources
    sources=$(program_commands)
    [ -n "$sources" ] || fail "$commands: no sources of the program"
    for flag in "$@"; do
        ! grep -v -- " $flag " <<<"$sources" >/dev/null || fail "$platform: a source is compiled without $flag"
    done
}

# The C library of the release build's compiler has a start file for a
# static PIE: the compiler names its path, not the bare name.
has_static_pie_start_file() {
    local compiler target
    read -r compiler _ <<<"$(program_commands | head -1)"
    target=$(program_commands | head -1 | grep -o -- '--target=[^ ]*' || true)
    [ "$("$compiler" $target -print-file-name=rcrt1.o)" != rcrt1.o ]
}

# check_linux FILE PROGRAM
check_linux() {
    local file=$1 program=$2 report expected
    report=$(checksec --output=json --file="$program" | jq -r '.[] | "relro=\(.relro) pie=\(.pie) nx=\(.nx)"')
    expected="relro=full pie=yes nx=yes"
    if [ "$report" != "$expected" ] && file -b "$program" | grep -q 'statically linked'; then
        has_static_pie_start_file && fail "$file: a static program that is no PIE, though the C library has rcrt1.o"
        expected="relro=partial pie=no nx=yes"
    fi
    [ "$report" = "$expected" ] || fail "$file: checksec says $report, not $expected"
    echo "ok: $file: $expected"
}

check_linux_build() {
    local flags nm symbols
    read -r -a flags <<<"$(cached DATUM_HARDENING_FLAGS | tr ';' ' ')"
    compiled_with -fstack-protector-strong '-D_FORTIFY_SOURCE=[23]' '-fPI[EC]' "${flags[@]}"
    nm=$(cached CMAKE_NM)
    symbols=$(find "$build/CMakeFiles" -path '*datum*' -name '*.o' -exec "$nm" -u {} + | awk '{ print $2 }')
    grep -qx '__stack_chk_fail' <<<"$symbols" || fail "$platform: no object calls __stack_chk_fail"
    grep -qx '__[a-z]*_chk' <<<"$symbols" || fail "$platform: no fortified call in any object"
    echo "ok: $platform: stack protector and fortified calls in every source; ${flags[*]}"
}

check_windows() {
    local zip=$1
    unzip -q -o -j "$dist/$zip" '*datum.exe' -d "$work"
    cmake -DOBJDUMP="$(cached CMAKE_OBJDUMP)" -DPROGRAM="$work/datum.exe" -DNM="$(cached CMAKE_NM)" \
        -DOBJECTS="$build" -P "$(dirname "$0")/check_windows_program.cmake" >"$work/pe" 2>&1 \
        || fail "$zip: $(cat "$work/pe")"
    compiled_with -fstack-protector-strong -D_FORTIFY_SOURCE=2
    echo "ok: datum.exe:" $(sed 's/^-- //' "$work/pe")
}

# The program inside each release file that carries one.
checked=0
linux=0
while read -r what name _; do
    [ "$what" = file ] || continue
    rm -rf "$work/root" && mkdir "$work/root"
    case $name in
    *.tar.gz) tar -xzf "$dist/$name" -C "$work/root" ;;
    *.deb) dpkg-deb -x "$dist/$name" "$work/root" ;;
    *.rpm) rpm2archive - <"$dist/$name" | tar -xz -C "$work/root" ;;
    *.zip) check_windows "$name"; checked=$((checked + 1)); continue ;;
    *) continue ;;
    esac
    program=$(find "$work/root" -path '*bin/datum' -type f)
    [ -n "$program" ] || fail "$name: no bin/datum"
    check_linux "$name" "$program"
    checked=$((checked + 1))
    linux=1
done <"$files"
[ "$checked" -gt 0 ] || fail "$platform: no release file with a program"
[ "$linux" -eq 0 ] || check_linux_build
