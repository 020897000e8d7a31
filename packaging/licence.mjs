// Prints the SPDX licence expression of a program as built: datum's own
// licence and those of the libraries linked into it (libraries.mjs), for
// the packages' licence fields.
//   node licence.mjs PROGRAM
import { programLicence } from './libraries.mjs';

const [program] = process.argv.slice(2);
if (!program) {
    throw new Error('usage: node licence.mjs PROGRAM');
}
console.log(programLicence(program));
