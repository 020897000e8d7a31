// Builds the page: one HTML file that holds the module, the host, the
// worker and the page's own script and style, with a Content-Security-
// Policy that allows exactly these and nothing from elsewhere.
//   node build.mjs MODULE.wasm OUTPUT.html VERSION LICENSE NOTICES

import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';

const [modulePath, outputPath, version, licensePath, noticesPath] = process.argv.slice(2);
const here = (name) => new URL(name, import.meta.url);
const text = (url) => readFileSync(url, 'utf8');

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
const script = `\nconst WORKER_SOURCE = ${literal(workerSource)};\nconst MODULE_BASE64 = '${moduleBase64}';\n\n${text(here('page.js'))}`;
const style = `\n${text(here('page.css'))}`;

const hash = (content) => `'sha256-${createHash('sha256').update(content, 'utf8').digest('base64')}'`;
const policy = [
    "default-src 'none'",
    `script-src ${hash(script)} 'wasm-unsafe-eval'`,
    'worker-src blob:',
    `style-src ${hash(style)}`,
    'img-src data:',
    "base-uri 'none'",
    "form-action 'none'",
].join('; ');

const escape = (value) => value.replaceAll('&', '&amp;').replaceAll('<', '&lt;').replaceAll('>', '&gt;');
const licenses = `${text(licensePath).trimEnd()}\n\n\n${text(noticesPath).trimEnd()}`;

const page = text(here('datum.html.in'))
    .replace('@CSP@', policy)
    .replace('@STYLE@', () => style)
    .replace('@VERSION@', escape(version))
    .replace('@LICENSES@', () => escape(licenses))
    .replace('@SCRIPT@', () => script);
writeFileSync(outputPath, page);
