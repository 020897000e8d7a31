#!/usr/bin/env bash
# Finds one protection that a platform's row of platforms.txt promises (a
# word of its column hardening, or "imports": the libraries its programs may
# load) in the bytes of its released programs, and where the compiler puts
# it into the code of these stripped programs, in the release build's
# objects. Where datum's code gives a protection nothing to show, it says
# so and exits 77, which CTest reports as skipped.
#   hardening.sh DIST BUILD PLATFORM WORD   (BUILD: build/package, as script/release leaves it)
set -euo pipefail
dist=$(cd "$1" && pwd) build=$(cd "$2" && pwd)/$3 platform=$3 word=$4
source "$(dirname "$0")/../../script/platforms.sh"
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $platform: $word: $*" >&2 && exit 1; }
unmeasurable() { echo "not measurable: $platform: $word: $*" && exit 77; }
[ -f "$build/release-files.txt" ] || fail "no $build/release-files.txt: run script/release"
[ "$word" = imports ] || [[ " $(platform "$platform" hardening) " == *" $word "* ]] || fail "not in platforms.txt"
tool() { sed -n "s/^CMAKE_$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
nm=$(tool NM) objdump=$(tool OBJDUMP)
mapfile -t objects < <(find "$build/CMakeFiles" -path '*/datum*.dir/*' \( -name '*.o' -o -name '*.obj' \) | sort)
[ "${#objects[@]}" -gt 0 ] || fail "no objects of the program in $build/CMakeFiles"

# What shows each promise, where: in the objects together, in each object,
# or in the programs of the release files with these endings; the pattern
# (grep -E) that the command's output must show, or with "!" must not.
declare -A show=([symbols]="$nm -u" [code]="$objdump -d" [elf]="readelf -hldW" [pe]="$objdump -p")
checks='
-fstack-protector-strong     objects    symbols __stack_chk_fail$
-fcf-protection=full         object     code    endbr64
-mbranch-protection=standard object     code    \s(bti|paciasp|hint\s+#(34|25))\b
-static-pie                  gz,deb,rpm elf     Type: +DYN
-static-pie                  gz,deb,rpm elf     !INTERP
-static                      gz         elf     Type: +EXEC
-static                      gz         elf     !INTERP
-static                      zip        pe      !DLL Name: lib
-pie                         deb,rpm    elf     Type: +DYN
-pie                         deb,rpm    elf     INTERP
-pie                         deb,rpm    elf     FLAGS_1\).* PIE
-Wl,-z,relro,-z,now          gz,deb,rpm elf     GNU_RELRO
-Wl,-z,relro,-z,now          gz,deb,rpm elf     BIND_NOW|no dynamic section
-Wl,-z,noexecstack           gz,deb,rpm elf     GNU_STACK( +0x0+)+ RW +0x
-Wl,--dynamicbase            zip        pe      \sDYNAMIC_BASE$
-Wl,--high-entropy-va        zip        pe      \sHIGH_ENTROPY_VA$
-Wl,--nxcompat               zip        pe      \sNX_COMPAT$
-Wl,--no-insert-timestamp    zip        pe      ^Time/Date\s+Thu Jan  1 00:00:00 1970$'

# The program of each release file that carries one, as "ENDING FILE PATH",
# unpacked where the promise shows in programs.
programs=()
[ -n "$(awk -v w="$word" '$1 == w && $2 !~ /^objects?$/ || w == "imports"' <<<"$checks")" ] && while read -r what name _; do
    [ "$what" = file ] || continue
    root=$(mktemp -d -p "$work")
    case $name in
    *.tar.gz) tar -xzf "$dist/$name" -C "$root" ;;
    *.deb) dpkg-deb -x "$dist/$name" "$root" ;;
    *.rpm) rpm2archive - <"$dist/$name" | tar -xz -C "$root" ;;
    *.zip) unzip -q -j "$dist/$name" '*datum.exe' -d "$root" ;;
    *) continue ;;
    esac
    program=$(find "$root" \( -path '*bin/datum' -o -name datum.exe \) -type f) && [ -n "$program" ] || fail "$name: no program"
    programs+=("${name##*.} $name $program")
done <"$build/release-files.txt"

measured=0
while read -r promise where what pattern; do
    [ "$promise" = "$word" ] || continue
    targets=()
    case $where in
    objects) targets=("objects ${objects[*]}") ;;
    object) for object in "${objects[@]}"; do targets+=("${object#"$build"/} $object"); done ;;
    *) for program in "${programs[@]}"; do [[ ,$where, != *,${program%% *},* ]] || targets+=("${program#* }"); done ;;
    esac
    for target in "${targets[@]}"; do
        read -r name files <<<"$target"
        out=$(${show[$what]} $files) || fail "$name: ${show[$what]}: $out"
        if [[ $pattern == !* ]]; then
            ! grep -qE -- "${pattern#!}" <<<"$out" || fail "$name shows ${pattern#!}"
        else
            grep -qE -- "$pattern" <<<"$out" || fail "$name does not show $pattern"
        fi
        echo "ok: $name: $pattern"
        measured=$((measured + 1))
    done
done <<<"$checks"

# fortified OBJECT...: the calls of the C library's fortified functions.
fortified() { "$nm" -u "$@" | grep -oE '\b__\w+_chk$' | grep -v '^__stack_chk' || true; }
# compiled_at LEVEL OBJECT...: anew, the objects compiled again at that level of fortification.
compiled_at() {
    local object command directory
    anew=()
    for object in "${@:2}"; do
        read -r directory command < <(jq -r --arg o "$object" '.[] | select(.directory + "/" +
            (.command | capture(" -o (?<o>\\S+)").o) == $o) | "\(.directory) \(.command)"' "$build/compile_commands.json") || true
        anew+=("$(mktemp -p "$work" XXXX.o)") && [ -n "$command" ] || fail "$object is in no compile command"
        (cd "$directory" && eval "$(sed -E "s# -o \S+# -o ${anew[-1]}#" <<<"$command") -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=$1")
    done
}
case $word in
-D_FORTIFY_SOURCE=*)
    # A call that the level fortifies and the level below does not, in
    # datum's own objects, or none that the level fortifies at all.
    level=${word#*=}
    mapfile -t calling < <(for object in "${objects[@]}"; do [ -z "$(fortified "$object")" ] || echo "$object"; done)
    if [ "${#calling[@]}" -eq 0 ]; then
        compiled_at "$level" "${objects[@]}"
        [ -z "$(fortified "${anew[@]}")" ] || fail "no object calls a fortified function, as at level $level they do"
        unmeasurable "level $level fortifies no call of datum's code with this compiler and C library"
    fi
    compiled_at $((level - 1)) "${calling[@]}"
    [ "$(fortified "${calling[@]}" | wc -l)" -gt "$(fortified "${anew[@]}" | wc -l)" ] \
        || fail "the objects make no fortified call that level $((level - 1)) would not make"
    echo "ok: fortified calls: $(fortified "${calling[@]}" | sort -u | tr '\n' ' ')(level $((level - 1)): $(fortified "${anew[@]}" | wc -l))"
    measured=1
    ;;
-fstack-clash-protection)
    # Probes come with a frame larger than a page: the largest that a
    # function takes by immediates (a frame taken by a register is missed).
    largest=$("$objdump" -d "${objects[@]}" | grep -oE '>:$|sub\w*\s+\$(0x[0-9a-f]+|[0-9]+), ?%rsp|sub(\.w)?\s+sp, ?sp, ?#(0x[0-9a-f]+|[0-9]+)|addi?\s+sp, ?sp, ?-[0-9]+' \
        | sed -E 's/.*[$#-](0x[0-9a-f]+|[0-9]+).*/\1/' | { f=0 m=0; while read -r t; do
            [ "$t" = '>:' ] && f=0 || f=$((f + t)) && m=$((f > m ? f : m)); done; echo "$m"; })
    [ "$largest" -ge 4096 ] || unmeasurable "no frame of datum's objects is larger than a page (largest: $largest bytes): there is nothing to probe"
    "$objdump" -d "${objects[@]}" | grep -qE '(or|mov)\w*\s+\$(0x)?0, ?\(%rsp\)' || fail "a frame of $largest bytes, and no probe of the stack"
    measured=1
    ;;
imports)
    allowed=" $(platform "$platform" imports | tr '[:upper:]' '[:lower:]') "
    for program in "${programs[@]}"; do
        read -r _ name path <<<"$program"
        for import in $({ readelf -dW "$path" 2>/dev/null | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
            "$objdump" -p "$path" | sed -n 's/^\s*DLL Name: //p'; } | tr '[:upper:]' '[:lower:]'); do
            [[ $allowed == *" $import "* ]] || fail "$name needs $import"
        done
        echo "ok: $name imports nothing beyond:$allowed"
        measured=$((measured + 1))
    done
    ;;
esac
[ "$measured" -gt 0 ] || fail "hardening.sh has no way to find it in $platform's programs"
