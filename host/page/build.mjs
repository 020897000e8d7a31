// Builds the page: one HTML file that holds the module, the host, the
// worker and the page's own script and style, with a Content-Security-
// Policy that allows exactly these and nothing from elsewhere.
//   node build.mjs MODULE.wasm OUTPUT.html VERSION LICENSE NOTICES
// OUTPUT.d, beside it, names every file the page is made of, for Ninja.
//
// The worker (worker.js and the host it imports) is bundled first; the
// page's script (page.js, or for the web site offline.js, which imports
// it) imports the worker's script as text and hands it to the worker as a
// Blob. The module is a data element, `datum-module`, in base64, which the
// page reads by its id.
//
// The web site (site.mjs) builds the same page with what an installed app
// adds: its manifest, icons and service worker, all from its own folder.

import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, realpathSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import * as about from './about.mjs';
import { bundle } from './bundle.mjs';
import { colours } from './colours.mjs';

const here = (name) => new URL(name, import.meta.url);
const text = (url) => readFileSync(url, 'utf8');

// What the page of the web site has in its head, besides the page's own:
// the manifest, the icons the head names (with the type where it is not
// PNG, so that a browser which cannot show it passes it over) and the
// colour of the browser's bar, the page's background in each scheme.
const typeAttribute = (type) => (type === 'image/png' ? '' : ` type="${type}"`);
const SITE_HEAD = [
    '<link rel="manifest" href="manifest.webmanifest">',
    ...about.icons.filter((icon) => icon.rel).map((icon) =>
        `<link rel="${icon.rel}" href="${icon.file}"${typeAttribute(about.iconType(icon))}>`),
    ...['light', 'dark'].map((scheme) =>
        `<meta name="theme-color" content="${colours[scheme].background}" media="(prefers-color-scheme: ${scheme})">`),
].join('\n');
// The page on its own asks for no icon at all.
const PAGE_HEAD = '<link rel="icon" href="data:,">';

/**
 * A folder for what the build makes on the way, removed afterwards.
 * @param {(folder: string) => T} use
 * @returns {T}
 * @template T
 */
export function withFolder(use) {
    const folder = realpathSync(mkdtempSync(join(tmpdir(), 'datum-page-')));
    try {
        return use(folder);
    } finally {
        rmSync(folder, { recursive: true, force: true });
    }
}

/**
 * The page as HTML, and the files it is made of.
 * @param {{modulePath: string, version: string, licensePath: string, noticesPath: string,
 *          site: boolean}} from
 *   site: the page of the web site, which registers its service worker
 * @returns {{html: string, inputs: string[]}}
 */
export function buildPage({ modulePath, version, licensePath, noticesPath, site }) {
    const { script, inputs } = withFolder((made) => {
        const worker = bundle('host/page/worker.js', made);
        writeFileSync(join(made, 'worker.txt'), worker.code);
        const page = bundle(site ? 'host/page/offline.js' : 'host/page/page.js', made);
        return { script: page.code, inputs: [...worker.inputs, ...page.inputs] };
    });
    // Nothing inside the script may end the script element; esbuild writes
    // strings so that nothing does.
    if (/<\/script/i.test(script)) {
        throw new Error('build.mjs: the bundle holds the end of a script element');
    }
    const moduleBase64 = readFileSync(modulePath).toString('base64');
    const style = `\n${text(here('page.css'))}`;

    const hash = (content) => `'sha256-${createHash('sha256').update(content, 'utf8').digest('base64')}'`;
    const policy = [
        "default-src 'none'",
        `script-src ${hash(script)} 'wasm-unsafe-eval'`,
        site ? "worker-src 'self' blob:" : 'worker-src blob:',
        `style-src ${hash(style)}`,
        site ? "img-src 'self'" : 'img-src data:',
        ...(site ? ["manifest-src 'self'"] : []),
        "base-uri 'none'",
        "form-action 'none'",
    ].join('; ');

    const escape = (value) => value.replaceAll('&', '&amp;').replaceAll('<', '&lt;').replaceAll('>', '&gt;');
    const attribute = (value) => escape(value).replaceAll('"', '&quot;');
    const licenses = `${text(licensePath).trimEnd()}\n\n\n${text(noticesPath).trimEnd()}`;

    // Each replace() takes the first match, so the page's words go in
    // before the texts that could hold one.
    const html = text(here('datum.html.in'))
        .replace('@TITLE@', () => escape(about.name))
        .replace('@DESCRIPTION@', () => attribute(about.descriptionLine))
        .replace('@INTRO@', () => escape(about.description))
        .replace('@CSP@', policy)
        .replace('@HEAD@', site ? SITE_HEAD : PAGE_HEAD)
        .replace('@STYLE@', () => style)
        .replace('@VERSION@', escape(version))
        .replace('@LICENSES@', () => escape(licenses))
        .replace('@MODULE@', moduleBase64)
        .replace('@SCRIPT@', () => script);
    const own = ['datum.html.in', 'page.css', 'about.mjs', 'colours.mjs', 'build.mjs', 'bundle.mjs'].map((name) => fileURLToPath(here(name)));
    return { html, inputs: [...new Set([...inputs, ...own, resolve(licensePath), resolve(noticesPath)])] };
}

/**
 * Writes a dependency file as Ninja reads it: OUTPUT depends on INPUTS.
 * @param {string} path
 * @param {string} output
 * @param {string[]} inputs
 */
export function writeDepfile(path, output, inputs) {
    const name = (file) => file.replace(/[ #$]/g, (c) => (c === '$' ? '$$' : `\\${c}`));
    writeFileSync(path, `${name(output)}: ${inputs.map(name).join(' \\\n  ')}\n`);
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [modulePath, outputPath, version, licensePath, noticesPath] = process.argv.slice(2);
    const { html, inputs } = buildPage({ modulePath, version, licensePath, noticesPath, site: false });
    writeFileSync(outputPath, html);
    writeDepfile(`${outputPath}.d`, outputPath, inputs);
}
