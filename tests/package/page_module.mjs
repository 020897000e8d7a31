// The module a page holds: the base64 of its data element `datum-module`,
// which the page itself reads by that id.
//   node page_module.mjs PAGE.html > MODULE.wasm
// Fails if the page has no such element.

import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const ELEMENT = /<script id="datum-module" type="application\/octet-stream">([A-Za-z0-9+/=]*)<\/script>/g;

/**
 * @param {string} html  the page
 * @returns {Buffer | null} the module, or null if the page holds none
 */
export function pageModule(html) {
    const found = [...html.matchAll(ELEMENT)];
    if (found.length > 1) {
        throw new Error('page_module.mjs: the page has more than one element datum-module');
    }
    return found.length === 1 ? Buffer.from(found[0][1], 'base64') : null;
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const module = pageModule(readFileSync(process.argv[2], 'utf8'));
    if (module === null) {
        console.error(`page_module.mjs: ${process.argv[2]} holds no module`);
        process.exit(1);
    }
    process.stdout.write(module);
}
