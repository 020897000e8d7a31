#!/usr/bin/env bash
# Holds the documentation to the program: the English and the German manual
# page, rendered as `man -l` (groff) and as mandoc show them, README.md,
# LIESMICH.md and DEVELOPING.md.
#
# - The sample session (the numbered lines of " 1 Geben Sie ..." on) is the
#   same in every text but DEVELOPING.md, and it is what the program writes
#   when given the answers it shows: the numbered lines in order, line ends
#   and the space that ends each prompt aside, as a rendered page cannot
#   show them.
# - Every example (a `$ command` with the lines it prints, in the pages'
#   literal displays and the guides' `console` blocks) is run with the
#   program as `datum`, and must print exactly those lines. The examples of
#   one text run in order in one fresh folder, as a reader runs them.
# - The texts name the white space the program skips with the same six
#   words, in the same order.
# - Every line of a rendered page fits into 80 columns, and no literal
#   (in quotes ‘…’ or „…“) is broken across two lines.
# - mandoc -T lint finds nothing, not even of style, but the German page's
#   date, which mandoc cannot read, and the German name of its EXIT-STATUS
#   section.
# - Every relative link of the Markdown files leads to a file of the tree.
# - The footer names the version of the project() line.
# - The manual pages of the Windows zip in DIST are marked with their
#   language, and the install commands of the guides (their console
#   examples) run as written in a fresh home folder, with the packages of
#   DIST at hand.
#   examples.sh PROGRAM DIST
set -euo pipefail
program=$(realpath "$1")
dist=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

mkdir "$work/bin" "$work/texts"
ln -s "$program" "$work/bin/datum"

# The texts as a reader sees them.
for page in datum.1 datum.de.1; do
    MANWIDTH=80 man -l "$root/doc/$page" >"$work/texts/$page.groff" 2>"$work/man.err"
    [ ! -s "$work/man.err" ] || fail "man -l doc/$page: $(cat "$work/man.err")"
    mandoc -T utf8 -O width=80 "$root/doc/$page" | col -b -x >"$work/texts/$page.mandoc"
done
cp "$root/README.md" "$root/LIESMICH.md" "$root/DEVELOPING.md" "$work/texts/"
texts=("$work"/texts/*)

for text in "$work"/texts/*.groff "$work"/texts/*.mandoc; do
    # grep counts characters, as a terminal does; mawk's length counts bytes.
    wide=$(grep -m 1 -n -E '^.{81}' "$text" | sed 's/:/: /' || true)
    [ -z "$wide" ] || fail "$(basename "$text") is wider than 80 columns at line $wide"
    broken=$(awk '{ line = $0; opened = gsub(/‘|„/, "", line); closed = gsub(/’|“/, "", line) }
                  opened != closed { print FNR ": " $0; exit }' "$text")
    [ -z "$broken" ] || fail "$(basename "$text") breaks a literal across lines at line $broken"
done

# German manual pages give a German date and name their section
# EXIT-STATUS, which mdoc takes for a misspelt EXIT STATUS.
mandoc -T lint -W style "$root/doc/datum.1" "$root/doc/datum.de.1" >"$work/lint" 2>&1 || true
! grep -v -e 'datum.de.1:[0-9]*:[0-9]*: STYLE: possible typo in section name: Sh EXIT.STATUS instead of EXIT STATUS$' \
    -e 'datum.de.1:[0-9]*:[0-9]*: WARNING: cannot parse date, using it verbatim: Dd [0-9]*\. [A-Z][a-zä]* [0-9]*$' \
    "$work/lint" >&2 \
    || fail "mandoc -T lint finds the messages above"
version=$(sed -n 's/^project(datum VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
for page in datum.1 datum.de.1; do
    grep -qx ".Os datum $version" "$root/doc/$page" || fail "doc/$page: the footer does not name datum $version"
done

unzip -q "$dist/datum-$version-windows-x64.zip" datum.html datum.de.html -d "$work/zip"
grep -qx '<html lang="en">' "$work/zip/datum.html" || fail "datum.html is not marked as English"
grep -qx '<html lang="de">' "$work/zip/datum.de.html" || fail "datum.de.html is not marked as German"

# The sample session: from " 1 Geben Sie das erste Datum" on, the numbered
# lines and the answers indented by three blanks.
session() {
    awk '/^ 1 Geben Sie das erste Datum/ { on = 1 }
         on && !/^([ 1-9][0-9]( .*)?|   [^ ].*)$/ { exit }
         on { print }' "$1"
}

session "$root/README.md" >"$work/session"
[ -s "$work/session" ] || fail "README.md: no sample session"
for text in "${texts[@]}"; do
    [ "$(basename "$text")" != DEVELOPING.md ] || continue
    session "$text" | cmp -s - "$work/session" || fail "$(basename "$text"): the sample session differs from README.md's"
done

# The program's lines, and the answers that make it write them.
sed -n 's/^   //p' "$work/session" >"$work/answers"
"$program" <"$work/answers" | sed 's/\r$//; s/ *$//' >"$work/written"
awk '/^   / { next }
     { number = substr($0, 1, 2) + 0; text = substr($0, 4)
       if (number != ++expected) { print "line " expected " is numbered " number > "/dev/stderr"; exit 1 }
       print text }' "$work/session" >"$work/shown" || fail "the sample session's lines are not numbered 1, 2, 3, ..."
diff "$work/shown" "$work/written" >"$work/diff" || fail "the sample session is not what the program writes:
$(cat "$work/diff")"

# The examples: in the pages, lines that start with "$ " and the lines below
# them up to an empty line; in the guides, the console blocks.
examples() {
    case "$1" in
    *.md)
        awk '/^```console$/ { on = 1; next } on && /^```$/ { on = 0; print ""; next } on { print }' "$1"
        ;;
    *)
        awk '/^ *\$ / { on = 1; indent = match($0, /\$/) - 1 }
             on && /^$/ { on = 0; print ""; next }
             on { print substr($0, indent + 1) }' "$1"
        ;;
    esac
}

# check_command NAME FOLDER COMMAND SHOWN: runs one command of an example
# in FOLDER and compares what it prints with the lines the text shows.
check_command() {
    local name=$1 folder=$2 command=$3 shown=$4 printed
    printed=$(cd "$folder" && HOME=$folder/.home PATH="$work/bin:$PATH" bash -c "set -o pipefail; $command" \
        | sed 's/\r$//') \
        || fail "$name: '$command' failed"
    [ "$printed" = "$shown" ] || fail "$name: '$command' prints
$printed
but the text shows
$shown"
}

# run_example NAME FOLDER FILE: the commands of one example, in order, in
# FOLDER, with the packages at hand and a home folder of its own.
run_example() {
    local name=$1 folder=$2 file=$3 command="" shown=""
    while IFS= read -r line; do
        if [[ $line == '$ '* ]]; then
            [ -z "$command" ] || check_command "$name" "$folder" "$command" "$shown"
            command=${line#'$ '}
            shown=""
        else
            shown+=${shown:+$'\n'}$line
        fi
    done <"$file"
    [ -z "$command" ] || check_command "$name" "$folder" "$command" "$shown"
}

# How many examples each text holds: the pages the od -c pipe, the answer
# file and the white space; the guides the tarball's install and removal.
declare -A example_count=(
    [README.md]=2 [LIESMICH.md]=2 [DEVELOPING.md]=0
    [datum.1.groff]=3 [datum.1.mandoc]=3 [datum.de.1.groff]=3 [datum.de.1.mandoc]=3
)
for text in "${texts[@]}"; do
    name=$(basename "$text")
    examples "$text" >"$work/examples"
    folder=$(mktemp -d "$work/run.XXXX")
    ln -s "$dist"/* "$folder/"
    mkdir "$folder/.home"
    # One example after another, each ended by an empty line.
    count=0
    : >"$work/example"
    while IFS= read -r line || [ -s "$work/example" ]; do
        if [ -n "$line" ]; then
            printf '%s\n' "$line" >>"$work/example"
            continue
        fi
        if [ -s "$work/example" ]; then
            run_example "$name" "$folder" "$work/example"
            count=$((count + 1))
            : >"$work/example"
        fi
    done <"$work/examples"
    [ "$count" -eq "${example_count[$name]}" ] || fail "$name: $count examples, expected ${example_count[$name]}"
    echo "ok: $name: $count examples"
done

# White space: the bytes the program skips before a number (a sign and
# the digits aside, which a number may start with), and the six words by
# which every text that lists them names the bytes 32, 9, 10, 11, 12, 13.
skipped=()
for byte in $(seq 1 255); do
    case $byte in 43 | 4[89] | 5[0-7]) continue ;; esac
    { printf "\\$(printf %03o "$byte")"; printf '5 1 2000 0 x'; } | "$program" | tail -n 1 \
        | grep -q '^0 Tage nach dem 5\. 1\. 2000' && skipped+=("$byte")
done
[ "${skipped[*]}" = "9 10 11 12 13 32" ] || fail "the program skips the bytes ${skipped[*]} as white space"
declare -A white_space=(
    [README.md]="space, tab, line feed, vertical tab, form feed and carriage return"
    [datum.1.mandoc]="space, tab, line feed, vertical tab, form feed and carriage return"
    [LIESMICH.md]="Leerzeichen, Tabulator, Zeilenvorschub, vertikalen Tabulator, Seitenvorschub und Wagenrücklauf"
    [datum.de.1.mandoc]="Leerzeichen, Tabulator, Zeilenvorschub, vertikaler Tabulator, Seitenvorschub und Wagenrücklauf"
)
for name in "${!white_space[@]}"; do
    tr -s ' \n' '  ' <"$work/texts/$name" | grep -qF "${white_space[$name]}" \
        || fail "$name does not name the white space as: ${white_space[$name]}"
done
echo "ok: the white space, ${skipped[*]}, named alike in ${#white_space[@]} texts"

# The relative links of the Markdown files.
for text in README.md LIESMICH.md DEVELOPING.md; do
    grep -o '\]([^)]*)' "$root/$text" | sed 's/^](//; s/)$//; s/#.*//' | while IFS= read -r target; do
        case $target in '' | *://* | mailto:*) continue ;; esac
        [ -e "$root/$target" ] || fail "$text links to $target, which is not there"
    done
done
echo "ok: the links of the Markdown files"
