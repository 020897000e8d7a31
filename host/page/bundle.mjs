// Bundles one of the page's ES modules, with every module it imports, into
// one classic script (an IIFE, strict as the modules are) with esbuild:
// Debian's package, a Go program, so that a rebuild from the source archive
// needs no npm; ESBUILD names another one.
//
// What the build makes for a bundle (the worker's script, the site's file
// list) lies in a folder of its own, which the modules import as
// `datum-build/NAME`: `.txt` as its text, `.json` as its values.

import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const SOURCE_ROOT = fileURLToPath(new URL('../..', import.meta.url));

/**
 * @param {string} entry  the entry module, relative to the source tree's root
 * @param {string} made  the folder of what the build made; the bundle is written there too
 * @returns {{code: string, inputs: string[]}} the script, and the source files it was made of
 */
export function bundle(entry, made) {
    const name = entry.replace(/^.*\//, '').replace(/\.js$/, '');
    const outfile = join(made, `${name}.bundle.js`);
    const metafile = join(made, `${name}.meta.json`);
    // Minified: shorter, and without the comments that name each module's
    // path, so the bytes do not depend on where the build folder is.
    const esbuild = spawnSync(process.env.ESBUILD ?? 'esbuild', [
        entry, '--bundle', '--format=iife', '--minify', '--charset=utf8', "--banner:js='use strict';",
        `--alias:datum-build=${made}`, '--loader:.txt=text',
        `--outfile=${outfile}`, `--metafile=${metafile}`, '--log-level=warning',
    ], { cwd: SOURCE_ROOT, encoding: 'utf8' });
    if (esbuild.error !== undefined) {
        throw new Error(`bundle.mjs: cannot run esbuild (${esbuild.error.message})`);
    }
    // A warning is as good as an error here.
    if (esbuild.status !== 0 || esbuild.stderr !== '') {
        throw new Error(`bundle.mjs: esbuild ${entry}:\n${esbuild.stderr}`);
    }
    // The metafile's paths are relative to the directory esbuild ran in.
    const inputs = Object.keys(JSON.parse(readFileSync(metafile, 'utf8')).inputs)
        .map((input) => resolve(SOURCE_ROOT, input))
        .filter((input) => !input.startsWith(made + sep));
    return { code: readFileSync(outfile, 'utf8'), inputs };
}
