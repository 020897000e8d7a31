// Runs datum.wasm, the program compiled for WASI, with standard input and
// output from its embedder: the node command, or the page's worker.
//
// The module needs four WASI calls (wasi_snapshot_preview1): fd_read and
// fd_write for its two standard handles, and fd_seek and fd_close, which
// the C library's exit path names but the program never makes. Nothing
// else is provided: the program has no arguments, environment, clock or
// files. Descriptor 0 is the embedder's input and 1 its output; every
// other descriptor is unknown (EBADF).
//
// The embedder gives `read` and one of the two ways to write:
//   read(capacity)  the next piece of input, at most `capacity` bytes, as
//                   a Uint8Array (empty at the end of input), or a promise
//                   of one; it throws (or rejects) when reading fails;
//   write(bytes, offset, length)
//                   takes all `length` bytes of `bytes` from `offset` in
//                   one call; `bytes` is a view of the module's memory,
//                   valid only during the call;
//   writeVectors    a WASI fd_write of the embedder's own that reads the
//                   module's memory itself and serves descriptor 1; it
//                   becomes the module's fd_write, so that each write is
//                   one call from the module into the embedder.
//                   `bindMemory(memory)` is called once with that memory
//                   before the program starts.
// A thrown error's `wasiErrno`, or else WASI's number for its `code`
// (EAGAIN, EISDIR, ...), is what the read returns. Every write of the
// program is one call of `write` or `writeVectors`.
//
// A read that returns a promise suspends the program (the module is built
// with Asyncify for its fd_read import) and resumes it in the same call
// once the promise settles, so a page can wait for the user's next line.

const SUCCESS = 0;
const WASI_ERRNO = {
    EAGAIN: 6, EBADF: 8, EINTR: 27, EINVAL: 28, EIO: 29, EISDIR: 31, ESPIPE: 70,
};
const errnoOf = (error) => error?.wasiErrno ?? WASI_ERRNO[error?.code] ?? WASI_ERRNO.EIO;

// Asyncify's states, from asyncify_get_state.
const NORMAL = 0;
const UNWINDING = 1;
const REWINDING = 2;
// The unwound stack of the suspended program: one page of memory, grown
// by the host before the program starts, so no part of the program's own
// memory is touched.
const PAGE = 65536;

/**
 * Runs the program once, from start to exit.
 * @param {WebAssembly.Module} module  datum.wasm, compiled
 * @param {{read: Function, write?: Function, writeVectors?: Function, bindMemory?: Function}} io
 * @returns {Promise<number>} the exit status
 */
async function runDatum(module, io) {
    let exports;
    // The module's memory as bytes and words. Growing the memory detaches
    // the old buffer, which leaves these views empty: then they are made anew.
    let bytes = new Uint8Array(0);
    let words;
    const memoryViews = () => {
        if (bytes.byteLength === 0) {
            bytes = new Uint8Array(exports.memory.buffer);
            words = new DataView(exports.memory.buffer);
        }
    };
    let inputOpen = true;
    let outputOpen = true;
    let suspension; // the address of the unwound stack
    let waiting; // the promise a suspended read waits for
    let arrived; // what it brought: { chunk } or { error }

    // Copies a piece of input into the read's buffers; returns the errno.
    const deliver = (iovs, count, readCount, outcome) => {
        memoryViews();
        if (outcome.error !== undefined) {
            return errnoOf(outcome.error);
        }
        const chunk = outcome.chunk;
        let done = 0;
        for (let i = 0; i < count && done < chunk.length; i++) {
            const at = words.getUint32(iovs + 8 * i, true);
            const room = words.getUint32(iovs + 8 * i + 4, true);
            const part = Math.min(room, chunk.length - done);
            bytes.set(chunk.subarray(done, done + part), at);
            done += part;
        }
        words.setUint32(readCount, done, true);
        return SUCCESS;
    };

    const wasi = {
        fd_read(fd, iovs, count, readCount) {
            if (exports.asyncify_get_state() === REWINDING) {
                exports.asyncify_stop_rewind();
                return deliver(iovs, count, readCount, arrived);
            }
            if (fd !== 0 || !inputOpen) {
                return WASI_ERRNO.EBADF;
            }
            memoryViews();
            let capacity = 0;
            for (let i = 0; i < count; i++) {
                capacity += words.getUint32(iovs + 8 * i + 4, true);
            }
            let result;
            try {
                result = io.read(capacity);
            } catch (error) {
                return errnoOf(error);
            }
            if (typeof result.then !== 'function') {
                return deliver(iovs, count, readCount, { chunk: result });
            }
            waiting = result;
            words.setUint32(suspension, suspension + 8, true);
            words.setUint32(suspension + 4, suspension + PAGE, true);
            exports.asyncify_start_unwind(suspension);
            return SUCCESS; // not seen: the program unwinds
        },

        fd_write(fd, iovs, count, writtenCount) {
            if (fd !== 1 || !outputOpen) {
                return WASI_ERRNO.EBADF;
            }
            memoryViews();
            let done = 0;
            for (let i = 0; i < count; i++) {
                const at = words.getUint32(iovs + 8 * i, true);
                const length = words.getUint32(iovs + 8 * i + 4, true);
                if (length === 0) {
                    continue;
                }
                io.write(bytes, at, length);
                done += length;
            }
            words.setUint32(writtenCount, done, true);
            return SUCCESS;
        },

        fd_seek(fd) {
            return (fd === 0 && inputOpen) || (fd === 1 && outputOpen) ? WASI_ERRNO.ESPIPE : WASI_ERRNO.EBADF;
        },

        // Forgets the descriptor; the embedder's own handles stay as they are.
        fd_close(fd) {
            if (fd === 0 && inputOpen) {
                inputOpen = false;
            } else if (fd === 1 && outputOpen) {
                outputOpen = false;
            } else {
                return WASI_ERRNO.EBADF;
            }
            return SUCCESS;
        },
    };

    if (io.writeVectors !== undefined) {
        wasi.fd_write = io.writeVectors;
    }
    const instance = await WebAssembly.instantiate(module, { wasi_snapshot_preview1: wasi });
    exports = instance.exports;
    suspension = exports.memory.grow(1) * PAGE;
    io.bindMemory?.(exports.memory);

    exports._start();
    while (exports.asyncify_get_state() === UNWINDING) {
        exports.asyncify_stop_unwind();
        try {
            arrived = { chunk: await waiting };
        } catch (error) {
            arrived = { error };
        }
        waiting = undefined;
        exports.asyncify_start_rewind(suspension);
        exports._start();
    }
    if (exports.asyncify_get_state() !== NORMAL) {
        throw new Error('datum.wasm: the program ended while suspended');
    }
    return 0;
}

export { runDatum };
