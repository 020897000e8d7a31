// The page's colours are written once, as page.css's custom properties for
// the light and the dark colour scheme; what else shows them takes them
// from there: the colour of the browser's bar in the page's head, the web
// app manifest's colours and the icon. The icon's drawing names the page's
// colours as the style sheet does, var(--name), and has the light scheme's,
// as the manifest has: an installed app's icon and tile do not follow the
// scheme.

import { readFileSync } from 'node:fs';

/**
 * Each scheme's custom properties, by name without the dashes: the light
 * scheme's in the first `:root`, the dark scheme's in the one inside
 * `@media (prefers-color-scheme: dark)`.
 * @returns {{light: Record<string, string>, dark: Record<string, string>}}
 */
function read() {
    const css = readFileSync(new URL('page.css', import.meta.url), 'utf8');
    const schemes = {};
    const roots = /(@media \(prefers-color-scheme: dark\)\s*\{\s*)?:root\s*\{([^}]*)\}/g;
    for (const [, dark, block] of css.matchAll(roots)) {
        const scheme = dark ? 'dark' : 'light';
        schemes[scheme] ??= Object.fromEntries(
            [...block.matchAll(/--([\w-]+):\s*([^;]+);/g)].map(([, name, value]) => [name, value.trim()]));
    }
    if (schemes.light === undefined || schemes.dark === undefined) {
        throw new Error('colours.mjs: page.css has no :root of the light and of the dark scheme');
    }
    return schemes;
}

export const colours = read();

/**
 * @param {string} text  with the page's colours as var(--name)
 * @returns {string} the text with the light scheme's colours in their place
 */
export function withColours(text) {
    return text.replace(/var\(--([\w-]+)\)/g, (reference, name) => {
        const colour = colours.light[name];
        if (colour === undefined) {
            throw new Error(`colours.mjs: page.css has no colour for ${reference}`);
        }
        return colour;
    });
}
