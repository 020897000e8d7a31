// What the page and the web app say of themselves, written here alone:
// the name, which is the page's title and the installed app's, what the
// program does, which the page shows as its intro and gives as its
// description, as the app's manifest does, and the web site's icons.
// build.mjs and site.mjs put each where it is shown; the checks read the
// icons here.

export const name = 'datum – ein Datum um eine Anzahl von Tagen weiterzählen';

// In lines as the page's source shows it; where it must be one line (an
// attribute, the manifest), its line ends are spaces.
export const description = `Das Programm fragt nach einem Startdatum und nach der Anzahl der Tage
und nennt das Datum, das so viele Tage später liegt. Auf dem Weg dorthin
meldet es auch die Länge des Februars im Startjahr und in jedem
folgenden Jahr bis zum Ergebnis.`;

export const descriptionLine = description.replaceAll('\n', ' ');

// The web site's icons, each drawn from icon.svg: its file, its size in
// pixels (none for the drawing itself, which takes any size), and who
// shows it: the manifest, for the purpose given, or the page's head, by
// the link's rel. iOS reads no manifest, and takes the icon that the head
// names for it.
export const icons = [
    { file: 'icon-192.png', size: 192, purpose: 'any' },
    { file: 'icon-512.png', size: 512, purpose: 'any' },
    { file: 'icon-maskable-512.png', size: 512, purpose: 'maskable' },
    { file: 'icon.svg', purpose: 'any', rel: 'icon' },
    { file: 'apple-touch-icon.png', size: 180, rel: 'apple-touch-icon' },
];

/** @param {{size?: number}} icon  @returns {string} its media type */
export const iconType = (icon) => (icon.size ? 'image/png' : 'image/svg+xml');
