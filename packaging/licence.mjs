// The SPDX licence expression of a program as built: datum's own licence
// and those of the libraries linked into it (libraries.mjs), for the
// packages' licence fields. Printed, or written into a copy of TEMPLATE in
// the place of @LICENCE@.
//   node licence.mjs PROGRAM [TEMPLATE OUTPUT]
import { readFileSync, writeFileSync } from 'node:fs';
import { programLicence } from './libraries.mjs';

const [program, template, output] = process.argv.slice(2);
if (!program || (template && !output)) {
    throw new Error('usage: node licence.mjs PROGRAM [TEMPLATE OUTPUT]');
}
const licence = programLicence(program);
if (template) {
    const text = readFileSync(template, 'utf8');
    if (!text.includes('@LICENCE@')) {
        throw new Error(`${template} has no @LICENCE@`);
    }
    writeFileSync(output, text.replaceAll('@LICENCE@', licence));
} else {
    console.log(licence);
}
