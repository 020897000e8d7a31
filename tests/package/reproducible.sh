#!/usr/bin/env bash
# Builds the release a second time from its source archive, unpacked in
# another folder, with no git and no SOURCE_DATE_EPOCH but the one that the
# archive's RELEASE holds, and compares the SHA-256 sums with those in
# dist/. Identical sums mean identical packages, an identical source
# archive and an identical bill of materials, with the programs' sums in
# it; the programs themselves (each that release-files.txt in build/package
# names) are compared too. The archive is made as script/release makes it,
# so that the second build runs while the first does.
#   reproducible.sh build VERSION      into build/reproducible
#   reproducible.sh compare VERSION    with dist/ and build/package
set -euo pipefail
step=$1
version=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
elsewhere=$root/build/reproducible
copy=$elsewhere/datum-$version

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "$step" = build ]; then
    [ -e .git ] || { echo "skipped: no git here to make the source archive"; exit 77; }
    rm -rf "$elsewhere" && mkdir -p "$elsewhere"
    source packaging/source_archive.sh
    SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)} make_source_archive "$version" "$elsewhere"
    tar -xzf "$elsewhere/datum-$version.tar.gz" -C "$elsewhere"
    [ ! -e "$copy/.git" ] || fail "the source archive holds .git"
    env -u SOURCE_DATE_EPOCH "$copy/script/release" >/dev/null 2>"$elsewhere/release.log" \
        || { cat "$elsewhere/release.log" >&2; fail "script/release in the unpacked source archive"; }
    echo "ok: the release built again in $copy"
    exit 0
fi
[ -f dist/SHA256SUMS ] || fail "run script/release first"
[ -f "$copy/dist/SHA256SUMS" ] || fail "nothing built again: reproducible.sh build $version"

programs=$(awk -v build="$root/build/package/" '$1 == "program" { sub(build, "", $3); print $3 }' \
    build/package/*/release-files.txt)
[ -n "$programs" ] || fail "no program named in build/package/*/release-files.txt"
for program in $programs; do
    cmp -s "build/package/$program" "$copy/build/package/$program" \
        || fail "$program built again in $copy differs from build/package/$program"
done
if ! diff dist/SHA256SUMS "$copy/dist/SHA256SUMS"; then
    grep "script/release: " "$elsewhere/release.log" >&2 || true
    fail "the release built again in $copy gives other bytes"
fi
echo "ok: the release built again from its source archive, in another folder with no git, gives identical programs and files"
