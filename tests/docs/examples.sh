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
# - The manual pages of the Windows zip in DIST are marked with their
#   language and name VERSION, the version of the project() line, in
#   their footer, and the install commands of the guides (their console
#   examples) run as written in a fresh home folder, with the packages of
#   DIST at hand.
# - The guides' other commands (their sh and bat blocks, and the code spans
#   that install, remove or unpack) run as written where they can run here,
#   and otherwise through a stand-in that does the same to a folder: dpkg
#   and rpm with --root for apt, dnf and zypper, unzip for the Windows
#   zip. Every release file they name is in DIST, and every page they show
#   with `man -l` is where they say.
# - Where the texts say the same thing in several places (the February
#   announcements in German, the npm package's lack of a German page), each
#   says it alike, and no text names Red Hat's company for its system.
#   examples.sh PROGRAM DIST VERSION ZIP      (ZIP: the Windows zip's name)
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

# The zip holds its files in one folder of its own name. Its pages name
# the version in their footer, which the build writes into them.
version=$3
zip_folder=${4%.zip}
unzip -q "$dist/$zip_folder.zip" "$zip_folder/datum.html" "$zip_folder/datum.de.html" -d "$work/zip"
grep -qx '<html lang="en">' "$work/zip/$zip_folder/datum.html" || fail "datum.html is not marked as English"
grep -qx '<html lang="de">' "$work/zip/$zip_folder/datum.de.html" || fail "datum.de.html is not marked as German"
for page in datum.html datum.de.html; do
    grep -qF "<td class=\"foot-os\">datum $version</td>" "$work/zip/$zip_folder/$page" \
        || fail "$page: the footer does not name datum $version"
done

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
# file, the numbers reported in decimal and the white space; the guides the
# carriage returns removed and the tarball's install and removal.
declare -A example_count=(
    [README.md]=3 [LIESMICH.md]=3 [DEVELOPING.md]=0
    [datum.1.groff]=4 [datum.1.mandoc]=4 [datum.de.1.groff]=4 [datum.de.1.mandoc]=4
)
declare -A run_folder=()
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
    run_folder[$name]=$folder
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

# The guides' commands beyond their console examples: the lines of their
# sh and bat blocks and the code spans that install, remove or unpack, in
# order, comments left off.
commands() {
    awk '/^```(sh|bat)$/ { on = 1; next }
         on && /^```$/ { on = 0; next }
         on { sub(/ +#.*/, ""); print; next }
         { line = $0
           while (match(line, /`(sudo |tar -xf |cd datum-)[^`]*`/)) {
               print substr(line, RSTART + 1, RLENGTH - 2); line = substr(line, RSTART + RLENGTH) } }' "$1"
}

# What the sample session's answers make the program write, byte for byte.
"$program" <"$work/answers" >"$work/sample.out"

# try_command NAME FOLDER COMMAND: one command of a guide, in FOLDER, which
# holds the release files. A command that needs a system of its own
# (apt, dnf, zypper, Windows) works on a root or a folder below FOLDER;
# `datum` runs what the commands before it installed.
installed=()
try_command() {
    local name=$1 folder=$2 command=$3 package root left program
    case $command in
    'sha256sum -c SHA256SUMS --ignore-missing')
        (cd "$folder" && $command) >"$work/sums" 2>&1 || fail "$name: '$command' fails: $(cat "$work/sums")"
        [ "$(grep -c ': OK$' "$work/sums")" -eq "$(wc -l <"$dist/SHA256SUMS")" ] \
            || fail "$name: '$command' does not check every file of SHA256SUMS"
        ;;
    'sudo apt install ./'*.deb)
        package=${command#sudo apt install ./}
        root=$(mktemp -d "$folder/root-deb.XXXX")
        mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
        : >"$root/var/lib/dpkg/status"
        dpkg --root="$root" -i "$folder/$package" >"$work/dpkg.log" 2>&1 \
            || fail "$name: '$command': dpkg -i: $(cat "$work/dpkg.log")"
        installed+=("$root/usr/bin/datum")
        ;;
    'sudo dnf install ./'*.rpm | 'sudo zypper install --allow-unsigned-rpm ./'*.rpm)
        package=${command##* ./}
        root=$(mktemp -d "$folder/root-rpm.XXXX")
        { rpm --root "$root" --dbpath /var/lib/rpm --initdb && rpm --root "$root" --dbpath /var/lib/rpm --nodeps -i "$folder/$package"; } >"$work/rpm.log" 2>&1 \
            || fail "$name: '$command': rpm -i: $(cat "$work/rpm.log")"
        installed+=("$root/usr/bin/datum")
        ;;
    # "(or dnf, zypper)": every root loses the package, and nothing of it stays.
    'sudo apt remove datum')
        for root in "$folder"/root-*; do
            if [ -d "$root/var/lib/dpkg" ]; then
                dpkg --root="$root" -r datum >"$work/remove.log" 2>&1
            else
                rpm --root "$root" --dbpath /var/lib/rpm -e datum >"$work/remove.log" 2>&1
            fi || fail "$name: '$command' in $(basename "$root"): $(cat "$work/remove.log")"
            left=$(find "$root" \( -type f -o -type l \) -not -path "$root/var/lib/*")
            [ -z "$left" ] || fail "$name: '$command' leaves $left"
        done
        installed=()
        ;;
    'npm install -g ./'*.tgz | 'npm uninstall -g datum')
        (cd "$folder" && npm_config_prefix=$folder/.npm-global npm_config_cache=$work/npm-cache \
            npm_config_offline=true npm_config_audit=false npm_config_fund=false \
            npm_config_update_notifier=false $command) >"$work/npm.log" 2>&1 \
            || fail "$name: '$command': $(cat "$work/npm.log")"
        if [[ $command == 'npm install'* ]]; then
            installed=("$folder/.npm-global/bin/datum")
            # The package has no German page: `man -L de datum` finds the English one.
            MANPATH=$folder/.npm-global/share/man man -L de -w datum >"$work/npm-page" 2>/dev/null \
                || fail "$name: '$command' installs no manual page"
            ! grep -q '/de/' "$work/npm-page" || npm_german_page=yes
        else
            [ ! -e "$folder/.npm-global/bin/datum" ] || fail "$name: '$command' leaves datum behind"
            installed=()
        fi
        ;;
    datum)
        [ "${#installed[@]}" -gt 0 ] || fail "$name: 'datum' with nothing installed before it"
        for program in "${installed[@]}"; do
            [ -x "$program" ] || fail "$name: 'datum': no $program"
            "$program" <"$work/answers" | cmp -s - "$work/sample.out" \
                || fail "$name: the installed $program does not write the sample session"
        done
        ;;
    # Windows: the folder of the download is FOLDER; unzip stands in for
    # Windows' tar, which unpacks a zip the same way.
    'cd Downloads') ;;
    'tar -xf '*.zip)
        rm -rf "$folder/windows"
        unzip -q "$folder/${command#tar -xf }" -d "$folder/windows" || fail "$name: '$command' fails"
        ;;
    'cd datum-'*)
        [ -f "$folder/windows/${command#cd }/datum.exe" ] \
            || fail "$name: '$command': no such folder with datum.exe in the zip"
        windows_folder=$folder/windows/${command#cd }
        ;;
    datum.exe)
        [ -f "${windows_folder:-}/datum.exe" ] || fail "$name: 'datum.exe' is not in the folder of the cd before it"
        ;;
    # They would change this system's locales, which are no release file's.
    'sudo dpkg-reconfigure locales' | 'sudo dnf install glibc-langpack-de') ;;
    # Building from source: script/test is what runs this check, and
    # script/run builds the program it checks.
    script/run | script/test) ;;
    *)
        fail "$name: no way to try '$command' here"
        ;;
    esac
}

npm_german_page=no
for name in README.md LIESMICH.md; do
    folder=${run_folder[$name]}
    windows_folder=
    tried=0
    while IFS= read -r command; do
        try_command "$name" "$folder" "$command"
        tried=$((tried + 1))
    done < <(commands "$root/$name")
    [ "${#installed[@]}" -eq 0 ] || fail "$name: leaves ${installed[*]} installed"
    # Every release file the guide names, in a code span or a block.
    grep -o '`[^`]*`' "$root/$name" | grep -o 'datum[-_][0-9][-0-9A-Za-z._]*\.\(deb\|rpm\|zip\|tgz\|tar\.gz\|html\|cdx\.json\)' \
        | sort -u | while IFS= read -r file; do
            [ -f "$dist/$file" ] || fail "$name names $file, which is not a release file"
        done
    grep -o 'datum-[0-9][-0-9A-Za-z._]*-\(windows\|linux\|web\)[-0-9A-Za-z._]*' "$root/$name" | sort -u \
        | while IFS= read -r file; do
            ls "$dist/$file"* >/dev/null 2>&1 || fail "$name names $file, which no release file is named after"
        done
    # Every page it shows with `man -l`, in the tree or where its examples
    # unpacked the tarball.
    grep -o '`man -l [^`]*`' "$root/$name" | sed 's/^`man -l //; s/`$//' | while IFS= read -r page; do
        [ -f "$root/$page" ] || [ -f "$folder/$page" ] || fail "$name: 'man -l $page': no such page"
        MANWIDTH=80 man -l "$( [ -f "$root/$page" ] && echo "$root/$page" || echo "$folder/$page")" >/dev/null 2>&1 \
            || fail "$name: 'man -l $page' fails"
    done
    echo "ok: $name: $tried commands tried, the release files and pages it names"
done

# Said alike where said more than once. A row: the texts, and the words
# each must hold, or (with !) must not hold as a Perl pattern.
february="die Länge des Februars im Startjahr und in jedem folgenden Jahr bis zum Ergebnis"
# What the page and the web app say the program does.
node --input-type=module -e 'console.log((await import(process.argv[1])).description)' \
    "$root/host/page/about.mjs" >"$work/texts/page.description"
wording=(
    "LIESMICH.md page.description" "$february"
    "README.md" "This package has the English manual page only, which \`man -L de datum\` shows too."
    "LIESMICH.md" "enthält nur die englische Handbuchseite; auch \`man -L de datum\` zeigt danach die englische."
    "README.md LIESMICH.md" "!Red Hat(?! Enterprise Linux)"
)
[ "$npm_german_page" = no ] || fail "the npm package has a German manual page now, which README.md and LIESMICH.md deny"
for ((i = 0; i < ${#wording[@]}; i += 2)); do
    words=${wording[i + 1]}
    for name in ${wording[i]}; do
        flat=$(tr -s ' \n' '  ' <"$work/texts/$name")
        if [[ $words == '!'* ]]; then
            ! grep -qP -- "${words#!}" <<<"$flat" || fail "$name: holds $(grep -oP -- "${words#!}" <<<"$flat" | head -1)"
        else
            grep -qF -- "$words" <<<"$flat" || fail "$name does not say: $words"
        fi
    done
done
echo "ok: said alike: $((${#wording[@]} / 2)) rows"

# Claims of the prose against the program: a line of answers and the last
# line the program writes for it. Input stays open a second longer than
# the program may take, so a program that waited for the last character
# would be stopped.
claims=(
    "31.12.2023" "0 Tage nach dem 31. 0. 0 ist der 31. 0. 0."
    "31 12 2023 1 Tage" "1 Tage nach dem 31. 12. 2023 ist der 1. 1. 2024."
    "31 12 2023 1." "1 Tage nach dem 31. 12. 2023 ist der 1. 1. 2024."
)
for ((i = 0; i < ${#claims[@]}; i += 2)); do
    last=$({ printf '%s\n' "${claims[i]}"; sleep 2; } | timeout 1 "$program" | tail -n 1 | tr -d '\r') \
        || fail "'${claims[i]}': the program does not end at once"
    [ "$last" = "${claims[i + 1]}" ] || fail "'${claims[i]}' ends with '$last', not '${claims[i + 1]}'"
done
echo "ok: $((${#claims[@]} / 2)) claims of the prose"
