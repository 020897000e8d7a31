// The web site's page: the page on its own (page.js), and the service
// worker that keeps the site for offline use, registered here. Only a page
// from a web host can have one; from the disk there is nothing to register
// and nothing to say about it.
//
// A new release's worker takes over while an older page is shown. If
// nobody has answered yet, the page loads again, now the new release;
// otherwise the session goes on, and the next visit is the new release.

import { untouched } from './page.js';

if ('serviceWorker' in navigator && (location.protocol === 'https:' || location.protocol === 'http:')) {
    const hadWorker = navigator.serviceWorker.controller !== null;
    navigator.serviceWorker.addEventListener('controllerchange', () => {
        if (hadWorker && untouched()) {
            location.reload();
        }
    });
    navigator.serviceWorker.register('service-worker.js').then(
        // A new release is looked for at every visit, not only when the
        // browser gets round to it; without a network there is none.
        (registration) => registration.update().catch(() => {}),
        // Offline use is an addition: without it the page works as it is.
        (error) => console.warn(`datum: no offline use (${error})`),
    );
}
