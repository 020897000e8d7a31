// What the page and the web app say of themselves, written here alone:
// the name, which is the page's title and the installed app's, and what the
// program does, which the page shows as its intro and gives as its
// description, as the app's manifest does. build.mjs and site.mjs put each
// where it is shown.

export const name = 'datum – ein Datum um eine gewählte Zahl von Tagen weiterzählen';

// In lines as the page's source shows it; where it must be one line (an
// attribute, the manifest), its line ends are spaces.
export const description = `Das Programm fragt nach einem Startdatum und nach der Anzahl der Tage
und nennt das Datum, das so viele Tage später liegt. Dabei nennt es auch
die Länge des Februars im Startjahr und in jedem folgenden Jahr bis zum
Ergebnis.`;

export const descriptionLine = description.replaceAll('\n', ' ');
