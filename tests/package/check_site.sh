#!/usr/bin/env bash
# The web site of the release, unpacked as a user unpacks it for a web
# host: exactly its files in one folder, the icons of their sizes, the
# service worker keeping every other file, the very module of the npm
# package, and small enough for a phone.
#   check_site.sh DIST
set -euo pipefail
dist=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
version=$(sed -n 's/^project(datum VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
npm_version=$version
[[ $npm_version == *.*.* ]] || npm_version=$npm_version.0
zip=$dist/datum-$version-web.zip
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $zip: $*" >&2
    exit 1
}

# Each file of the site and what `file` says it is.
files=(
    "apple-touch-icon.png" "PNG image data, 180 x 180"
    "icon-192.png" "PNG image data, 192 x 192"
    "icon-512.png" "PNG image data, 512 x 512"
    "icon-maskable-512.png" "PNG image data, 512 x 512"
    "icon.svg" "SVG Scalable Vector Graphics image"
    "index.html" "HTML document"
    "manifest.webmanifest" "JSON"
    "service-worker.js" "JavaScript source"
)
unzip -q "$zip" -d "$work"
site=$work/datum
expected=$(for ((i = 0; i < ${#files[@]}; i += 2)); do echo "datum/${files[i]}"; done)
[ "$(unzip -Z1 "$zip" | sort)" = "$expected" ] || fail "holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
for ((i = 0; i < ${#files[@]}; i += 2)); do
    file -b "$site/${files[i]}" | grep -q "${files[i + 1]}" || fail "${files[i]} is $(file -b "$site/${files[i]}")"
done

# The worker keeps every file but itself.
kept=$(sed -n 's/^const FILES = \(.*\);$/\1/p' "$site/service-worker.js" | node -e \
    'process.stdin.on("data", (d) => console.log(JSON.parse(d).join("\n")))')
[ "$kept" = "$(echo "$expected" | sed 's|^datum/||' | grep -vx service-worker.js)" ] \
    || fail "the service worker keeps $(echo "$kept" | tr '\n' ' ')"

sed -n "s/^const MODULE_BASE64 = '\(.*\)';$/\1/p" "$site/index.html" | base64 -d >"$work/site.wasm"
tar -xzOf "$dist/datum-$npm_version.tgz" package/lib/datum.wasm | cmp -s - "$work/site.wasm" \
    || fail "the module differs from the npm package's"

page=$(stat -c %s "$site/index.html")
[ "$page" -le $((256 * 1024)) ] || fail "index.html has $page bytes, more than 256 KiB"
total=$(cat "$site"/* | wc -c)
[ "$total" -le $((320 * 1024)) ] || fail "the site has $total bytes, more than 320 KiB"
echo "ok: web site ($total bytes, the page $page)"
