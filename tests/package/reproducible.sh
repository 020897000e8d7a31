#!/usr/bin/env bash
# Builds the release a second time from its own source archive, unpacked in
# another folder, with no git and no SOURCE_DATE_EPOCH but the one that the
# archive's RELEASE holds, and compares the SHA-256 sums with those in
# dist/. Identical sums mean identical packages and an identical bill of
# materials, with the programs' sums in it; the programs themselves
# (each that release-files.txt in build/package names) are compared too.
#   reproducible.sh VERSION
set -euo pipefail
version=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ -f dist/SHA256SUMS ] || fail "run script/release first"
archive=datum-$version.tar.gz
[ -f "dist/$archive" ] || fail "no dist/$archive"

# The archive and the folder it unpacks into side by side, as a user has
# them after downloading it.
elsewhere=$(mktemp -d)/elsewhere
trap 'rm -rf "$(dirname "$elsewhere")"' EXIT
mkdir "$elsewhere"
cp "dist/$archive" "$elsewhere/"
tar -xzf "$elsewhere/$archive" -C "$elsewhere"
copy=$elsewhere/datum-$version
[ ! -e "$copy/.git" ] || fail "$archive holds .git"

[ -z "$(git status --porcelain --untracked-files=no 2>/dev/null)" ] \
    || echo "reproducible.sh: this checkout has uncommitted changes, which $archive does not hold" >&2
env -u SOURCE_DATE_EPOCH "$copy/script/release" >/dev/null 2>"$elsewhere/release.log" \
    || { cat "$elsewhere/release.log" >&2; fail "script/release in the unpacked $archive"; }

programs=$(awk -v build="$root/build/package/" '$1 == "program" { sub(build, "", $3); print $3 }' \
    build/package/*/release-files.txt)
[ -n "$programs" ] || fail "no program named in build/package/*/release-files.txt"
for program in $programs; do
    cmp -s "build/package/$program" "$copy/build/package/$program" \
        || fail "$program built from $archive differs from build/package/$program"
done
if ! diff dist/SHA256SUMS "$copy/dist/SHA256SUMS"; then
    grep "script/release: " "$elsewhere/release.log" >&2 || true
    fail "the release built from $archive in $copy gives other bytes"
fi
echo "ok: the release built again from $archive, in another folder with no git, gives identical programs and files"
