#!/usr/bin/env bash
# End-to-end runs of the program: on the answers of cases/NAME.in, which
# must give the exact bytes of cases/NAME.expected, and with its standard
# handles in unusual states. Each case must end with status 0, write
# nothing to standard error and give the output stated.
#   faults.sh CASE [EMULATOR...] PROGRAM     CASE: cases/NAME.in or a name below
set -u
case_name=$1
shift
program=("$@")
cases_dir=$(cd "$(dirname "$0")/cases" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL ($case_name): $*" >&2
    exit 1
}

# expect_clean STATUS: the program ended with status 0 and wrote nothing to
# standard error.
expect_clean() {
    [ "$1" -eq 0 ] || fail "exit status $1"
    [ ! -s "$work/err" ] || fail "standard error: $(head -c 300 "$work/err")"
}

expect_output() {
    cmp "$1" "$2" >&2 || fail "standard output differs from $(basename "$2")"
}

# Runs the program on an input file under /usr/bin/time, which records its
# peak resident set size for expect_flat_memory.
run_measured() {
    /usr/bin/time -f '%M' -o "$work/rss" "${program[@]}" <"$1" >"$work/out" 2>"$work/err"
}

# Against DATUM_PEAK_RSS_LIMIT_KIB; where the build cannot measure the
# program's own peak, the case says why (DATUM_PEAK_RSS_UNMEASURED) and
# reports itself skipped (77).
expect_flat_memory() {
    if [ -z "${DATUM_PEAK_RSS_LIMIT_KIB:-}" ]; then
        echo "skipped: peak RSS not measured: ${DATUM_PEAK_RSS_UNMEASURED:-no limit given}"
        exit 77
    fi
    local kib
    kib=$(cat "$work/rss")
    echo "peak RSS ${kib} KiB"
    [ "$kib" -lt "$DATUM_PEAK_RSS_LIMIT_KIB" ] || fail "peak RSS ${kib} KiB, limit $DATUM_PEAK_RSS_LIMIT_KIB KiB"
}

case "$case_name" in
*.in)
    "${program[@]}" <"$case_name" >"$work/out" 2>"$work/err"
    expect_clean $?
    expect_output "$work/out" "${case_name%.in}.expected"
    ;;
output_full | output_closed)
    # Four answers, then blank lines that carry the final character into the
    # second 1024-byte request, then a tail that lies beyond it. The file
    # offset is shared, so what a later reader gets shows how far the program
    # read.
    {
        printf '31\n12\n2023\n1\n'
        head -c 1500 /dev/zero | tr '\0' '\n'
        printf 'x'
        head -c $((2048 - 13 - 1500 - 1)) /dev/zero | tr '\0' ' '
        printf 'TAIL\n'
    } >"$work/in"
    {
        if [ "$case_name" = output_full ]; then "${program[@]}" >/dev/full; else "${program[@]}" >&-; fi 2>"$work/err"
        echo $? >"$work/status"
        cat >"$work/rest"
    } <"$work/in"
    expect_clean "$(cat "$work/status")"
    # The program read through the final character, and no further.
    [ "$(cat "$work/rest")" = "TAIL" ] || fail "read up to '$(head -c 40 "$work/rest")'"
    ;;
reader_closes_early)
    for days in 1 1000000; do
        printf '1\n1\n2000\n%s\nx\n' "$days" >"$work/in"
        "${program[@]}" <"$work/in" 2>"$work/err" | head -c 20 >"$work/out"
        expect_clean "${PIPESTATUS[0]}"
        [ "$(cat "$work/out")" = "Geben Sie das erste " ] || fail "head got '$(cat "$work/out")'"
    done
    ;;
input_closed | input_directory | input_empty)
    case "$case_name" in
    input_closed) "${program[@]}" <&- >"$work/out" 2>"$work/err" ;;
    input_directory) "${program[@]}" </ >"$work/out" 2>"$work/err" ;;
    input_empty) "${program[@]}" </dev/null >"$work/out" 2>"$work/err" ;;
    esac
    expect_clean $?
    expect_output "$work/out" "$cases_dir/empty_input.expected"
    ;;
long_run_memory)
    printf '1\n1\n2000\n20000000\nx\n' >"$work/in"
    run_measured "$work/in"
    expect_clean $?
    # 20,000,000 days are 136 cycles of 400 years (146,097 days each) and
    # 130,808 days more: 1. 1. 2000 + 130,808 days is 21. 2. 2358.
    [ "$(grep -c 'hat der Februar' "$work/out")" -eq 54759 ] || fail "announcements: $(grep -c 'hat der Februar' "$work/out")"
    [ "$(tail -n 1 "$work/out")" = $'20000000 Tage nach dem 1. 1. 2000 ist der 21. 2. 56758.\r' ] \
        || fail "report: $(tail -n 1 "$work/out")"
    expect_flat_memory
    ;;
large_input_memory)
    {
        head -c $((5 * 1024 * 1024)) /dev/zero | tr '\0' ' '
        printf '1\n'
        printf '0%.0s' $(seq 100000)
        printf '12\n2023\n1\nx\n'
    } >"$work/in"
    run_measured "$work/in"
    expect_clean $?
    # The 100,000-digit month is octal 0...012, that is 10.
    [ "$(tail -n 1 "$work/out")" = $'1 Tage nach dem 1. 10. 2023 ist der 2. 10. 2023.\r' ] \
        || fail "report: $(tail -n 1 "$work/out")"
    expect_flat_memory
    ;;
write_calls)
    # Each of the sample's eleven lines reaches standard output in a write
    # call of its own, and nothing else is written there.
    strace -f -qq -e trace=write -e signal=none -o "$work/trace" "${program[@]}" \
        <"$cases_dir/run_example.in" >"$work/out" 2>"$work/err"
    expect_clean $?
    expect_output "$work/out" "$cases_dir/run_example.expected"
    calls=$(grep -c '^[0-9 ]*write(1, ' "$work/trace")
    [ "$calls" -eq 11 ] || fail "$calls write calls on standard output"
    ;;
*)
    fail "no such case"
    ;;
esac
echo "ok"
