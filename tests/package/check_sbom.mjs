// Reads the release's bill of materials in DIST as a scanner would and
// holds it to the release and to this machine:
// - it is valid CycloneDX 1.6 (the CycloneDX library's strict validator),
//   and every licence is a valid SPDX expression;
// - it names every file of DIST (but SHA256SUMS and itself) with that
//   file's SHA-256, and no other file;
// - each program's SHA-256 is that of the program inside every release file
//   said to carry it, and no other release file holds a program;
// - each Debian package has the version, architecture and source package
//   that this machine's package database has installed, and the licences of
//   its copyright file, as have the .rpm's License tag and npm's "license".
//   node check_sbom.mjs DIST VERSION

import { createHash } from 'node:crypto';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, join } from 'node:path';
import cyclonedx from '@cyclonedx/cyclonedx-library';
import { pageModule } from './page_module.mjs';

const { SPDX, Validation } = cyclonedx;
// The version of CycloneDX that the release writes.
const CYCLONEDX = '1.6';
const [dist, version] = process.argv.slice(2);
const bomName = `datum-${version}.cdx.json`;
const problems = [];
const sha256 = (bytes) => createHash('sha256').update(bytes).digest('hex');
const run = (command, args, input) => execFileSync(command, args,
    { input, maxBuffer: 1 << 28, stdio: ['pipe', 'pipe', 'ignore'] });
const text = (command, ...args) => run(command, args).toString('utf8');

const bomText = readFileSync(join(dist, bomName), 'utf8');
const invalid = await new Validation.JsonStrictValidator(CYCLONEDX).validate(bomText);
if (invalid !== null) {
    problems.push(`not valid CycloneDX ${CYCLONEDX}: ${JSON.stringify(invalid, null, 1)}`);
}
const bom = JSON.parse(bomText);
const components = bom.components ?? [];
const byRef = new Map(components.map((component) => [component['bom-ref'], component]));
const hashOf = (component) => component.hashes?.find((hash) => hash.alg === 'SHA-256')?.content;
const dependsOn = (ref) => bom.dependencies?.find((dependency) => dependency.ref === ref)?.dependsOn ?? [];

// The licences a copyright file names, in its order and as SPDX terms in
// lower case: its License fields (Debian's GPL-2+ is GPL-2.0-or-later, and
// names that SPDX lacks as here), in prose the GNU licences' and MIT's grants.
const debianNames = { 'public-domain': 'licenseref-public-domain', lucent: 'hpnd', 'david-gay': 'hpnd', 'apache-2-llvm-exceptions': 'apache-2.0 with llvm-exception' };
const gnu = (lesser, number, later) => `${lesser ? 'l' : ''}gpl-${number.replace(/^\d$/, '$&.0')}-${later ? 'or-later' : 'only'}`;
const licenceNames = new RegExp(String.raw` license: (?:(l?)gpl-([\d.]+)(\+?)|([^ ]+))`
    + String.raw`| gnu general public license \(v(\d) or later\) with version ([\d.]+) of the gcc runtime library exception`
    + String.raw`| gnu (lesser )?general public license[^.;/(]*?;? (?:either )?version (\d(?:\.\d)?)(?: of the license)?`
    + String.raw`(,? or \(at your option\) any later)?|permission is hereby granted, free of charge, to any person`, 'g');
const licencesNamed = (file) => [...readFileSync(file, 'utf8').replace(/\s+/g, ' ').toLowerCase().matchAll(licenceNames)]
    .map(([, l, number, plus, name, gcc, exception, lesser, grant, later]) => (name
        ? debianNames[name] ?? name : number ? gnu(l, number, plus) : grant ? gnu(lesser, grant, later)
            : gcc ? `${gnu('', gcc, true)} with gcc-exception-${exception}` : 'mit'));
// CLAIM names the licences of PACKAGES as their copyright files (datum's:
// LICENSE) do: each term is named in one, and each file's first is a term.
function checkLicence(what, claim, packages) {
    const terms = claim.toLowerCase().split(' and ');
    const named = packages.map((name) => licencesNamed(name === 'datum' ? new URL('../../LICENSE', import.meta.url) : `/usr/share/doc/${name}/copyright`));
    terms.filter((term) => !named.flat().includes(term)).forEach((term) => problems.push(`${what}: no copyright file of ${packages.join(', ')} names ${term}`));
    named.forEach(([own], index) => terms.some((term) => `${term} with `.startsWith(`${own} with `))
        || problems.push(`${what}: the copyright file of ${packages[index]} names ${own} first, ${claim} does not`));
}
for (const component of [bom.metadata?.component, ...components].filter(Boolean)) {
    for (const { license, expression = license?.id ?? '' } of component.licenses ?? []) {
        if (!SPDX.isValidSpdxLicenseExpression(expression)) {
            problems.push(`${component.name}: ${expression} is no SPDX expression`);
        }
        checkLicence(component.name, expression, [component.type === 'library' ? component.name : 'datum']);
    }
}

// The programs inside a release file, as the SHA-256 of each: the program
// of an archive, a package or the Windows installer (bin/datum, datum.exe,
// datum.wasm), and the module that a page holds.
const modulesOfPage = (page) => [pageModule(page.toString('utf8'))].filter((module) => module !== null);
const isProgram = (member) => /(^|\/)(bin\/datum|datum\.exe|datum\.wasm)$/.test(member);
// The programs of a tar archive, from a file or from bytes ("-").
const programsInTar = (archive, options, bytes) => run('tar', [`-t${options}f`, archive], bytes).toString('utf8')
    .split('\n').filter(isProgram).map((member) => run('tar', [`-x${options}Of`, archive, member], bytes));
// Each kind of release file, by the end of its name, and how to look inside.
const lookInside = {
    '.tar.gz': (file) => programsInTar(file, 'z'),
    '.tgz': (file) => programsInTar(file, 'z'),
    '.deb': (file) => programsInTar('-', '', run('dpkg-deb', ['--fsys-tarfile', file])),
    '.rpm': (file) => programsInTar('-', 'z', run('rpm2archive', ['-'], readFileSync(file))),
    '.html': (file) => modulesOfPage(readFileSync(file)),
    '.zip': (file) => text('unzip', '-Z1', file).split('\n').flatMap((member) => (isProgram(member)
        ? [run('unzip', ['-p', file, member])]
        : member.endsWith('.html') ? modulesOfPage(run('unzip', ['-p', file, member])) : [])),
    '.msi': (file) => {
        const folder = mkdtempSync(join(tmpdir(), 'msi-'));
        const programs = text('msiextract', '-C', folder, file).split('\n').filter(isProgram)
            .map((member) => readFileSync(join(folder, member)));
        rmSync(folder, { recursive: true });
        return programs;
    },
};
function programsInside(file) {
    const end = Object.keys(lookInside).find((ending) => file.endsWith(ending));
    if (!end) {
        throw new Error(`${file}: no way to look inside this kind of file`);
    }
    return lookInside[end](file);
}

const releaseFiles = readdirSync(dist).filter((name) => name !== 'SHA256SUMS' && name !== bomName);
const fileComponents = components.filter((component) => component.type === 'file');
for (const name of releaseFiles) {
    const component = byRef.get(`file:${name}`);
    const bytes = readFileSync(join(dist, name));
    if (!component) {
        problems.push(`${name} is in ${dist} but not in the bill of materials`);
        continue;
    }
    if (hashOf(component) !== sha256(bytes)) {
        problems.push(`${name}: the bill of materials has another SHA-256 than the file`);
    }
    // A program may be in a file more than once (a web site's page and module).
    const claimed = [...new Set(dependsOn(`file:${name}`).map((ref) => hashOf(byRef.get(ref))))].sort();
    const found = [...new Set(programsInside(join(dist, name)).map(sha256))].sort();
    if (JSON.stringify(claimed) !== JSON.stringify(found)) {
        problems.push(`${name}: holds the programs ${found.join(', ') || 'none'}, but the bill of materials says ${claimed.join(', ') || 'none'}`);
    }
    const field = name.endsWith('.rpm') ? text('rpm', '-qp', '--queryformat', '%{LICENSE}', join(dist, name))
        : name.endsWith('.tgz') && JSON.parse(text('tar', '-xzOf', join(dist, name), 'package/package.json')).license;
    if (field) {
        checkLicence(name, field, ['datum', ...new Set(dependsOn(`file:${name}`).flatMap(dependsOn).map((ref) => byRef.get(ref).name))]);
    }
}
for (const component of fileComponents) {
    if (!releaseFiles.includes(component.name)) {
        problems.push(`${component.name} is in the bill of materials but not in ${dist}`);
    }
}

const programs = components.filter((component) => component.type === 'application');
for (const program of programs) {
    const libraries = dependsOn(program['bom-ref']);
    if (libraries.length === 0) {
        problems.push(`${program['bom-ref']}: no library inside, but every program is linked with its C library`);
    }
}

for (const library of components.filter((component) => component.type === 'library')) {
    const purl = library.purl?.match(/^pkg:deb\/[^/]+\/([^@]+)@([^?]+)\?(.*)$/);
    if (!purl) {
        problems.push(`${library['bom-ref']}: no Debian package URL`);
        continue;
    }
    const [name, packageVersion] = [purl[1], purl[2]].map(decodeURIComponent);
    const qualifiers = new URLSearchParams(purl[3]);
    if (name !== library.name || packageVersion !== library.version) {
        problems.push(`${library['bom-ref']}: its package URL names ${name} ${packageVersion}, the component ${library.name} ${library.version}`);
    }
    const architecture = qualifiers.get('arch');
    let installed;
    try {
        installed = text('dpkg-query', '-W', '-f', '${Version}\t${source:Package}',
            architecture === 'all' ? name : `${name}:${architecture}`).split('\t');
    } catch {
        problems.push(`${name} (${architecture}) is not installed on this machine`);
        continue;
    }
    if (installed[0] !== packageVersion) {
        problems.push(`${name}: version ${packageVersion} in the bill of materials, ${installed[0]} installed`);
    }
    const upstream = qualifiers.get('upstream')?.split('@')[0];
    if (upstream !== installed[1]) {
        problems.push(`${name}: source package ${upstream} in the bill of materials, ${installed[1]} installed`);
    }
}

if (problems.length > 0) {
    console.error(problems.map((problem) => `FAIL: ${bomName}: ${problem}`).join('\n'));
    process.exit(1);
}
console.log(`ok: ${bomName}: valid CycloneDX; ${fileComponents.length} files, ${programs.length} programs and `
    + `${components.length - fileComponents.length - programs.length} packages as in ${basename(dist)} and on this machine`);
