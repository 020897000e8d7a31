#!/usr/bin/env node
// datum for node: the WebAssembly build of the program on this process's
// standard input and output, one system call for every read and write the
// program makes, as the native programs make them.
//
// The host and the module come through package.json's imports: in the npm
// package lib/datum_host.mjs and lib/datum.wasm; in the source tree
// host/datum_host.mjs and build/wasm/datum.wasm, the module of the `wasm`
// preset, so that `node host/node/datum.mjs` runs there once it is built.

import { readFileSync, readSync } from 'node:fs';
import { createRequire } from 'node:module';
import { runDatum } from '#datum-host';

const STDIN = 0;

function read(capacity) {
    const chunk = Buffer.allocUnsafe(capacity);
    try {
        return chunk.subarray(0, readSync(STDIN, chunk, 0, capacity, null));
    } catch (error) {
        // Windows reports the end of a pipe as an error of its own.
        if (error.code === 'EOF') {
            return chunk.subarray(0, 0);
        }
        throw error;
    }
}

// A module of nothing but an imported memory, exported again, and an empty
// _initialize: what node's WASI needs to be bound to the program's memory.
//   (module (import "env" "memory" (memory 1)) (export "memory" (memory 0))
//           (func (export "_initialize")))
const MEMORY_ONLY = new Uint8Array([
    0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00, 0x01, 0x04, 0x01, 0x60, 0x00, 0x00, 0x02, 0x0f,
    0x01, 0x03, 0x65, 0x6e, 0x76, 0x06, 0x6d, 0x65, 0x6d, 0x6f, 0x72, 0x79, 0x02, 0x00, 0x01, 0x03,
    0x02, 0x01, 0x00, 0x07, 0x18, 0x02, 0x06, 0x6d, 0x65, 0x6d, 0x6f, 0x72, 0x79, 0x02, 0x00, 0x0b,
    0x5f, 0x69, 0x6e, 0x69, 0x74, 0x69, 0x61, 0x6c, 0x69, 0x7a, 0x65, 0x00, 0x00, 0x0a, 0x05, 0x01,
    0x03, 0x00, 0x01, 0x0b,
]);

// Standard output through node's own WASI: its fd_write is one call into
// node, where fs.writeSync goes through layers that cost about as much as
// the system call itself, and a long run takes half as long again. node
// warns once that WASI is experimental; the warning is kept off standard
// error, which is the program's and gets nothing.
async function standardOutput() {
    const emitWarning = process.emitWarning;
    process.emitWarning = (warning, ...rest) => {
        if (!String(warning).includes('WASI')) {
            emitWarning.call(process, warning, ...rest);
        }
    };
    try {
        const { WASI } = await import('node:wasi');
        const wasi = new WASI({ version: 'preview1' });
        return {
            writeVectors: wasi.wasiImport.fd_write,
            bindMemory(memory) {
                const module = new WebAssembly.Module(MEMORY_ONLY);
                wasi.initialize(new WebAssembly.Instance(module, { env: { memory } }));
            },
        };
    } finally {
        process.emitWarning = emitWarning;
    }
}

const module = new WebAssembly.Module(readFileSync(createRequire(import.meta.url).resolve('#datum-wasm')));
process.exitCode = await runDatum(module, { read, ...(await standardOutput()) });
