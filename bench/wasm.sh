#!/usr/bin/env bash
# The largest run of the WebAssembly build against the native release
# program (clang, static), reading a file and writing to /dev/null: the
# node command, whole process, in alternating pairs with the native
# program, with wall-time medians and the ratio; then the page in headless
# Chromium and the web site offline from its service worker
# (bench/page.py). Builds what it measures first.
#   bench/wasm.sh [ROUNDS]     (at least 5; default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-7}
[ "$rounds" -ge 5 ] || { echo "wasm.sh: at least 5 rounds" >&2; exit 2; }

{
    cmake --preset release && cmake --build --preset release
    cmake --preset platform -B build/wasm -DDATUM_PLATFORM=wasm && cmake --build build/wasm
} >/dev/null
native=build/release/datum
node_command=build/wasm/npm/bin/datum.mjs

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '1\n1\n1\n2147483647\nx\n' >"$work/in"

"$node_command" <"$work/in" | cmp -s - <("$native" <"$work/in") \
    || { echo "wasm.sh: the node command and the native program write different bytes" >&2; exit 1; }
# One write call per line, as the native program makes them (a shorter run).
if command -v strace >/dev/null; then
    printf '1\n1\n1\n1000000\nx\n' >"$work/short"
    for program in "$native" "$node_command"; do
        strace -f -qq -e trace=write -e signal=none -o "$work/trace" "$program" <"$work/short" >/dev/null
        grep -c '^[0-9]* *write(1,' "$work/trace" >>"$work/writes"
    done
    [ "$(sort -u "$work/writes" | wc -l)" -eq 1 ] \
        || { echo "wasm.sh: write calls differ: $(tr '\n' ' ' <"$work/writes")" >&2; exit 1; }
    echo "write calls for 10^6 days: $(head -n 1 "$work/writes") in either"
fi

# One run: wall time in milliseconds.
measure() {
    local start end
    start=$(date +%s%N)
    "$2" <"$work/in" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000)) >>"$work/$1"
}

median() {
    sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Pairs, each started by the other program in turn, so that a slower spell
# of the machine hits both alike.
for round in $(seq "$rounds"); do
    if [ $((round % 2)) -eq 0 ]; then
        measure native "$native"
        measure node "$node_command"
    else
        measure node "$node_command"
        measure native "$native"
    fi
done

echo "input 1 1 1 2147483647, standard output to /dev/null, medians of $rounds pairs"
printf '%-14s wall %6d ms\n' native "$(median "$work/native")" "node command" "$(median "$work/node")"
awk -v a="$(median "$work/node")" -v b="$(median "$work/native")" \
    'BEGIN { printf "ratio node command / native (wall): %.3f\n", a / b }'

echo
bench/page.py build/wasm/datum.html "$native" "$rounds" build/wasm/site
