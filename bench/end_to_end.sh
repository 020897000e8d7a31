#!/usr/bin/env bash
# The largest run of the real program, standard output to /dev/null, beside
# the cost of its write calls alone: wall and CPU time and peak RSS, medians
# of several runs, and their ratio.
#   end_to_end.sh DATUM WRITE_LINES [RUNS]
set -euo pipefail
datum=$1
write_lines=$2
runs=${3:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '1\n1\n1\n2147483647\nx\n' >"$work/in"

"$datum" <"$work/in" | cmp -s - <("$write_lines") || { echo "the two programs write different bytes" >&2; exit 1; }

measure() {
    local name=$1
    shift
    /usr/bin/time -f '%e %U %S %M' -a -o "$work/$name" "$@" <"$work/in" >/dev/null
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# The median of one column (1 wall, 2 user, 3 system, 4 peak RSS) of a
# program's runs.
column_median() {
    awk -v column="$1" '{ print $column }' "$work/$2" | median
}

report() {
    local name=$1
    printf '%-12s wall %6.2f s   cpu %6.2f s   peak RSS %5d KiB\n' "$name" \
        "$(column_median 1 "$name")" \
        "$(awk '{ print $2 + $3 }' "$work/$name" | median)" \
        "$(column_median 4 "$name")"
}

# Alternating, so that a slower spell of the machine hits both alike.
for _ in $(seq "$runs"); do
    measure datum "$datum"
    measure write-lines "$write_lines"
done
echo "input 1 1 1 2147483647, standard output to /dev/null, median of $runs runs"
report datum
report write-lines
awk -v a="$(column_median 1 datum)" -v b="$(column_median 1 write-lines)" 'BEGIN { printf "ratio datum / write-lines (wall): %.2f\n", a / b }'
