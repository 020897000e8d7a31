// Builds the web site: a folder to put on any static web host, also in a
// subfolder, which a phone installs as an app and which works offline.
//   node site.mjs MODULE.wasm VERSION LICENSE NOTICES FOLDER
// FOLDER is made anew with the page as index.html, the web app manifest,
// the icons and the service worker, which caches exactly these files under
// a name that changes with any of them. FOLDER.d, beside it, names every
// file the site is made of, for Ninja. The icons are rendered from
// icon.svg by rsvg-convert (librsvg's; RSVG_CONVERT names another one).

import { spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as about from './about.mjs';
import { buildPage, withFolder, writeDepfile } from './build.mjs';
import { bundle } from './bundle.mjs';
import { colours, withColours } from './colours.mjs';

const [modulePath, version, licensePath, noticesPath, folder] = process.argv.slice(2);
const here = (name) => new URL(name, import.meta.url);

// The web app manifest: the installed app has the page's name and says
// what the page's intro says; its colour is the icon's tile's, the page's
// accent.
const manifest = {
    id: './',
    name: about.name,
    short_name: 'datum',
    description: about.descriptionLine,
    lang: 'de',
    dir: 'ltr',
    start_url: './',
    scope: './',
    display: 'standalone',
    theme_color: colours.light.accent,
    background_color: colours.light.accent,
    categories: ['utilities', 'productivity'],
    icons: about.icons.filter((icon) => icon.purpose).map((icon) => ({
        src: icon.file,
        sizes: icon.size ? `${icon.size}x${icon.size}` : 'any',
        type: about.iconType(icon),
        purpose: icon.purpose,
    })),
};

/**
 * The drawing as a PNG icon of its size. An icon that the system cuts to a
 * shape of its own, the maskable one and iOS's, fills its whole square,
 * with the tile's colour behind the drawing.
 * @param {string} drawing  the path of the drawing, its colours filled in
 * @param {string} made  a folder to render into
 * @param {{file: string, size: number, purpose?: string, rel?: string}} icon
 * @returns {Buffer}
 */
function render(drawing, made, icon) {
    const fills = icon.purpose === 'maskable' || icon.rel === 'apple-touch-icon';
    const fill = fills ? [`--background-color=${colours.light.accent}`] : [];
    const output = join(made, icon.file);
    const rsvg = spawnSync(process.env.RSVG_CONVERT ?? 'rsvg-convert', [
        `--width=${icon.size}`, `--height=${icon.size}`, ...fill, drawing, `--output=${output}`,
    ], { encoding: 'utf8' });
    if (rsvg.error !== undefined || rsvg.status !== 0 || rsvg.stderr !== '') {
        throw new Error(`site.mjs: rsvg-convert ${icon.file}: ${rsvg.error?.message ?? rsvg.stderr}`);
    }
    return readFileSync(output);
}

const page = buildPage({ modulePath, version, licensePath, noticesPath, site: true });
const svg = withColours(readFileSync(here('icon.svg'), 'utf8'));
const files = new Map([
    ['index.html', page.html],
    ['manifest.webmanifest', `${JSON.stringify(manifest, null, 2)}\n`],
    ...withFolder((made) => {
        const drawing = join(made, 'drawing.svg');
        writeFileSync(drawing, svg);
        return about.icons.map((icon) => [icon.file, icon.size ? render(drawing, made, icon) : svg]);
    }),
]);
const names = [...files.keys()].sort();
rmSync(folder, { recursive: true, force: true });
mkdirSync(folder, { recursive: true });
const digest = createHash('sha256');
for (const name of names) {
    writeFileSync(join(folder, name), files.get(name));
    digest.update(`${name}\n`).update(files.get(name)).update('\n');
}

// The service worker imports the site's files and its release, which
// names its cache, from what the build makes here.
const release = `${version} ${digest.digest('hex').slice(0, 16)}`;
const worker = withFolder((made) => {
    writeFileSync(join(made, 'site.json'), JSON.stringify({ release, files: names }));
    return bundle('host/page/service-worker.js', made);
});
writeFileSync(join(folder, 'service-worker.js'), worker.code);

const own = ['site.mjs', 'about.mjs', 'icon.svg'].map((name) => fileURLToPath(here(name)));
writeDepfile(`${folder}.d`, join(folder, 'index.html'),
    [...new Set([...page.inputs, ...worker.inputs, ...own])].map((input) => resolve(input)));
