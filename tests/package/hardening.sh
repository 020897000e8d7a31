#!/usr/bin/env bash
# Checks that the release programs in DIST are hardened as DEVELOPING.md says:
# what checksec sees on the Linux programs (full RELRO, PIE, NX), the stack
# protector and fortified calls where they can be seen (the compile
# commands and the unstripped objects of the release builds in BUILD), and
# the PE header, imports and stack protector of datum.exe.
#   hardening.sh DIST BUILD PLATFORM FILE   (BUILD: build/package, as script/release leaves it;
#                                             FILE: the platform's archive in DIST)
set -euo pipefail
dist=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
platform=$3
archive=$4
source "$(dirname "$0")/../../script/platforms.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# check_linux PROCESSOR FLAG...: checksec on the program of the tarball,
# then the compile commands of the program's sources and its objects.
check_linux() {
    local nm=$1-linux-gnu-nm
    shift
    local tarball=$dist/$archive
    tar -xzf "$tarball" -C "$work"
    local program=$work/${archive%.tar.gz}/bin/datum
    local report
    report=$(checksec --output=json --file="$program")
    for property in '"relro":"full"' '"pie":"yes"' '"nx":"yes"'; do
        grep -q "$property" <<<"$report" || fail "$tarball: checksec says $report"
    done

    local commands=$build/$platform/compile_commands.json
    [ -f "$commands" ] || fail "no $commands: run script/release"
    local program_commands
    program_commands=$(grep '"command":' "$commands" | grep -- '-c [^ ]*/src/')
    [ -n "$program_commands" ] || fail "$commands: no sources of the program"
    for flag in -fstack-protector-strong '-D_FORTIFY_SOURCE=[23]' '-fPI[EC]' "$@"; do
        ! grep -v -- " $flag " <<<"$program_commands" >/dev/null \
            || fail "$platform: a source is compiled without $flag"
    done
    local symbols
    symbols=$(find "$build/$platform/CMakeFiles" -path '*datum*' -name '*.o' -exec "$nm" -u {} + | awk '{ print $2 }')
    grep -qx '__stack_chk_fail' <<<"$symbols" || fail "$platform: no object calls __stack_chk_fail"
    grep -qx '__[a-z]*_chk' <<<"$symbols" || fail "$platform: no fortified call in any object"
    echo "ok: $platform: full RELRO, PIE and NX; stack protector and fortified calls in every source; $*"
}

# check_windows PROCESSOR
check_windows() {
    local zip=$dist/$archive tools=$1-w64-mingw32
    unzip -q -o -j "$zip" '*datum.exe' -d "$work"
    cmake -DOBJDUMP="$tools-objdump" -DPROGRAM="$work/datum.exe" -DNM="$tools-nm" \
        -DOBJECTS="$build/$platform" -P "$(dirname "$0")/../e2e/check_windows_program.cmake" >"$work/pe" 2>&1 \
        || fail "$zip: $(cat "$work/pe")"
    local commands=$build/$platform/compile_commands.json
    for flag in -fstack-protector-strong -D_FORTIFY_SOURCE=2; do
        ! grep '"command":' "$commands" | grep -- '-c [^ ]*/src/' | grep -v -- " $flag " >/dev/null \
            || fail "$platform: a source is compiled without $flag"
    done
    echo "ok: datum.exe:" $(sed 's/^-- //' "$work/pe")
}

# The flags that cmake/hardening.cmake gives each system and processor.
system=$(platform "$platform" system)
case $system in
Linux/x86_64) check_linux x86_64 -fstack-clash-protection -fcf-protection=full ;;
Linux/aarch64) check_linux aarch64 -mbranch-protection=standard ;;
Windows/*) check_windows "${system#*/}" ;;
*) fail "$platform: no hardening known for $system" ;;
esac
