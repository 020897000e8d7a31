// Builds the web site: a folder to put on any static web host, also in a
// subfolder, which a phone installs as an app and which works offline.
//   node site.mjs MODULE.wasm VERSION LICENSE NOTICES FOLDER ICON...
// FOLDER is made anew with the page as index.html, the web app manifest,
// the icons (already rendered; each keeps its file name) and the service
// worker, which caches exactly these files under a name that changes with
// any of them.

import { createHash } from 'node:crypto';
import { mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { basename, join } from 'node:path';
import { buildPage } from './build.mjs';

const [modulePath, version, licensePath, noticesPath, folder, ...icons] = process.argv.slice(2);
const here = (name) => new URL(name, import.meta.url);

const files = new Map([
    ['index.html', buildPage({ modulePath, version, licensePath, noticesPath, site: true })],
    ['manifest.webmanifest', readFileSync(here('manifest.webmanifest'))],
    ['icon.svg', readFileSync(here('icon.svg'))],
    ...icons.map((icon) => [basename(icon), readFileSync(icon)]),
]);
// Every icon the manifest names is one of the site's files.
for (const icon of JSON.parse(files.get('manifest.webmanifest')).icons) {
    if (!files.has(icon.src)) {
        throw new Error(`site.mjs: the manifest names ${icon.src}, which is not among the files`);
    }
}
const names = [...files.keys()].sort();
rmSync(folder, { recursive: true, force: true });
mkdirSync(folder, { recursive: true });
const digest = createHash('sha256');
for (const name of names) {
    writeFileSync(join(folder, name), files.get(name));
    digest.update(`${name}\n`).update(files.get(name)).update('\n');
}

// The worker learns the site's files and its cache's name when it is built.
const release = `${version} ${digest.digest('hex').slice(0, 16)}`;
const worker = `'use strict';\nconst RELEASE = ${JSON.stringify(release)};\nconst FILES = ${JSON.stringify(names)};\n\n${readFileSync(here('service-worker.js'), 'utf8')}`;
writeFileSync(join(folder, 'service-worker.js'), worker);
