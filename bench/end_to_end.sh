#!/usr/bin/env bash
# The largest run of the real program, built with clang and with g++, beside
# the cost of its write calls alone (write_lines): wall and CPU time and peak
# RSS, medians of several rounds, and the ratio of each build to the floor.
# Builds what it measures first (release builds, as script/release and a
# distribution make them).
#   bench/end_to_end.sh [ROUNDS]     (at least 5; default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-7}
[ "$rounds" -ge 5 ] || { echo "end_to_end.sh: at least 5 rounds" >&2; exit 2; }

for preset in bench bench-gcc; do
    { cmake --preset "$preset" && cmake --build "build/$preset" --target datum write_lines; } >/dev/null
done
declare -A program=(
    [write-lines]=build/bench/bench/write_lines
    [clang]=build/bench/datum
    [g++]=build/bench-gcc/datum
)
names=(write-lines clang g++)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '1\n1\n1\n2147483647\nx\n' >"$work/in"

for name in clang g++; do
    "${program[$name]}" <"$work/in" | cmp -s - <("${program[write-lines]}") \
        || { echo "end_to_end.sh: datum ($name) and write_lines write different bytes" >&2; exit 1; }
done

# One run: wall time in milliseconds (from the clock, finer than time's
# hundredths), CPU time and peak RSS (from /usr/bin/time).
measure() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%U %S %M' -o "$work/last" "${program[$1]}" <"$work/in" >/dev/null
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000)) $(cat "$work/last")" >>"$work/$1"
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The median of one column (1 wall ms, 2 user s, 3 system s, 4 peak RSS
# KiB) of a program's runs.
column_median() {
    awk -v column="$1" '{ print $column }' "$work/$2" | median
}

# Round after round, each program once, starting with another each time, so
# that a slower spell of the machine hits all of them alike.
for round in $(seq 0 $((rounds - 1))); do
    for i in 0 1 2; do
        measure "${names[$(((round + i) % 3))]}"
    done
done

echo "input 1 1 1 2147483647, standard output to /dev/null, medians of $rounds rounds"
for name in "${names[@]}"; do
    printf '%-12s wall %6.3f s   cpu %6.3f s   peak RSS %5d KiB\n' "$name" \
        "$(column_median 1 "$name" | awk '{ print $1 / 1000 }')" \
        "$(awk '{ print $2 + $3 }' "$work/$name" | median)" \
        "$(column_median 4 "$name")"
done
for name in clang g++; do
    awk -v name="$name" -v a="$(column_median 1 "$name")" -v b="$(column_median 1 write-lines)" \
        'BEGIN { printf "ratio datum (%s) / write-lines (wall): %.3f\n", name, a / b }'
done
