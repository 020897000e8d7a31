// The page: the program's dialogue as a console transcript, with an input
// line below it. The program runs in a worker through the shared host, so
// the page stays responsive during a long run, and Stop simply ends the
// worker. The build bundles the worker (worker.js and the host) into one
// script, which this module imports as text; the module, datum.wasm, is in
// the page as base64, in the element `datum-module`.

import workerSource from 'datum-build/worker.txt';

const HEAD_LINES = 200; // transcript lines kept from the start of a run
const TAIL_LINES = 300; // and from its end; those between are counted only
const SPOKEN_LINES = 3; // lines a screen reader hears at once, at most

const $ = (id) => document.getElementById(id);
const transcript = $('transcript');
const spoken = $('spoken');
const state = $('state');
const form = $('answer');
const field = $('line');
const stopButton = $('stop');
const restartButton = $('restart');
const endButton = $('end');
const copyButton = $('copy');
const sendButton = form.querySelector('button');
const entry = field.parentElement; // the input field and its button
const FOCUS_ROOM = 6; // px below the input line for its focus outline

const moduleReady = WebAssembly.compile(
    Uint8Array.from(atob($('datum-module').textContent), (c) => c.charCodeAt(0)),
);
const workerUrl = URL.createObjectURL(new Blob([workerSource], { type: 'text/javascript' }));
const encoder = new TextEncoder();

let worker = null;
let head; // the first lines, as elements
let gap; // the element that says how many lines are left out
let omitted; // how many
let tail; // the last lines, as elements
let partial; // output after the last line end, not yet a line
let unspoken; // the last lines with text since the program last waited
let unspokenCount; // how many lines with text that was
let shownHeight = 0; // the transcript's height when output was last shown

function newTranscript() {
    transcript.replaceChildren();
    head = [];
    tail = [];
    omitted = 0;
    partial = '';
    unspoken = [];
    unspokenCount = 0;
    gap = document.createElement('div');
    gap.className = 'gap';
    gap.hidden = true;
    transcript.append(gap);
}

function addLine(text, kind) {
    const line = document.createElement('div');
    line.className = kind;
    line.textContent = text;
    if (omitted === 0 && head.length < HEAD_LINES) {
        head.push(line);
        gap.before(line);
        return;
    }
    tail.push(line);
    transcript.append(line);
    if (tail.length > TAIL_LINES) {
        tail.shift().remove();
        leaveOut(1);
    }
}

function leaveOut(lines) {
    omitted += lines;
    gap.hidden = omitted === 0;
    gap.textContent = omitted === 1
        ? '… 1 Zeile nicht angezeigt …'
        : `… ${omitted.toLocaleString('de-DE')} Zeilen nicht angezeigt …`;
}

// The lines after the gap go into it, so that later lines can follow it.
function dropTail() {
    tail.forEach((line) => line.remove());
    leaveOut(tail.length);
    tail = [];
}

// The program ends its lines with a carriage return before the line feed.
const clean = (line) => (line.endsWith('\r') ? line.slice(0, -1) : line);

function showOutput(text, skipped) {
    if (skipped > 0) {
        // The lines the worker left out end the line begun before them.
        partial = '';
        dropTail();
        leaveOut(skipped);
        unspokenCount += skipped;
    }
    const lines = (partial + text).split('\n');
    partial = lines.pop();
    let next = 0;
    while (next < lines.length && omitted === 0 && head.length < HEAD_LINES) {
        addLine(clean(lines[next++]), 'out');
    }
    // Of many new lines only the last ones can stay.
    if (lines.length - next > TAIL_LINES) {
        dropTail();
        leaveOut(lines.length - next - TAIL_LINES);
        next = lines.length - TAIL_LINES;
    }
    for (; next < lines.length; next++) {
        addLine(clean(lines[next]), 'out');
    }
    const withText = lines.filter((line) => line.trim() !== '');
    unspokenCount += withText.length;
    unspoken = [...unspoken, ...withText.slice(-SPOKEN_LINES).map(clean)].slice(-SPOKEN_LINES);
    transcript.scrollTop = transcript.scrollHeight;
    // Until it has its full height the transcript grows with its lines
    // (page.css) and pushes the input line down, also while the program
    // runs on.
    if (transcript.offsetHeight !== shownHeight) {
        shownHeight = transcript.offsetHeight;
        keepInView();
    }
}

// What a screen reader hears when the program waits or ends: the lines it
// wrote since it last waited, if they are few (a prompt, a short report);
// after more, only the last one, which is the prompt or the report, and
// never the millions of announcements of a long run.
function speak(...after) {
    const lines = unspokenCount > SPOKEN_LINES ? unspoken.slice(-1) : unspoken;
    spoken.textContent = [...lines, ...after].join(' ');
    unspoken = [];
    unspokenCount = 0;
}

// Whether the session is as it started: nothing answered, nothing typed.
export function untouched() {
    return transcript.querySelector('.in, .note') === null && field.value === '';
}

// As at a terminal, the newest line right above the input line, both in
// view while the input field has the focus: when the program waits, after
// an answer, while the transcript grows with the output, and when the
// window changes its size (a phone's on-screen keyboard opens or closes,
// the phone turns). The lines stand at the foot
// of the transcript (page.css), so the page scrolls, as little as it can,
// only to bring the transcript's foot and the input line into the window;
// where both do not fit, the input line wins.
function keepInView() {
    if (document.activeElement !== field) {
        return;
    }
    const lines = transcript.querySelectorAll(':scope > :not([hidden])');
    const box = transcript.getBoundingClientRect();
    const newest = lines.length > 0 ? lines[lines.length - 1].getBoundingClientRect().top : box.top;
    const top = Math.max(newest, box.top);
    const bottom = entry.getBoundingClientRect().bottom + FOCUS_ROOM;
    // Whole pixels, so that no part of a pixel stays out of view.
    if (bottom > innerHeight) {
        scrollBy(0, Math.ceil(bottom - innerHeight));
    } else if (top < 0) {
        scrollBy(0, Math.floor(Math.max(top, bottom - innerHeight)));
    }
}

// The transcript follows its newest line unless the user scrolls it back;
// after a new size its lines may wrap anew, and it follows again.
let following = true;
transcript.addEventListener('scroll', () => {
    following = transcript.scrollTop + transcript.clientHeight >= transcript.scrollHeight - 1;
}, { passive: true });
addEventListener('resize', () => {
    if (following) {
        transcript.scrollTop = transcript.scrollHeight;
    }
    keepInView();
});

function setState(text, running) {
    state.textContent = text;
    field.disabled = !running;
    sendButton.disabled = !running;
    stopButton.disabled = !running;
    endButton.disabled = !running;
    restartButton.disabled = running;
}

async function start() {
    if (worker !== null) {
        worker.terminate();
    }
    newTranscript();
    field.value = '';
    setState('Das Programm läuft.', true);
    worker = new Worker(workerUrl);
    worker.onmessage = (event) => {
        const message = event.data;
        if (message.type === 'output') {
            showOutput(message.head, 0);
            showOutput(message.text, message.skipped);
            if (message.waiting) {
                state.textContent = 'Das Programm wartet auf Ihre Antwort.';
                speak();
                keepInView();
            }
        } else if (message.type === 'exit') {
            finish(`Das Programm ist beendet (Status ${message.status}).`);
        } else {
            finish(`Das Programm konnte nicht weiterlaufen (${message.message}).`);
        }
    };
    worker.onerror = (event) => {
        event.preventDefault();
        finish(`Das Programm konnte nicht weiterlaufen (${event.message}).`);
    };
    const running = worker;
    try {
        const module = await moduleReady;
        if (worker === running) {
            worker.postMessage({ type: 'start', module, headLines: HEAD_LINES });
        }
    } catch (error) {
        finish(`Das Programm konnte nicht geladen werden (${error}).`);
    }
    field.focus();
    keepInView();
}

function finish(text) {
    worker?.terminate();
    worker = null;
    if (partial !== '') {
        addLine(clean(partial), 'out');
        partial = '';
    }
    setState(text, false);
    speak(text);
    restartButton.focus();
}

// A line as a terminal hands it over: its UTF-8 bytes and a line feed.
function send(text, lineEnd) {
    if (worker === null) {
        return;
    }
    if (partial !== '') {
        addLine(clean(partial), 'out');
        partial = '';
    }
    addLine(text, 'in');
    transcript.scrollTop = transcript.scrollHeight;
    keepInView();
    state.textContent = 'Das Programm läuft.';
    worker.postMessage({ type: 'line', bytes: encoder.encode(lineEnd ? `${text}\n` : text) });
}

// Ctrl+D at a terminal: hands over what is typed, or ends the input when
// nothing is.
function endInput() {
    if (worker === null) {
        return;
    }
    if (field.value !== '') {
        send(field.value, false);
        field.value = '';
    } else {
        addLine('(Ende der Eingabe)', 'note');
        state.textContent = 'Das Programm läuft.';
        worker.postMessage({ type: 'end' });
    }
    field.focus();
}

form.addEventListener('submit', (event) => {
    event.preventDefault();
    send(field.value, true);
    field.value = '';
});

// A paste of several lines is several lines; the last one stays in the
// field, as it has no line end yet.
field.addEventListener('paste', (event) => {
    const text = event.clipboardData.getData('text/plain');
    if (!/[\r\n]/.test(text)) {
        return;
    }
    event.preventDefault();
    const typed = field.value;
    const lines = (typed.slice(0, field.selectionStart) + text + typed.slice(field.selectionEnd))
        .split(/\r\n|\n|\r/);
    field.value = lines.pop();
    lines.forEach((line) => send(line, true));
});

field.addEventListener('keydown', (event) => {
    if (event.ctrlKey && !event.altKey && !event.metaKey && event.key.toLowerCase() === 'd') {
        event.preventDefault();
        endInput();
    }
});

endButton.addEventListener('click', endInput);

stopButton.addEventListener('click', () => {
    finish('Das Programm wurde abgebrochen.');
});

restartButton.addEventListener('click', () => {
    start();
});

copyButton.addEventListener('click', async () => {
    const text = [...transcript.children]
        .filter((line) => !line.hidden)
        .map((line) => line.textContent)
        .join('\n');
    try {
        await navigator.clipboard.writeText(`${text}\n`);
        copyButton.textContent = 'Kopiert';
    } catch {
        // Without the clipboard: the transcript selected, for Ctrl+C.
        getSelection().selectAllChildren(transcript);
        copyButton.textContent = 'Markiert – bitte selbst kopieren (etwa mit Strg+C)';
    }
    setTimeout(() => {
        copyButton.textContent = 'Mitschrift kopieren';
    }, 2000);
});

start();
