// Builds the page: one HTML file that holds the module, the host, the
// worker and the page's own script and style, with a Content-Security-
// Policy that allows exactly these and nothing from elsewhere.
//   node build.mjs MODULE.wasm OUTPUT.html VERSION LICENSE NOTICES
//
// The web site (site.mjs) builds the same page with what an installed app
// adds: its manifest, icons and service worker, all from its own folder.

import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const here = (name) => new URL(name, import.meta.url);
const text = (url) => readFileSync(url, 'utf8');

// What the page of the web site has in its head, besides the page's own.
const SITE_HEAD = `<link rel="manifest" href="manifest.webmanifest">
<link rel="icon" href="icon.svg" type="image/svg+xml">
<link rel="apple-touch-icon" href="apple-touch-icon.png">
<meta name="theme-color" content="#fbfbf8" media="(prefers-color-scheme: light)">
<meta name="theme-color" content="#141413" media="(prefers-color-scheme: dark)">`;
// The page on its own asks for no icon at all.
const PAGE_HEAD = '<link rel="icon" href="data:,">';

/**
 * The page as HTML.
 * @param {{modulePath: string, version: string, licensePath: string, noticesPath: string,
 *          site: boolean}} from
 *   site: the page of the web site, which registers its service worker
 */
export function buildPage({ modulePath, version, licensePath, noticesPath, site }) {
    // The host is an ES module for node; the worker runs it as a plain script.
    const host = text(here('../datum_host.mjs'));
    const exportLine = '\nexport { runDatum };\n';
    if (!host.endsWith(exportLine)) {
        throw new Error('datum_host.mjs must end with its one export line');
    }
    const workerSource = `'use strict';\n${host.slice(0, -exportLine.length)}\n\n${text(here('worker.js'))}`;
    const moduleBase64 = readFileSync(modulePath).toString('base64');

    // Nothing inside the script may end the script element.
    const literal = (value) => JSON.stringify(value).replaceAll('</', '<\\/');
    const offline = site ? `\n${text(here('offline.js'))}` : '';
    const script = `\nconst WORKER_SOURCE = ${literal(workerSource)};\nconst MODULE_BASE64 = '${moduleBase64}';\n\n${text(here('page.js'))}${offline}`;
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
    const licenses = `${text(licensePath).trimEnd()}\n\n\n${text(noticesPath).trimEnd()}`;

    return text(here('datum.html.in'))
        .replace('@CSP@', policy)
        .replace('@HEAD@', site ? SITE_HEAD : PAGE_HEAD)
        .replace('@STYLE@', () => style)
        .replace('@VERSION@', escape(version))
        .replace('@LICENSES@', () => escape(licenses))
        .replace('@SCRIPT@', () => script);
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [modulePath, outputPath, version, licensePath, noticesPath] = process.argv.slice(2);
    writeFileSync(outputPath, buildPage({ modulePath, version, licensePath, noticesPath, site: false }));
}
