#!/usr/bin/env bash
# Writes the expected bytes of end-to-end cases from the program: for each
# NAME, cases/NAME.expected becomes what the program writes to standard
# output when cases/NAME.in is its standard input, carriage returns and
# all. A run that does not end with status 0 or writes to standard error
# writes nothing. Read what it wrote (`od -c cases/NAME.expected`) before
# you commit it: the case then holds the program to these bytes.
#   tests/e2e/bless.sh NAME...        (the program: build/linux-x86_64/datum,
#                                      or another one as DATUM=PROGRAM)
set -euo pipefail
cases=$(cd "$(dirname "$0")/cases" && pwd)
program=${DATUM:-$(dirname "$0")/../../build/linux-x86_64/datum}
[ -x "$program" ] || { echo "bless.sh: no program $program: build it, or name one as DATUM=PROGRAM" >&2; exit 1; }
[ $# -gt 0 ] || { echo "usage: tests/e2e/bless.sh NAME..." >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for name in "$@"; do
    name=$(basename "${name%.in}")
    [ -f "$cases/$name.in" ] || { echo "bless.sh: no $cases/$name.in" >&2; exit 1; }
    status=0
    "$program" <"$cases/$name.in" >"$work/out" 2>"$work/err" || status=$?
    if [ "$status" -ne 0 ] || [ -s "$work/err" ]; then
        echo "bless.sh: $name: exit status $status, standard error: $(head -c 300 "$work/err")" >&2
        exit 1
    fi
    cp "$work/out" "$cases/$name.expected"
    echo "$name.expected: $(wc -c <"$cases/$name.expected") bytes, $(grep -c $'\r$' "$cases/$name.expected") lines"
done
