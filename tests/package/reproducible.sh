#!/usr/bin/env bash
# The release made a second time from its source archive, unpacked in
# another folder, with no git and no SOURCE_DATE_EPOCH but the one that the
# archive's RELEASE holds, and compared with dist/. The second release
# takes the programs of the test builds (build/NAME: another folder,
# another preset, compiled on their own) and makes their release files,
# so that identical SHA-256 sums mean identical programs compiled twice,
# identical packages, an identical source archive (made here as
# script/release makes it) and an identical bill of materials. The
# programs themselves, each that release-files.txt names, are compared too.
#   reproducible.sh VERSION
set -euo pipefail
version=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
elsewhere=$root/build/reproducible
copy=$elsewhere/datum-$version

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ -e .git ] || { echo "skipped: no git here to make the source archive"; exit 77; }
[ -f dist/SHA256SUMS ] || fail "run script/release first"
rm -rf "$elsewhere" && mkdir -p "$elsewhere"
source packaging/source_archive.sh
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)} make_source_archive "$version" "$elsewhere"
tar -xzf "$elsewhere/datum-$version.tar.gz" -C "$elsewhere"
[ ! -e "$copy/.git" ] || fail "the source archive holds .git"
env -u SOURCE_DATE_EPOCH "$copy/script/release" --built "$root/build" >/dev/null 2>"$elsewhere/release.log" \
    || { cat "$elsewhere/release.log" >&2; fail "script/release in the unpacked source archive"; }

programs=$(awk -v build="$root/build/package/" '$1 == "program" { sub(build, "", $3); print $3 }' \
    build/package/*/release-files.txt)
[ -n "$programs" ] || fail "no program named in build/package/*/release-files.txt"
for program in $programs; do
    cmp -s "build/package/$program" "build/$program" || fail "$program of build/ differs from build/package/$program"
done
if ! diff dist/SHA256SUMS "$copy/dist/SHA256SUMS"; then
    grep "script/release: " "$elsewhere/release.log" >&2 || true
    fail "the release made again in $copy gives other bytes"
fi
echo "ok: the release made again from its source archive, in another folder with no git, from programs compiled again, gives identical programs and files"
