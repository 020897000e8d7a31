// What a site's service worker keeps: it is run here as a browser installs
// it, in a scope of its own with a cache that only records, and this prints
// the files it puts into its cache, relative to its folder, and the release
// that names the cache, as JSON: {"release": "...", "files": [...]}.
//   node service_worker.mjs SERVICE_WORKER.js

import { readFileSync } from 'node:fs';
import { runInNewContext } from 'node:vm';

const SCOPE = 'https://host.invalid/site/';
const handlers = new Map();
const opened = [];
const cached = [];
const scope = {
    URL,
    registration: { scope: SCOPE },
    addEventListener: (type, handler) => handlers.set(type, handler),
    Request: class {
        constructor(address) {
            this.url = new URL(address, SCOPE).href;
        }
    },
    caches: {
        open: async (name) => {
            opened.push(name);
            return { addAll: async (requests) => cached.push(...requests.map((request) => request.url)) };
        },
    },
    skipWaiting: async () => {},
};
runInNewContext(readFileSync(process.argv[2], 'utf8'), scope, { filename: process.argv[2] });

let installed;
handlers.get('install')({ waitUntil: (promise) => (installed = promise) });
await installed;
const prefix = `datum ${SCOPE} `;
if (opened.length !== 1 || !opened[0].startsWith(prefix)) {
    throw new Error(`service_worker.mjs: the worker opens the caches ${JSON.stringify(opened)}`);
}
if (!cached.every((address) => address.startsWith(SCOPE))) {
    throw new Error(`service_worker.mjs: the worker keeps files outside its folder: ${cached}`);
}
console.log(JSON.stringify({
    release: opened[0].slice(prefix.length),
    files: cached.map((address) => address.slice(SCOPE.length)),
}));
