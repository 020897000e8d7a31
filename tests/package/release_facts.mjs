// What check.sh reads from the tree and the release as JSON or as a
// module, one line a value:
//   node release_facts.mjs icons
//       each icon of the web site (host/page/about.mjs), a line with its
//       file and a line with what `file` says of it
//   node release_facts.mjs licences BOM FILE
//       datum's licence and each licence term that the bill of materials
//       BOM gives a library inside a program that the release file FILE
//       carries
import { readFileSync } from 'node:fs';
import { icons } from '../../host/page/about.mjs';
import { datumLicence } from '../../packaging/libraries.mjs';

const [what, ...rest] = process.argv.slice(2);
if (what === 'icons') {
    for (const { file, size } of icons) {
        console.log(file);
        console.log(size ? `PNG image data, ${size} x ${size}` : 'SVG Scalable Vector Graphics image');
    }
} else if (what === 'licences' && rest.length === 2) {
    const [bom, file] = rest;
    const { components, dependencies } = JSON.parse(readFileSync(bom, 'utf8'));
    const dependsOn = (ref) => dependencies.find((entry) => entry.ref === ref)?.dependsOn ?? [];
    const terms = new Set([datumLicence]);
    for (const ref of dependsOn(`file:${file}`).flatMap(dependsOn)) {
        for (const { expression } of components.find((component) => component['bom-ref'] === ref).licenses) {
            expression.split(' AND ').forEach((term) => terms.add(term));
        }
    }
    console.log([...terms].join('\n'));
} else {
    throw new Error('usage: node release_facts.mjs icons | licences BOM FILE');
}
