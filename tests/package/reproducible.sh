#!/usr/bin/env bash
# Builds every package a second time from a copy of this checkout in
# another folder and compares the SHA-256 sums with those in dist/.
# Identical sums mean identical programs (datum for x86-64 and arm64,
# datum.exe) and identical packages.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
[ -f dist/SHA256SUMS ] || { echo "FAIL: run script/release first" >&2; exit 1; }

SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
copy=$(mktemp -d)/elsewhere/datum
trap 'rm -rf "$(dirname "$(dirname "$copy")")"' EXIT
mkdir -p "$copy"
# The files of the checkout as they are now, committed or not.
git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$copy"

"$copy/script/release" >/dev/null 2>"$copy.log" || { cat "$copy.log" >&2; exit 1; }
if ! diff dist/SHA256SUMS "$copy/dist/SHA256SUMS"; then
    echo "FAIL: a second build in $copy gives other bytes" >&2
    exit 1
fi
echo "ok: a second build in another folder gives identical packages"
