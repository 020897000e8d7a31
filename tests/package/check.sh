#!/usr/bin/env bash
# Checks one release file in DIST as a user would use it: unpacks it with
# the platform's own tool, runs the program inside on the sample answers
# (an installer's on every end-to-end case) and compares the exact bytes,
# and checks what `file`, `man` and lintian say.
# tests/checks/CMakeLists.txt runs each as a check of its own.
#   check.sh DIST VERSION KIND PLATFORM FILE   KIND: tar.gz deb rpm zip msi tgz html web.zip
set -euo pipefail
dist=$(cd "$1" && pwd)
version=$2
kind=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../script/platforms.sh"
# The answers a program is run on: the sample, or for a package that
# installs it, every end-to-end case.
cases=("$here/../e2e/cases/run_example.in")
# What runs the platform's programs here (platforms.txt).
read -r -a runner <<<"$(platform "$4" emulator)"
read -r page_kib site_kib < <(jq -r '"\(.page_kib) \(.site_kib)"' "$here/../../host/page/budget.json")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# check_program WHAT KIND PROGRAM [RUNNER...]: each of the cases gives its
# expected bytes and nothing on standard error, and what `file` says of the
# program matches KIND (an extended regular expression).
check_program() {
    local what=$1 kind=$2 program=$3 input
    shift 3
    for input in "${cases[@]}"; do
        "$@" "$program" <"$input" >"$work/out" 2>"$work/err" || fail "$what: $(basename "$input"): exit status $?"
        cmp -s "$work/out" "${input%.in}.expected" && [ ! -s "$work/err" ] \
            || fail "$what: $(basename "$input") gives other bytes, or some on standard error"
    done
    file -b -L "$program" | grep -Eq "$kind" || fail "$what: file says $(file -b -L "$program")"
}

# expect_notices FILE WHAT TEXT...: FILE holds every one of the texts.
expect_notices() {
    local file=$1 what=$2
    shift 2
    [ -f "$file" ] || fail "$what: no $(basename "$file")"
    for text in "$@"; do
        grep -q "$text" "$file" || fail "$what: $(basename "$file") does not name $text"
    done
}

# check_manual PAGE TEXT: the page renders with TEXT in it, and its footer
# names this version, which the build writes into it.
check_manual() {
    local footer
    MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$1" >"$work/man.out" 2>"$work/man.err" && grep -q "$2" "$work/man.out" \
        || fail "man -l $1: $(cat "$work/man.err")"
    footer=$(tail -n 1 "$work/man.out")
    [[ $footer == "datum $version "* ]] || fail "man -l $1: its footer is '$footer', not of datum $version"
}

# check_manuals ENGLISH GERMAN: both pages, each in its language.
check_manuals() {
    check_manual "$1" "datum asks in German"
    check_manual "$2" "datum fragt nacheinander nach Tag"
}

# expect_files WHAT FOLDER FILE...: every file is there.
expect_files() {
    local what=$1 folder=$2
    shift 2
    for file in "$@"; do
        [ -f "$folder/$file" ] || fail "$what: no $file"
    done
}

# What `file` must say of a Linux program: a tarball's runs on any Linux
# of its architecture, so it is static. (That it is of the platform's
# architecture shows when it runs under the platform's emulator; how it is
# hardened, hardening.sh checks.)
static_linux_program='^ELF .* executable, .*(static-pie|statically) linked'
linux_program='^ELF .* executable, '

# check_deb PLATFORM FILE: the control data, the program, the manual pages,
# the documents, the copyright file and lintian.
check_deb() {
    local deb=$dist/$2 root=$work/deb architecture
    architecture=$(platform "$1" deb)
    dpkg-deb -I "$deb" >"$work/control"
    for field in "Package: datum" "Version: $version" "Architecture: $architecture" "Section: utils" "Maintainer: "; do
        grep -q "^ $field" "$work/control" || fail "$deb: no '$field' in its control data"
    done
    dpkg-deb -x "$deb" "$root"
    check_program "$deb" "$linux_program" "$root/usr/bin/datum" "${runner[@]}"
    check_manuals "$root/usr/share/man/man1/datum.1.gz" "$root/usr/share/man/de/man1/datum.1.gz"
    expect_files "$deb" "$root/usr/share/doc/datum" README.md LIESMICH.md CHANGELOG.md changelog.gz
    # Its changelog's newest entry is of this version: rpmlint checks that
    # of the .rpm, lintian not that of the .deb.
    local newest
    newest=$(gunzip -c "$root/usr/share/doc/datum/changelog.gz" | head -n 1)
    [[ $newest == "datum ($version) "* ]] || fail "$deb: its changelog begins with '$newest'"
    expect_notices "$root/usr/share/doc/datum/copyright" "$deb" "License: MIT" "GNU C Library" \
        "LGPL-2.1" "GCC RUNTIME LIBRARY EXCEPTION"
    local lint_status=0
    lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || lint_status=$?
    grep -v "running with root privileges" "$work/lintian" >&2 || true
    [ "$lint_status" -eq 0 ] || fail "lintian reports errors on $deb"
    echo "ok: $2"
}

# check_tar.gz PLATFORM FILE: one folder named like the tarball, with the
# program, the manual pages, the documents and the notices.
check_tar.gz() {
    local tarball=$dist/$2 top=$work/${2%.tar.gz}
    tar -xzf "$tarball" -C "$work"
    check_program "$tarball" "$static_linux_program" "$top/bin/datum" "${runner[@]}"
    check_manuals "$top/share/man/man1/datum.1" "$top/share/man/de/man1/datum.1"
    expect_files "$tarball" "$top/share/doc/datum" README.md LIESMICH.md CHANGELOG.md LICENSE
    expect_notices "$top/share/doc/datum/THIRD-PARTY-NOTICES" "$tarball" "GNU C Library" \
        "GNU LESSER GENERAL PUBLIC LICENSE" "GCC RUNTIME LIBRARY EXCEPTION" "GNU GENERAL PUBLIC LICENSE"
    echo "ok: $2"
}

# start_wine: a wine server of the check's own in a fresh prefix until it
# ends, without the menu builder, which copies Start menus into this system's.
start_wine() {
    export WINEPREFIX=$work/wineprefix WINEDLLOVERRIDES=winemenubuilder.exe=d
    "$here/../e2e/wine-session.sh" start
    trap '"$here/../e2e/wine-session.sh" stop; rm -rf "$work"' EXIT
}

# check_windows WHAT FOLDER [RUNNER...]: the Windows program beside its
# documents, the manual pages as web pages and the notices; the program run
# under wine.
check_windows() {
    expect_files "$1" "$2" datum.html datum.de.html README.md LIESMICH.md CHANGELOG.md LICENSE
    grep -q "asks in German for a start date" "$2/datum.html" || fail "$1: datum.html is no manual page"
    grep -q "fragt nacheinander nach Tag" "$2/datum.de.html" || fail "$1: datum.de.html is no German manual page"
    expect_notices "$2/THIRD-PARTY-NOTICES.txt" "$1" "mingw-w64" "Zope Public License" \
        "Lucent Technologies" "Keith" "GCC RUNTIME LIBRARY EXCEPTION" "GNU GENERAL PUBLIC LICENSE"
    check_program "$1" 'PE32\+ executable \(console\) x86-64' "$2/datum.exe" "${@:3}"
}

# check_zip PLATFORM FILE: one folder named like the zip, with the Windows
# program and its files.
check_zip() {
    local zip=$dist/$2
    unzip -q "$zip" -d "$work/windows"
    [ "$(unzip -Z1 "$zip" | cut -d / -f 1 | sort -u)" = "${2%.zip}" ] \
        || fail "$zip: not all in one folder ${2%.zip}/: $(unzip -Z1 "$zip" | tr '\n' ' ')"
    start_wine
    check_windows "$zip" "$work/windows/${2%.zip}" "${runner[@]}"
    echo "ok: $2"
}

# check_msi PLATFORM FILE: installed for the user alone in a fresh wine prefix: the Windows program and its files,
# the Start menu's entries, the App Paths entry for Win+R (which wine reads from HKLM alone) and the entry under Apps.
# An installer of a higher version, built from the same files, replaces it; removed, it leaves no file or key behind.
check_msi() {
    local msi=$dist/$2 newer=${version%.*}.$((${version##*.} + 1)) programs menu entry holder
    holder=$(sed -n 's/^Copyright (c) //p' "$here/../../LICENSE")
    cases=("$here"/../e2e/cases/*.in)
    msiextract -C "$work" "$msi" >/dev/null
    cmake -DFILES="$work/Programs/datum" -DVERSION="$newer" -DPUBLISHER="$holder" -DOUTPUT="$work/newer.msi" \
        -P "$here/../../cmake/windows_installer.cmake" >"$work/log" 2>&1 || fail "$newer: $(cat "$work/log")"
    registered() { # What Win+R starts, below %LOCALAPPDATA%, and each entry under Apps: name|version|publisher.
        { "${runner[@]}" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\App Paths\datum.exe' /ve
            "${runner[@]}" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s; } | tr -d '\r' \
            | grep -oP '^ +(\(Default\)|DisplayName|DisplayVersion|Publisher) +REG_SZ +(.*\\Local\\)?\K.*' | paste -sd '|'
    }
    start_wine
    (cd "$WINEPREFIX" && find drive_c | sort) >"$work/before"
    "${runner[@]}" msiexec /i "$msi" /qn || fail "$2: msiexec /i: exit status $?"
    programs=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs)
    check_windows "$2" "$programs/datum" "${runner[@]}"
    menu="$programs/../../Roaming/Microsoft/Windows/Start Menu/Programs/datum"
    for entry in "datum:exe" "datum – Handbuch:de.html" "datum – Handbuch (englisch):html"; do
        grep -asqF "\\datum\\datum.${entry#*:}" "$menu/${entry%:*}.lnk" || fail "$2: no Start menu entry ${entry%:*}"
    done
    [ "$(registered)" = "Programs\\datum\\datum.exe|datum|$version|$holder" ] || fail "$2: $(registered)"
    "${runner[@]}" msiexec /i "$work/newer.msi" /qn || fail "$newer: msiexec /i: exit status $?"
    [ "$(registered)" = "Programs\\datum\\datum.exe|datum|$newer|$holder" ] || fail "$newer: $(registered)"
    check_windows "$newer" "$programs/datum" "${runner[@]}"
    "${runner[@]}" msiexec /x "$work/newer.msi" /qn || fail "$newer: msiexec /x: exit status $?"
    "$here/../e2e/wine-session.sh" stop
    # Only the installer's own folder of packages stays, as on Windows.
    (cd "$WINEPREFIX" && find drive_c | grep -vx drive_c/windows/Installer | sort) | diff "$work/before" - >&2 \
        && ! grep -i datum "$WINEPREFIX"/*.reg >&2 || fail "$2: msiexec /x leaves the above behind"
    echo "ok: $2"
}

# check_rpm PLATFORM FILE: the package's tags and rpmlint, then the package
# installed into an empty root as rpm installs it, every end-to-end case
# through the installed program, and the package removed again without a
# trace. Its summary must be datum's, as the bill of materials gives it.
check_rpm() {
    local package=$dist/$2 root=$work/rpm
    local rpm_in_root=(rpm --root "$root" --dbpath /var/lib/rpm)
    rpm -qp --queryformat '%{NAME}-%{VERSION}-%{RELEASE}.%{ARCH}.rpm\n%{GROUP}\n%{URL}\n%{SUMMARY}\n' \
        "$package" >"$work/tags" 2>/dev/null
    for tag in "$2" "Applications/Productivity" "file:///usr/share/doc/datum/README.md" "$(jq -r .metadata.component.description "$dist"/*.cdx.json)"; do
        grep -qF "$tag" "$work/tags" || fail "$package: no '$tag' among its tags"
    done
    # No error; the warnings kept are these, each on purpose:
    # - no-manual-page-for-binary: rpmlint 2.4 gathers manual pages by section, not by name;
    # - invalid-url: there is no web site, and URL names the README the package installs;
    # - invalid-license(-exception): Debian's rpmlint knows no licence names; the tag is SPDX.
    rpmlint -c "$here/../../packaging/rpm/rpmlint.toml" "$package" >"$work/rpmlint" 2>&1 \
        || fail "rpmlint reports errors on $package: $(grep ': E: ' "$work/rpmlint")"
    ! grep ': W: ' "$work/rpmlint" | grep -v -e no-manual-page-for-binary -e invalid-url -e invalid-license >&2 \
        || fail "rpmlint warns about $package"

    mkdir "$root"
    {
        "${rpm_in_root[@]}" --initdb
        "${rpm_in_root[@]}" --nodeps --ignorearch -i "$package"
    } 2>"$work/rpm.err" || fail "$package: rpm -i: $(cat "$work/rpm.err")"
    check_manuals "$root/usr/share/man/man1/datum.1.gz" "$root/usr/share/man/de/man1/datum.1.gz"
    expect_files "$package" "$root/usr/share/doc/datum" README.md LIESMICH.md CHANGELOG.md
    expect_files "$package" "$root/usr/share/licenses/datum" LICENSE
    expect_notices "$root/usr/share/licenses/datum/THIRD-PARTY-NOTICES" "$package" "GNU C Library" \
        "GNU LESSER GENERAL PUBLIC LICENSE" "GCC RUNTIME LIBRARY EXCEPTION"
    cases=("$here"/../e2e/cases/*.in)
    check_program "$package" "$linux_program" "$root/usr/bin/datum" "${runner[@]}"
    "${rpm_in_root[@]}" -e datum 2>"$work/rpm.err" || fail "$package: rpm -e: $(cat "$work/rpm.err")"
    local left
    left=$(find "$root" \( -type f -o -type l -o -name '*datum*' \) -not -path "$root/var/lib/rpm/*")
    [ -z "$left" ] || fail "$package: rpm -e leaves $left"
    echo "ok: $2"
}

# The npm package, installed globally into a folder of its own as a user
# installs it (with no network: it needs nothing from the registry).
check_tgz() {
    local tarball=$dist/$2 prefix=$work/npm-global
    npm install --global --prefix "$prefix" --cache "$work/npm-cache" --offline --no-audit --no-fund \
        "$tarball" >"$work/npm.log" 2>&1 || fail "$tarball: npm install: $(cat "$work/npm.log")"
    check_program "$tarball" "Node.js script executable" "$prefix/bin/datum"
    expect_files "$tarball" "$prefix/lib/node_modules/datum" README.md LIESMICH.md CHANGELOG.md
    [ -f "$prefix/share/man/man1/datum.1" ] || fail "$tarball: no manual page where npm links it"
    check_manual "$prefix/share/man/man1/datum.1" "datum asks in German"
    # Its SEE ALSO names what the package holds, in the folder it names.
    MANWIDTH=80 man -l "$prefix/share/man/man1/datum.1" 2>/dev/null | sed -n '/^SEE ALSO/,$p' >"$work/see-also"
    grep -q "npm root -g" "$work/see-also" || fail "$tarball: its manual page does not name the package's folder"
    ! grep -E "/usr/share|-L de" "$work/see-also" >&2 || fail "$tarball: its manual page names what the package lacks"
    expect_files "$tarball" "$(npm root --global --prefix "$prefix")/datum" README.md LIESMICH.md
    expect_notices "$prefix/lib/node_modules/datum/THIRD-PARTY-NOTICES" "$tarball" wasi-libc musl Nuxi
    npm uninstall --global --prefix "$prefix" --offline datum >/dev/null 2>&1 || fail "$tarball: npm uninstall failed"
    [ ! -e "$prefix/bin/datum" ] && [ ! -e "$prefix/share/man/man1/datum.1" ] || fail "$tarball: npm uninstall leaves datum behind"
    echo "ok: $2"
}

# The page: German, small (host/page/budget.json) and allowed to load nothing. (That it holds the
# very module of the npm package, the bill of materials check says.)
check_html() {
    local page=$dist/$2 size
    [ -f "$page" ] || fail "no $page"
    size=$(stat -c %s "$page")
    [ "$size" -le $((page_kib * 1024)) ] || fail "$page: $size bytes, more than $page_kib KiB"
    grep -q '^<html lang="de">$' "$page" || fail "$page: not marked as German"
    grep -q "Content-Security-Policy\" content=\"default-src 'none';" "$page" || fail "$page: no policy against loading"
    echo "ok: $2"
}

# The web site, unpacked as a user unpacks it for a web host: exactly its
# files in one folder, the icons of their sizes, the service worker
# keeping every other file, and small enough for a phone.
check_web.zip() {
    local zip=$dist/$2 site=$work/web/datum icons expected kept page total i
    # Each file of the site and what `file` says it is: the icons those
    # that host/page/about.mjs lists, each of its size.
    local files=(
        "index.html" "HTML document"
        "manifest.webmanifest" "JSON"
        "service-worker.js" "JavaScript source"
    )
    icons=$(node "$here/release_facts.mjs") || fail "host/page/about.mjs: its icons cannot be read"
    mapfile -t -O "${#files[@]}" files <<<"$icons"
    unzip -q "$zip" -d "$work/web"
    expected=$(for ((i = 0; i < ${#files[@]}; i += 2)); do echo "datum/${files[i]}"; done | LC_ALL=C sort)
    [ "$(unzip -Z1 "$zip" | LC_ALL=C sort)" = "$expected" ] || fail "$zip: holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
    for ((i = 0; i < ${#files[@]}; i += 2)); do
        file -b "$site/${files[i]}" | grep -q "${files[i + 1]}" \
            || fail "$zip: ${files[i]} is $(file -b "$site/${files[i]}")"
    done
    # The worker keeps every file but itself.
    kept=$(node "$here/service_worker.mjs" "$site/service-worker.js" | jq -r '.files[]') \
        || fail "$zip: its service worker does not install"
    [ "$kept" = "$(echo "$expected" | sed 's|^datum/||' | grep -vx service-worker.js)" ] \
        || fail "$zip: the service worker keeps $(echo "$kept" | tr '\n' ' ')"
    page=$(stat -c %s "$site/index.html")
    [ "$page" -le $((page_kib * 1024)) ] || fail "$zip: index.html has $page bytes, more than $page_kib KiB"
    total=$(cat "$site"/* | wc -c)
    [ "$total" -le $((site_kib * 1024)) ] || fail "$zip: the site has $total bytes, more than $site_kib KiB"
    echo "ok: $2 ($total bytes, the page $page)"
}

declare -F "check_$kind" >/dev/null || fail "no check of a release file of the kind $kind"
"check_$kind" "$4" "$5"
