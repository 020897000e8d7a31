// What the programs contain of Debian's libraries, and under which
// licences: the files that the linker took from outside the build (from
// the link map beside each program), the installed packages that own them
// (from dpkg), and the licence of each by the source package whose code it
// is. The bill of materials (bill_of_materials.mjs), the packages'
// licence fields and the libraries' versions in the notices (licence.mjs)
// are made from this.

import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, readFileSync, realpathSync } from 'node:fs';
import { basename, dirname, isAbsolute, join, normalize, resolve } from 'node:path';

// datum's own licence (the file LICENSE).
export const datumLicence = 'MIT';

const run = (command, ...args) => execFileSync(command, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });

// The libraries by the Debian source package whose code they are: the
// name that the notices in packaging/notices give their versions by, and
// their licence as an SPDX expression, as the notices describe it. A
// library from any other source stops the build until it is added here.
const gccRuntime = 'GPL-3.0-or-later WITH GCC-exception-3.1';
const librariesBySource = [
    [/^glibc$/, 'glibc', 'LGPL-2.1-or-later'],
    [/^gcc-\d+$/, 'gcc', gccRuntime],
    [/^gcc-mingw-w64$/, 'gcc', gccRuntime],
    [/^mingw-w64$/, 'mingw-w64', 'ZPL-2.1 AND HPND AND LicenseRef-public-domain'],
    [/^wasi-libc$/, 'wasi-libc', 'CC0-1.0 AND MIT AND BSD-2-Clause'],
    [/^llvm-toolchain-\d+$/, 'llvm', 'Apache-2.0 WITH LLVM-exception'],
];

// The absolute paths of the files from outside the build that the linker
// took: objects given whole (crt1.o, ...) and archives of which it took at
// least one member. GNU ld writes "archive.a(member.o)" and "LOAD file.o",
// wasm-ld "archive.a(member.o):(symbol)" and "file.o:(symbol)"; an archive
// that only appears in a LOAD line gave nothing.
function linkedFiles(map) {
    const files = new Set();
    for (const [, path, member] of readFileSync(map, 'utf8').matchAll(/(?<=^|\s)(\/[^\s():]+\.(?:a|o))(\([^)]*\))?/gm)) {
        if (path.endsWith('.o') || member) {
            files.add(path);
        }
    }
    return [...files];
}

// The installed package that owns each of FILES, asked of dpkg in one go
// (each question reads its whole list of files): the path as written,
// with "." and ".." taken out, or with every link resolved (/lib is
// /usr/lib).
export function owners(files) {
    const candidates = new Map(files.map((file) =>
        [file, [...new Set([normalize(file), realpathSync(file)])]]));
    // dpkg-query -S fails if any path has no owner, and names the owners of the others.
    const answer = spawnSync('dpkg-query', ['-S', ...new Set([...candidates.values()].flat())], { encoding: 'utf8' });
    const packageOf = new Map();
    for (const line of answer.stdout.split('\n')) {
        const colon = line.lastIndexOf(': ');
        if (colon > 0 && !line.startsWith('diversion ')) {
            packageOf.set(line.slice(colon + 2), line.slice(0, colon).split(', ')[0]);
        }
    }
    const names = [...new Set(packageOf.values())];
    const installed = new Map(names.length === 0 ? [] : run('dpkg-query', '-W', '-f',
        '${binary:Package}\t${Package}\t${Architecture}\t${Version}\t${source:Package}\t${source:Version}\t${Built-Using}\t${binary:Summary}\n',
        ...names).trimEnd().split('\n').map((line) => {
        const [key, name, architecture, packageVersion, source, sourceVersion, builtUsing, summary] = line.split('\t');
        return [key, {
            name, architecture, packageVersion, source, sourceVersion, builtUsing, summary, files: new Set(),
        }];
    }));
    return files.map((file) => {
        const path = candidates.get(file).find((candidate) => installed.has(packageOf.get(candidate)));
        if (!path) {
            throw new Error(`${file} is linked into a program, but no installed package owns it`);
        }
        const owner = installed.get(packageOf.get(path));
        owner.files.add(path);
        return owner;
    });
}

// The source package whose code a library is. Debian's cross libraries
// are built from source packages of their own (cross-toolchain-base,
// gcc-12-cross, their -ports twins) out of another one's source: their
// version is that source's version followed by "cross" and a number, and
// Built-Using names that source in that version.
export function codeSource(installed) {
    for (const [, source, sourceVersion] of installed.builtUsing.matchAll(/([^\s,]+) \(= ([^)]+)\)/g)) {
        if (installed.packageVersion.match(/^(.*)cross\d+$/)?.[1] === sourceVersion) {
            return source;
        }
    }
    return installed.source;
}

function library(installed) {
    const source = codeSource(installed);
    const entry = librariesBySource.find(([pattern]) => pattern.test(source));
    if (!entry) {
        throw new Error(`${installed.name}: no licence known for its source package ${source}; add it to ${basename(import.meta.url)}`);
    }
    return { name: entry[1], licence: entry[2] };
}

export const licence = (installed) => library(installed).licence;

// linkedLibraries(PROGRAM): the files that the linker took from outside
// the build for PROGRAM (its link map is PROGRAM.map); the build's own
// objects and libraries, in the folder with CMakeCache.txt, are datum's
// code.
export function linkedLibraries(program) {
    let buildFolder = resolve(dirname(program));
    while (!existsSync(join(buildFolder, 'CMakeCache.txt')) && dirname(buildFolder) !== buildFolder) {
        buildFolder = dirname(buildFolder);
    }
    return linkedFiles(`${program}.map`)
        .filter((file) => !(isAbsolute(file) && normalize(file).startsWith(`${buildFolder}/`)));
}

// programLibraries(PROGRAM): the installed packages whose libraries are
// linked into PROGRAM, by name; asked of dpkg once per program.
const librariesOf = new Map();
function programLibraries(program) {
    if (!librariesOf.has(program)) {
        librariesOf.set(program, [...new Set(owners(linkedLibraries(program)))]
            .sort((a, b) => a.name.localeCompare(b.name)));
    }
    return librariesOf.get(program);
}

// programLicence(PROGRAM): the SPDX expression of the whole program,
// datum's licence and each term of its libraries' once.
export function programLicence(program) {
    const terms = new Set([datumLicence]);
    for (const installed of programLibraries(program)) {
        licence(installed).split(' AND ').forEach((term) => terms.add(term));
    }
    return [...terms].join(' AND ');
}

// libraryFacts(PROGRAM): what the notices say of each library inside
// PROGRAM, by its name in librariesBySource and what: "version" (the
// version its authors released, of the package's version), a number N (the
// first N numbers of it: 2.36, GCC 12) or "source" (the Debian source
// package whose code it is).
export function libraryFacts(program) {
    const facts = new Map();
    for (const installed of programLibraries(program)) {
        const { name } = library(installed);
        const version = installed.packageVersion.replace(/^\d+:/, '').replace(/-[^-]*$/, '');
        const numbers = version.split('.');
        for (const [what, value] of [['version', version], ['source', codeSource(installed)],
            ...numbers.map((number, count) => [count + 1, [...numbers.slice(0, count), number].join('.')])]) {
            if (facts.has(`${name}:${what}`) && facts.get(`${name}:${what}`) !== value) {
                throw new Error(`${program}: two packages of ${name} differ in ${what}`);
            }
            facts.set(`${name}:${what}`, value);
        }
    }
    return facts;
}
