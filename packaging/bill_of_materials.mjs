// Writes the release's software bill of materials (CycloneDX 1.6 JSON):
// every file of the release with its SHA-256, every program with the files
// that carry it, and for every program the Debian packages whose library
// code the linker put into it. Which files those are comes from the link
// map beside the program; which package owns each file, and its version,
// from the package database of the machine that built it, and the
// licences by source package (libraries.mjs).
//   node bill_of_materials.mjs DIST VERSION SUMMARY PROGRAM...
// SUMMARY is datum's one-line summary, that of its packages.
// PROGRAM is one argument: a name for the program, its platform's or
// PLATFORM.pie for the dynamic PIE of the packages where the platform's
// program is no PIE, the program as built (its link map is PROGRAM.map)
// and the names of the release files that carry it, separated by blanks.
// Time stamp from SOURCE_DATE_EPOCH.

import { createHash } from 'node:crypto';
import { readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { basename, join } from 'node:path';
import { codeSource, datumLicence, licence, linkedLibraries, owners } from './libraries.mjs';

const [dist, version, summary, ...programArguments] = process.argv.slice(2);
const bomName = `datum-${version}.cdx.json`;
const epoch = Number(process.env.SOURCE_DATE_EPOCH);
if (!dist || !version || !summary || programArguments.length === 0 || !Number.isInteger(epoch)) {
    throw new Error('usage: SOURCE_DATE_EPOCH=... node bill_of_materials.mjs DIST VERSION SUMMARY PROGRAM...');
}

const sha256 = (path) => createHash('sha256').update(readFileSync(path)).digest('hex');

// The distribution, for the package URLs: "debian" and "debian-12".
const osRelease = Object.fromEntries(readFileSync('/etc/os-release', 'utf8').split('\n')
    .map((line) => line.match(/^([A-Z_]+)=("?)(.*)\2$/)).filter(Boolean).map((m) => [m[1], m[3]]));
const distribution = osRelease.ID;
const distributionRelease = `${distribution}-${osRelease.VERSION_ID ?? osRelease.VERSION_CODENAME}`;

// A Debian package's URL, with the source package it was built from as
// its "upstream" (and that package's version where it differs).
function packageUrl(installed) {
    const upstream = installed.sourceVersion === installed.packageVersion
        ? installed.source : `${installed.source}@${installed.sourceVersion}`;
    return `pkg:deb/${distribution}/${encodeURIComponent(installed.name)}@${encodeURIComponent(installed.packageVersion)}`
        + `?arch=${installed.architecture}&distro=${distributionRelease}&upstream=${encodeURIComponent(upstream)}`;
}

const releaseFiles = readdirSync(dist).filter((name) => name !== 'SHA256SUMS' && name !== bomName).sort();

const programs = programArguments.map((argument) => {
    const [platform, path, ...carriers] = argument.split(/\s+/);
    const missing = carriers.filter((name) => !releaseFiles.includes(name));
    if (carriers.length === 0 || missing.length > 0) {
        throw new Error(`${platform}: ${missing.join(' ') || 'no release file'} in ${dist}`);
    }
    const linked = linkedLibraries(path);
    return { platform, path, carriers, linked };
});
const allLinked = [...new Set(programs.flatMap((program) => program.linked))];
const ownerOf = new Map(owners(allLinked).map((owner, index) => [allLinked[index], owner]));
for (const program of programs) {
    program.libraries = [...new Set(program.linked.map((file) => ownerOf.get(file)))];
}

const libraryRef = (installed) => `deb:${installed.name}:${installed.architecture}`;
const libraries = [...new Set(programs.flatMap((program) => program.libraries))]
    .sort((a, b) => libraryRef(a).localeCompare(libraryRef(b)));

const components = [
    ...releaseFiles.map((name) => ({
        type: 'file',
        'bom-ref': `file:${name}`,
        name,
        hashes: [{ alg: 'SHA-256', content: sha256(join(dist, name)) }],
    })),
    ...programs.map((program) => ({
        type: 'application',
        'bom-ref': `program:${program.platform}`,
        name: basename(program.path),
        version,
        description: program.platform.endsWith('.pie')
            ? `datum for ${program.platform.slice(0, -4)}, a dynamic PIE for its distributions' packages`
            : `datum for ${program.platform}, linked statically`,
        hashes: [{ alg: 'SHA-256', content: sha256(program.path) }],
        properties: [{ name: 'datum:platform', value: program.platform.replace(/\.pie$/, '') }],
    })),
    ...libraries.map((installed) => ({
        type: 'library',
        'bom-ref': libraryRef(installed),
        name: installed.name,
        version: installed.packageVersion,
        description: installed.summary,
        licenses: [{ expression: licence(installed) }],
        purl: packageUrl(installed),
        properties: [
            { name: 'debian:source', value: installed.source },
            { name: 'debian:source-version', value: installed.sourceVersion },
            ...(codeSource(installed) === installed.source ? []
                : [{ name: 'debian:built-from', value: codeSource(installed) }]),
            ...[...installed.files].sort().map((file) => ({ name: 'datum:linked-file', value: file })),
        ],
    })),
];

const dependencies = [
    { ref: 'datum', dependsOn: releaseFiles.map((name) => `file:${name}`) },
    ...releaseFiles.map((name) => ({
        ref: `file:${name}`,
        dependsOn: programs.filter((program) => program.carriers.includes(name))
            .map((program) => `program:${program.platform}`),
    })),
    ...programs.map((program) => ({
        ref: `program:${program.platform}`,
        dependsOn: program.libraries.map(libraryRef).sort(),
    })),
    ...libraries.map((installed) => ({ ref: libraryRef(installed), dependsOn: [] })),
];

const bom = {
    bomFormat: 'CycloneDX',
    specVersion: '1.6',
    version: 1,
    metadata: {
        timestamp: new Date(epoch * 1000).toISOString().replace('.000Z', 'Z'),
        component: {
            type: 'application',
            'bom-ref': 'datum',
            name: 'datum',
            version,
            description: summary,
            licenses: [{ license: { id: datumLicence } }],
        },
    },
    components,
    dependencies,
};

// The serial number is a name-based UUID (version 5) of everything else,
// so that the same release gets the same number.
function uuidFromContent(content) {
    const urlNamespace = Buffer.from('6ba7b8119dad11d180b400c04fd430c8', 'hex');
    const bytes = createHash('sha1').update(urlNamespace).update(content).digest().subarray(0, 16);
    bytes[6] = (bytes[6] & 0x0f) | 0x50;
    bytes[8] = (bytes[8] & 0x3f) | 0x80;
    const hex = bytes.toString('hex');
    return `${hex.slice(0, 8)}-${hex.slice(8, 12)}-${hex.slice(12, 16)}-${hex.slice(16, 20)}-${hex.slice(20)}`;
}
const serialized = JSON.stringify(bom);
const withSerial = {
    bomFormat: bom.bomFormat,
    specVersion: bom.specVersion,
    serialNumber: `urn:uuid:${uuidFromContent(serialized)}`,
    ...bom,
};
writeFileSync(join(dist, bomName), `${JSON.stringify(withSerial, null, 2)}\n`);
