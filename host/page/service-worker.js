// The site's service worker: keeps the site's files (relative to the
// site's folder) in a cache of this release and serves them from there
// first, so the installed app starts without a network. The build makes
// both (site.mjs); any change to a file changes the release, and with it
// the bytes of this script, which is how the browser notices a new release
// at the next visit.
//
// A new release takes over as soon as its files are cached, and removes
// the caches of the releases before it. Caches belong to the origin, so
// the name also carries the site's folder: two copies of the site in two
// folders of one host keep their own caches.
import { files, release } from 'datum-build/site.json';

const CACHE_PREFIX = `datum ${registration.scope} `;
const CACHE = `${CACHE_PREFIX}${release}`;
// The folder's own address is the page.
const PAGE = new URL('index.html', registration.scope).href;

addEventListener('install', (event) => {
    event.waitUntil((async () => {
        const cache = await caches.open(CACHE);
        // From the host, never from the browser's HTTP cache, which may
        // still hold a file of the release before.
        await cache.addAll(files.map((file) => new Request(file, { cache: 'reload' })));
        await skipWaiting();
    })());
});

addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        const names = await caches.keys();
        await Promise.all(names
            .filter((name) => name.startsWith(CACHE_PREFIX) && name !== CACHE)
            .map((name) => caches.delete(name)));
        await clients.claim();
    })());
});

addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET') {
        return;
    }
    const url = new URL(request.url);
    url.search = '';
    url.hash = '';
    const address = url.href === registration.scope ? PAGE : url.href;
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        return (await cache.match(address)) ?? fetch(request);
    })());
});
