#!/usr/bin/env bash
# Checks that the release programs in DIST are hardened as DEVELOPING.md says:
# what checksec sees on the Linux programs (full RELRO, PIE, NX), the stack
# protector and fortified calls where they can be seen (the compile
# commands and the unstripped objects of the release builds in BUILD), and
# the PE header, imports and stack protector of datum.exe.
#   hardening.sh DIST BUILD      (BUILD: build/package, as script/release leaves it)
set -euo pipefail
dist=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
version=$(sed -n 's/^project(datum VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# check_linux PLATFORM NM FLAG...: checksec on the program of the tarball,
# then the compile commands of the program's sources and its objects.
check_linux() {
    local platform=$1 nm=$2
    shift 2
    local tarball=$dist/datum-$version-linux-$platform.tar.gz
    tar -xzf "$tarball" -C "$work"
    local program=$work/datum-$version-linux-$platform/bin/datum
    local report
    report=$(checksec --output=json --file="$program")
    for property in '"relro":"full"' '"pie":"yes"' '"nx":"yes"'; do
        grep -q "$property" <<<"$report" || fail "$tarball: checksec says $report"
    done

    local commands=$build/linux-$platform/compile_commands.json
    [ -f "$commands" ] || fail "no $commands: run script/release"
    local program_commands
    program_commands=$(grep '"command":' "$commands" | grep -- '-c [^ ]*/src/')
    [ -n "$program_commands" ] || fail "$commands: no sources of the program"
    for flag in -fstack-protector-strong '-D_FORTIFY_SOURCE=[23]' '-fPI[EC]' "$@"; do
        ! grep -v -- " $flag " <<<"$program_commands" >/dev/null \
            || fail "linux-$platform: a source is compiled without $flag"
    done
    local symbols
    symbols=$(find "$build/linux-$platform/CMakeFiles" -path '*datum*' -name '*.o' -exec "$nm" -u {} + | awk '{ print $2 }')
    grep -qx '__stack_chk_fail' <<<"$symbols" || fail "linux-$platform: no object calls __stack_chk_fail"
    grep -qx '__[a-z]*_chk' <<<"$symbols" || fail "linux-$platform: no fortified call in any object"
    echo "ok: linux-$platform: full RELRO, PIE and NX; stack protector and fortified calls in every source; $*"
}

check_windows() {
    local zip=$dist/datum-$version-windows-x64.zip
    unzip -q -o "$zip" datum.exe -d "$work"
    cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DPROGRAM="$work/datum.exe" -DNM=x86_64-w64-mingw32-nm \
        -DOBJECTS="$build/windows-x64" -P "$(dirname "$0")/../e2e/check_windows_program.cmake" >"$work/pe" 2>&1 \
        || fail "$zip: $(cat "$work/pe")"
    local commands=$build/windows-x64/compile_commands.json
    for flag in -fstack-protector-strong -D_FORTIFY_SOURCE=2; do
        ! grep '"command":' "$commands" | grep -- '-c [^ ]*/src/' | grep -v -- " $flag " >/dev/null \
            || fail "windows-x64: a source is compiled without $flag"
    done
    echo "ok: datum.exe:" $(sed 's/^-- //' "$work/pe")
}

check_linux x86_64 nm -fstack-clash-protection -fcf-protection=full
check_linux arm64 aarch64-linux-gnu-nm -mbranch-protection=standard
check_windows
