// The page's worker: runs the program through the host, with the user's
// lines as standard input and the program's output handed to the page now
// and then.
//
// A line arrives as its bytes; a read takes at most what it asks for and
// never more than one line, as a terminal hands input over, so a long line
// takes several reads. A read with nothing queued waits for the next line.
//
// The output of a long run is millions of lines. The page shows the first
// lines the program writes, which the worker keeps as they come, and the
// last ones. After the first, each write only copies its bytes into a ring
// and counts its line feeds, with no string made and no call into the
// browser; the page gets what was kept, the last part of the ring and the
// number of lines left out before it, when the program waits for input,
// when it ends, and otherwise about ten times a second.

import { runDatum } from '../datum_host.mjs';

const RING = 1 << 16; // output bytes kept between two messages to the page
const INTERVAL = 100; // milliseconds between messages during a long run
const CHECK_EVERY = 1024; // writes between two looks at the clock

let headLinesLeft = 0; // first lines still to be kept whole; set by 'start'
let head = []; // the writes kept since the last message

const END = new Uint8Array(0); // end of input, as a read returns it
const queue = []; // lines not yet read, END last if the input has ended
let wake = null; // lets a waiting read go on

const ring = new Uint8Array(RING);
const ringWords = new DataView(ring.buffer);
let ringEnd = 0; // where the next byte goes, modulo RING
let pending = 0; // bytes written since the last message
let lineFeeds = 0; // line feeds among them
let writes = 0;
let due = 0;
let memory = null; // the module's memory, as the host last passed it
let memoryWords = null;
const decoder = new TextDecoder();

function take(capacity) {
    const line = queue[0];
    if (line === END) {
        return END;
    }
    if (line.length <= capacity) {
        queue.shift();
        return line;
    }
    queue[0] = line.subarray(capacity);
    return line.subarray(0, capacity);
}

function read(capacity) {
    if (queue.length > 0) {
        return take(capacity);
    }
    report(true);
    return new Promise((resolve) => {
        wake = () => resolve(take(capacity));
    });
}

// The line feeds among the four bytes of `word`: each zero byte of
// word ^ 0x0a0a0a0a leaves its top bit in `zero`, and the multiplication
// adds the four top bits up in the highest byte.
function lineFeedsIn(word) {
    const x = word ^ 0x0a0a0a0a;
    const zero = ~(((x & 0x7f7f7f7f) + 0x7f7f7f7f) | x | 0x7f7f7f7f);
    return Math.imul(zero >>> 7, 0x01010101) >>> 24;
}

// Keeps the write whole while the first lines last; after them copies it
// into the ring, four bytes at a time where it does not reach the ring's
// end, and counts its line feeds on the way.
function write(bytes, offset, length) {
    if (headLinesLeft > 0) {
        const kept = bytes.slice(offset, offset + length);
        head.push(kept);
        for (const byte of kept) {
            headLinesLeft -= byte === 10 ? 1 : 0;
        }
        return;
    }
    if (bytes !== memory) {
        memory = bytes;
        memoryWords = new DataView(bytes.buffer);
    }
    const end = offset + length;
    let at = ringEnd;
    let i = offset;
    let found = 0;
    if (at + length <= RING) {
        for (; i + 4 <= end; i += 4, at += 4) {
            const word = memoryWords.getUint32(i, true);
            ringWords.setUint32(at, word, true);
            found += lineFeedsIn(word);
        }
    }
    for (; i < end; i++) {
        const byte = bytes[i];
        ring[at] = byte;
        at = (at + 1) & (RING - 1);
        found += byte === 10 ? 1 : 0;
    }
    ringEnd = at & (RING - 1);
    lineFeeds += found;
    pending += length;
    if (++writes === CHECK_EVERY) {
        writes = 0;
        if (performance.now() >= due) {
            report(false);
        }
    }
}

// Hands the page what was written since the last message: the writes kept
// whole, then the rest, all of it or the lines that fit into the ring and
// how many lines came before them.
function report(waiting) {
    let text = new Uint8Array(Math.min(pending, RING));
    const start = (ringEnd - text.length) & (RING - 1);
    const first = ring.subarray(start, start + text.length);
    text.set(first);
    text.set(ring.subarray(0, text.length - first.length), first.length);
    let skipped = 0;
    if (pending > RING) {
        text = text.subarray(text.indexOf(10) + 1);
        let kept = 0;
        for (const byte of text) {
            kept += byte === 10 ? 1 : 0;
        }
        skipped = lineFeeds - kept;
    }
    if (head.length > 0 || text.length > 0 || skipped > 0 || waiting) {
        const kept = head.map((piece) => decoder.decode(piece)).join('');
        postMessage({ type: 'output', head: kept, text: decoder.decode(text), skipped, waiting });
    }
    head = [];
    pending = 0;
    lineFeeds = 0;
    due = performance.now() + INTERVAL;
}

onmessage = (event) => {
    const message = event.data;
    if (message.type === 'start') {
        headLinesLeft = message.headLines;
        due = performance.now() + INTERVAL;
        runDatum(message.module, { read, write }).then(
            (status) => {
                report(false);
                postMessage({ type: 'exit', status });
            },
            (error) => {
                report(false);
                postMessage({ type: 'error', message: String(error) });
            },
        );
        return;
    }
    queue.push(message.type === 'line' ? message.bytes : END);
    if (wake !== null) {
        const go = wake;
        wake = null;
        go();
    }
};
