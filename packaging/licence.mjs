// The SPDX licence expression of a program as built, datum's own licence
// and those of the libraries linked into it, and the versions of those
// libraries (libraries.mjs), for the packages' licence fields and notices.
// Printed, or written into a copy of TEMPLATE in the place of @LICENCE@ and
// of each @LIBRARY:WHAT@ (libraryFacts in libraries.mjs: @glibc:2@ is
// 2.36, @gcc:source@ gcc-12).
//   node licence.mjs PROGRAM [TEMPLATE OUTPUT]
import { readFileSync, writeFileSync } from 'node:fs';
import { libraryFacts, programLicence } from './libraries.mjs';

const [program, template, output] = process.argv.slice(2);
if (!program || (template && !output)) {
    throw new Error('usage: node licence.mjs PROGRAM [TEMPLATE OUTPUT]');
}
const licence = programLicence(program);
if (template) {
    const facts = libraryFacts(program).set('LICENCE', licence);
    const text = readFileSync(template, 'utf8');
    if (!/@[\w-]+(:\w+)?@/.test(text)) {
        throw new Error(`${template} has neither @LICENCE@ nor a library's @NAME:WHAT@`);
    }
    writeFileSync(output, text.replace(/@([\w-]+(?::\w+)?)@/g, (placeholder, key) => {
        if (!facts.has(key)) {
            throw new Error(`${template}: ${placeholder}, but ${program} holds no such library (it has ${[...facts.keys()].join(' ')})`);
        }
        return facts.get(key);
    }));
} else {
    console.log(licence);
}
