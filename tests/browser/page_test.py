#!/usr/bin/python3
"""The page in headless Chromium, opened from the disk as a user opens it,
and the web site, served from a web host on 127.0.0.1 as a phone opens it,
in steps, each a CTest test of its own (wasm.browser.STEP). The steps take
turns in one browser, each in a window of its own; the steps start and
stop start and stop it and its chromedriver.

The page's steps (page.*) type into the page as a user does and compare
the transcript with what the program writes for the same input, run as
the node command; axe-core audits the page in light and dark. They also
pin the first view (nothing scrolled, the title, the intro, the first
prompt and the input field in the window), the newest line and the
field in view while a long run writes, a transcript scrolled back that
stays put when the window grows, and an answer typed with the page
scrolled away that brings the newest line back. The site's steps
(site.*) check that it installs; that it works offline, with the host
gone and the HTTP cache empty, from its service worker alone; that
another release, or the same one rebuilt with a file changed, takes
over at the next visit, but not during a session, and not over a copy
of the site in another folder of the host; and that it fits a phone's
screen with the on-screen keyboard open. site.files, which the others
require, checks that each built site's worker keeps exactly its files.
Page and site keep the newest line and the input field in view at every
size of a grid, from 320 x 250 px to 1920 x 1200 (every_size).
Screenshots go to the output folder: the first view (first-*.png), the
sample session at 360 and 1280 px (page-*.png), the phone's screen
(phone-*.png), and small, middle and tall sizes (sizes-*.png).

    page_test.py --list
    page_test.py STEP PAGE NODE_COMMAND OUTPUT_FOLDER SITE OTHER_SITE REBUILT_SITE

--list names every step, whether it is slow, the fixture it sets up or
cleans up, and those it requires, a step a line; CTest reads it
(tests/browser/steps.cmake).
OTHER_SITE is the site built as another release, REBUILT_SITE the same
release built again with a file changed. One step again, in the build
folder: ctest -R '^wasm\.browser\.site\.offline$'.
"""

import contextlib
import functools
import html
import json
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import time

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

import accessibility
from site_server import SiteServer

# What the build made, from the command line.
PAGE = NODE_COMMAND = OUTPUT = SITE = OTHER_SITE = REBUILT_SITE = PROFILE = None
LARGEST = "1 1 1 2147483647"


# Every step by its name: what it runs, whether it is slow (more than about
# twelve seconds), the fixture it sets up or cleans up, and those it
# requires. Every step in the browser requires the browser.
STEPS = {}
BROWSER = "browser"
SITE_FIXTURE = "site"


def step(name, slow=False, setup=None, cleanup=None, requires=(BROWSER,)):
    def register(run):
        STEPS[name] = (run, slow, setup, cleanup, requires)
        return run
    return register


def running(name):
    """The process of chromium or chromedriver that the step start started,
    while it runs, or None."""
    with contextlib.suppress(OSError, ValueError):
        pid = int((PROFILE / f"{name}.pid").read_text())
        stat = pathlib.Path(f"/proc/{pid}/stat").read_text()
        return pid if stat.startswith(f"{pid} ({name}) ") and stat.split(") ")[1][0] != "Z" else None


def listening():
    """Where the browser and chromedriver listen, once both have said it."""
    with contextlib.suppress(OSError, ValueError, TypeError):
        browser, _ = (PROFILE / "DevToolsActivePort").read_text().split()
        driver = re.search(r"started successfully on port (\d+)", (PROFILE / "chromedriver.log").read_text())[1]
        return f"127.0.0.1:{browser}", int(driver)


@step("start", setup=BROWSER, requires=())
def start_browser():
    """Headless Chromium and chromedriver, in which every other step takes
    its turn (RESOURCE_LOCK) in a window of its own: starting them costs
    more than most steps take. They outlive this step, until the step stop."""
    stop_browser()
    PROFILE.mkdir(parents=True)
    started = []
    for name, *arguments in (
            ("chromium", "--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--disable-background-timer-throttling", "--disable-backgrounding-occluded-windows",
             "--password-store=basic", "--remote-debugging-port=0", f"--user-data-dir={PROFILE}", "about:blank"),
            ("chromedriver", "--port=0")):
        with open(PROFILE / f"{name}.log", "w") as log:
            started.append(subprocess.Popen([f"/usr/bin/{name}", *arguments], stdin=subprocess.DEVNULL,
                                            stdout=log, stderr=subprocess.STDOUT, start_new_session=True))
        (PROFILE / f"{name}.pid").write_text(str(started[-1].pid))
    deadline = time.monotonic() + 30
    while not listening():
        for process in started:
            expect(process.poll() is None, f"{process.args[0]} ended with status {process.returncode}")
        expect(time.monotonic() < deadline, "Chromium or chromedriver does not start")
        time.sleep(0.01)


@step("stop", cleanup=BROWSER, requires=())
def stop_browser():
    """Ends chromedriver and the browser, or those that an earlier run left."""
    for name in ("chromedriver", "chromium"):
        if pid := running(name):
            os.kill(pid, signal.SIGTERM)
            deadline = time.monotonic() + 10
            while running(name) and time.monotonic() < deadline:
                time.sleep(0.05)
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)
    shutil.rmtree(PROFILE, ignore_errors=True)


@contextlib.contextmanager
def opened(width=1280, height=800):
    """A window of its own for one step in the browser of the step start,
    with the focus; the step ends with no error in the browser's log."""
    address = listening()
    expect(address and running("chromium") and running("chromedriver"), "no browser: the step start starts it")
    options = Options()
    options.debugger_address, port = address
    # chromedriver runs already, from the step start to the step stop.
    service = Service(port=port)
    service.start = service.stop = lambda: None
    driver = webdriver.Chrome(service=service, options=options)
    try:
        window = driver.execute_cdp_cmd("Target.createTarget", {"url": "about:blank", "newWindow": True,
                                                                "width": width, "height": 900})["targetId"]
        try:
            driver.switch_to.window(window)
            driver.set_script_timeout(60)
            # The window has the focus, as the window a user types into has.
            driver.execute_cdp_cmd("Page.bringToFront", {})
            # Nothing that an earlier step's host sent comes from the cache.
            driver.execute_cdp_cmd("Network.clearBrowserCache", {})
            screen(driver, width, height)
            # The copy button writes to the clipboard, and the test reads it back.
            driver.execute_cdp_cmd("Browser.grantPermissions",
                                   {"permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
            yield driver
            errors = [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]
            expect(not errors, f"errors in the browser: {errors}")
        finally:
            with contextlib.suppress(WebDriverException):
                driver.execute_cdp_cmd("Target.closeTarget", {"targetId": window})
    finally:
        driver.quit()


def screen(driver, width, height, mobile=None):
    """A phone's screen, which a desktop window does not go down to."""
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1,
                            "mobile": width < 700 if mobile is None else mobile})


def program_lines(answers):
    """What the program writes for these answers, line by line."""
    return list(program_output(answers))


@functools.cache
def program_output(answers):
    """The program run once for each input a step gives it."""
    written = subprocess.run([NODE_COMMAND], input=answers.encode(), capture_output=True,
                             check=True).stdout.decode()
    assert written.endswith("\r\n"), written
    return tuple(written[:-2].split("\r\n"))


class Page:
    def __init__(self, driver, url=None):
        self.driver = driver
        driver.get(url or pathlib.Path(PAGE).resolve().as_uri())
        self.field = driver.find_element(By.ID, "line")
        self.wait_for_state("wartet")

    def button(self, name):
        return self.driver.find_element(By.ID, name)

    def state(self):
        return self.driver.find_element(By.ID, "state").text

    def wait_for_state(self, text, seconds=10):
        deadline = time.monotonic() + seconds
        while text not in self.state():
            assert time.monotonic() < deadline, f"state is '{self.state()}', not '{text}'"
            time.sleep(0.02)

    def transcript(self, kinds=("out", "in")):
        """The shown lines of the given kinds, and how many are left out."""
        lines, gap = self.driver.execute_script("""
            const all = [...document.getElementById('transcript').children];
            const gap = all.find((line) => line.className === 'gap');
            return [all.filter((line) => !line.hidden && line !== gap)
                       .map((line) => [line.className, line.textContent]),
                    gap.hidden ? '' : gap.textContent];""")
        return [text for kind, text in lines if kind in kinds], gap

    def answer(self, line):
        """Sends a line once the program waits for one."""
        self.wait_for_state("wartet")
        self.field.send_keys(line + Keys.ENTER)

    def copied(self):
        """What the copy button puts on the clipboard."""
        read = "navigator.clipboard.readText().then(arguments[0], (error) => arguments[0](`failed: ${error}`))"
        self.driver.execute_async_script(
            "navigator.clipboard.writeText('-').then(arguments[0], arguments[0])")
        self.button("copy").click()
        deadline = time.monotonic() + 5
        while (text := self.driver.execute_async_script(read)) == "-":
            assert time.monotonic() < deadline, "nothing copied"
            time.sleep(0.02)
        return text

    def scrolled_to_end(self):
        return self.driver.execute_script("""
            const transcript = document.getElementById('transcript');
            return transcript.scrollHeight > transcript.clientHeight
                && transcript.scrollTop + transcript.clientHeight >= transcript.scrollHeight - 1;""")

    def restart(self):
        """Neu starten, after Abbrechen if the program still runs: the
        program from its start, in a transcript of its own."""
        if self.button("stop").is_enabled():
            self.button("stop").click()
        self.button("restart").click()
        self.wait_for_state("wartet")
        shown, gap = self.transcript()
        expect(shown == program_lines("")[:2] and not gap, f"transcript after a restart: {shown}")


def expect(condition, message):
    if not condition:
        raise AssertionError(message)


def sample_transcript():
    """The transcript of the sample session: the program's lines, with
    each answer after the prompt it answers."""
    expected = program_lines("31\n12\n2023\n1\n")
    for prompt, answer in ((2, "31"), (4, "12"), (6, "2023"), (10, "1")):
        expected.insert(prompt, answer)
    return expected


def sample_session(page, pictures="page"):
    for line in ("31", "12", "2023", "1"):
        page.answer(line)
    page.wait_for_state("wartet")
    shown, _ = page.transcript()
    expected = sample_transcript()
    expect(shown == expected, f"transcript {shown}")
    # All of it, answers included, and not the hidden note of left-out lines.
    copied = page.copied()
    expect(copied == "\n".join(expected) + "\n", f"copied {copied!r}")
    if pictures:
        width = page.driver.execute_script("return window.innerWidth")
        page.driver.save_screenshot(f"{OUTPUT}/{pictures}-{width}.png")
    page.answer("x")
    page.wait_for_state("beendet (Status 0)")


def unreadable_answer(page):
    page.answer("abc")
    page.wait_for_state("beendet")
    expect(page.transcript(("out",))[0] == program_lines("abc\n"), "output after an unreadable answer")


# How a user hands over what is in the input field.
HAND_OVER = {"Enter": lambda page: page.field.send_keys(Keys.ENTER),
             "Ctrl+D": lambda page: page.field.send_keys(Keys.CONTROL, "d"),
             "button": lambda page: page.button("end").click()}


def ended_input(page):
    # What is typed and how each piece is handed over, and the bytes the
    # program gets: Ctrl+D or the button in an empty field ends the input;
    # with text in the field they send the text without a line end, so
    # that the next line goes on with the same number.
    rows = (
        ((("5", "Enter"), ("", "Ctrl+D")), "5\n", ["(Ende der Eingabe)"]),
        ((("3", "button"), ("1", "Ctrl+D"), ("2", "Enter"), ("12", "Enter"), ("2023", "Enter"), ("1", "Enter")),
         "312\n12\n2023\n1\n", []),
        ((("31", "Ctrl+D"), ("", "button")), "31", ["(Ende der Eingabe)"]),
    )
    for number, (steps, received, notes) in enumerate(rows):
        if number > 0:
            page.restart()
        for text, hand_over in steps:
            page.wait_for_state("wartet")
            if text:
                page.field.send_keys(text)
            HAND_OVER[hand_over](page)
        page.wait_for_state("beendet" if notes else "wartet")
        expect(page.transcript(("out",))[0] == program_lines(received), f"output after {received!r}")
        expect(page.transcript(("note",))[0] == notes, f"notes after {received!r}")


def long_line(page):
    # All four answers in one line of 5000 bytes, each number across the
    # end of one 1024-byte read and the start of the next: a byte lost or
    # doubled there changes a number.
    line = bytearray(b" " * 5000)
    for at, number in ((1023, b"31"), (2047, b"12"), (3070, b"2023"), (4095, b"10")):
        line[at:at + len(number)] = number
    # Put in at once, as an input method does: chromedriver takes seconds to type it key by key.
    page.wait_for_state("wartet")
    page.driver.execute_cdp_cmd("Input.insertText", {"text": line.decode()})
    page.field.send_keys(Keys.ENTER)
    page.wait_for_state("wartet")
    expect(page.transcript(("out",))[0] == program_lines("31 12 2023 10\n"), "output after a 5000-byte line")


def several_lines_pasted(page):
    page.wait_for_state("wartet")
    page.driver.execute_script("""
        const data = new DataTransfer();
        data.setData('text/plain', '31\\n12\\n2023\\n1\\nx');
        arguments[0].dispatchEvent(new ClipboardEvent('paste', {clipboardData: data, bubbles: true,
                                                                cancelable: true}));""", page.field)
    page.wait_for_state("wartet")
    expect(page.transcript(("out",))[0] == program_lines("31\n12\n2023\n1\n"), "output after a paste")
    expect(page.field.get_attribute("value") == "x", "the pasted line without line end is not in the field")


def largest_count(page):
    page.answer(LARGEST)
    # The output shows as it comes: before the report line the note of
    # left-out lines is there and counts on.
    notes = set()
    deadline = time.monotonic() + 120
    while True:
        note, last, state = page.driver.execute_script("""
            const transcript = document.getElementById('transcript');
            const gap = transcript.querySelector('.gap');
            return [gap.hidden ? '' : gap.textContent, transcript.lastElementChild.textContent,
                    document.getElementById('state').textContent];""")
        if "wartet" in state:
            break
        if note and not last.startswith("2147483647 Tage"):
            notes.add(note)
        assert time.monotonic() < deadline, "the largest count takes too long"
        time.sleep(0.01)
    expect(len(notes) >= 2, f"while the program ran the transcript showed {notes}")
    shown, gap = page.transcript()
    # 7 lines before the count, the echo, one line per year from 1 to
    # 5879611, an empty line and the report.
    total = 7 + 1 + 5879611 + 2
    omitted = int(gap.split()[1].replace(".", ""))
    expect(gap == f"… {omitted:,} Zeilen nicht angezeigt …".replace(",", "."), f"the note {gap}")
    expect(shown[-1] == "2147483647 Tage nach dem 1. 1. 1 ist der 12. 7. 5879611.", f"report {shown[-1]}")
    expect(shown[-3] == "im Jahr 5879611 hat der Februar 28 Tage", f"last announcement {shown[-3]}")
    first = shown.index("im Jahr 1 hat der Februar 28 Tage")
    expect(shown[first + 99] == "im Jahr 100 hat der Februar 28 Tage", "the first announcements are not shown")
    expect(len(shown) + omitted == total, f"{len(shown)} lines shown and {omitted} left out")
    expect(len(shown) <= 600, f"{len(shown)} lines kept")
    spoken = page.driver.find_element(By.ID, "spoken").get_attribute("textContent")
    expect(spoken == shown[-1], f"a screen reader hears '{spoken[:200]}'")
    expect(page.scrolled_to_end(), "the transcript is not scrolled to its newest line")
    # The copy is the transcript as shown: the note stands where the years
    # jump.
    years = [int(line.split()[2]) if line.startswith("im Jahr ") else None for line in shown]
    jump = next(i for i in range(1, len(shown)) if years[i - 1] and years[i] and years[i] != years[i - 1] + 1)
    copied = page.copied()
    expect(copied == "\n".join(shown[:jump] + [gap] + shown[jump:]) + "\n",
           f"copied {len(copied)} characters: {copied[:300]!r} ... {copied[-300:]!r}")


def stop(page):
    page.answer(LARGEST)
    time.sleep(0.3)
    page.button("stop").click()
    expect("abgebrochen" in page.state(), f"state after Stop: {page.state()}")
    before = page.transcript()
    time.sleep(0.3)
    expect(page.transcript() == before, "the transcript goes on after Stop")
    page.restart()


def focus(page):
    """The focused element's id; its focus must be seen: an outline of at
    least 2 px, inside the window."""
    element, outlined, inside = page.driver.execute_script("""
        const element = document.activeElement;
        const style = getComputedStyle(element);
        const box = element.getBoundingClientRect();
        return [element.id, element.matches(':focus-visible') && style.outlineStyle !== 'none'
                    && parseFloat(style.outlineWidth) >= 2,
                box.top >= 0 && box.left >= 0 && box.bottom <= innerHeight && box.right <= innerWidth];""")
    expect(outlined and inside,
           f"the focus on '{element}' cannot be seen (outline {outlined}, in the window {inside})")
    return element


def keyboard_only(page):
    """A session, the end of input, Abbrechen and Neu starten with keys
    alone, the focus always visible."""
    keys = ActionChains(page.driver)

    def press(*sequence):
        keys.send_keys(*sequence).perform()

    def tab_to(target):
        for _ in range(6):
            if focus(page) == target:
                return
            press(Keys.TAB)
        raise AssertionError(f"Tab does not reach '{target}'")

    expect(focus(page) == "line", "the input field has no focus at the start")
    for line in ("31", "12", "2023", "1", "x"):
        page.wait_for_state("wartet")
        press(line, Keys.ENTER)
    page.wait_for_state("beendet (Status 0)")
    expect(page.transcript(("out",))[0] == program_lines("31\n12\n2023\n1\nx\n"), "output of a session by keys")
    for ending in ("end", "stop"):
        expect(focus(page) == "restart", f"after the end the focus is on '{focus(page)}'")
        press(Keys.ENTER)
        page.wait_for_state("wartet")
        expect(focus(page) == "line", "after Neu starten the input field has no focus")
        press(LARGEST if ending == "stop" else "5", Keys.ENTER)
        if ending == "end":
            page.wait_for_state("wartet")
        tab_to(ending)
        press(Keys.SPACE if ending == "end" else Keys.ENTER)
        page.wait_for_state("beendet" if ending == "end" else "abgebrochen")
    expect(focus(page) == "restart", "after Abbrechen the focus is not on Neu starten")
    press(Keys.ENTER)
    page.wait_for_state("wartet")


def audit(page, moment):
    found = accessibility.violations(page.driver)
    expect(not found, f"axe-core {moment}:\n" + "\n".join(found))


def after_frames(driver, frames, measure, running=False):
    """What MEASURE, the body of a JavaScript function that may use box(),
    returns after FRAMES frames of the page; if RUNNING, the list of what it
    returns at each frame while the program runs, up to 20."""
    return driver.execute_async_script(f"""
        const [frames, running, done] = arguments, seen = [];
        const box = (item) => item.getBoundingClientRect().toJSON();
        const measure = () => {{ {measure} }};
        const runs = () => document.getElementById('state').textContent.includes('läuft') && seen.length < 20;
        const after = (left) => (running ? (runs() ? (seen.push(measure()), requestAnimationFrame(after)) : done(seen))
            : left === 0 ? done(measure()) : requestAnimationFrame(() => after(left - 1)));
        after(frames);""", frames, running)


def in_view(page, where="", frames=0, running=False):
    """On a phone's screen: the newest line of the transcript and the input
    field in the window, the line inside the transcript's visible part, and
    nothing wider than the window; seen after FRAMES frames of the page, or
    if RUNNING at each frame while the program runs. How often it looked."""
    views = after_frames(page.driver, frames, """
        const lines = [...document.querySelectorAll('#transcript > div:not([hidden])')];
        return [box(lines[lines.length - 1]), box(document.getElementById('line')),
                box(document.getElementById('transcript')),
                document.documentElement.scrollWidth > innerWidth || scrollX !== 0, innerHeight];""", running)
    for line, field, transcript, wide, height in views if running else [views]:
        for name, box in (("newest line", line), ("input field", field)):
            expect(0 <= box["top"] and box["bottom"] <= height, f"{where}the {name} is not in view: {box}")
        expect(transcript["top"] <= line["top"] and line["bottom"] <= transcript["bottom"],
               f"{where}the newest line {line} is outside the transcript's view {transcript}")
        expect(not wide, f"{where}the page scrolls sideways")
    return len(views) if running else 1


def phone(page, width, height):
    """The app as a phone starts it, at its input field, then a session with
    the on-screen keyboard open."""
    expect(focus(page) == "line", "the app does not open at the input field")
    in_view(page)
    for line in ("31", "12", "2023", "1"):
        page.answer(line)
        page.wait_for_state("wartet")
        in_view(page)
    page.driver.save_screenshot(f"{OUTPUT}/phone-{width}x{height}.png")
    audit(page, f"on a phone's screen of {width} x {height} px")


# Every size the page must fit: each 40 px of height from 250 to 890 px at
# four widths of phones, phones in landscape, and desktop windows; with
# whether the browser is a phone's.
SIZES = ([(width, height, True) for width in (320, 360, 412, 480) for height in range(250, 901, 40)]
         + [(width, height, True) for width, height in ((568, 320), (640, 360), (667, 375), (740, 360),
                                                          (844, 390), (915, 412))]
         + [(width, height, False) for width, height in ((800, 600), (1024, 768), (1280, 720), (1366, 768),
                                                           (1440, 900), (1920, 1080), (1920, 1200))])
# Where each answer of the session is typed, and the sizes shown in
# screenshots after the last one: small, middle and tall.
TYPED_AT = ((360, 570), (320, 250), (412, 610), (1280, 800))
PICTURED = ((360, 290), (360, 570), (412, 890))


def every_size(page, pictures="sizes-page"):
    """A session whose screen changes to every size after each answer (a
    keyboard opens, the phone turns): the newest line and the input field
    stay in view, with nothing to scroll sideways. Screenshots go to
    PICTURES-WIDTHxHEIGHT.png."""
    driver = page.driver
    for number, answer in enumerate((None, "31", "12", "2023", "1")):
        if answer is not None:
            screen(driver, *TYPED_AT[number - 1])
            page.answer(answer)
            page.wait_for_state("wartet")
        for width, height, mobile in SIZES:
            screen(driver, width, height, mobile)
            # The window has its new size as the browser takes it; the page
            # answers in the next frame, whose resize event comes before
            # its animation frame callbacks.
            in_view(page, f"at {width} x {height} px after {answer or 'nothing'}: ", frames=1)
            if answer == "1" and (width, height) in PICTURED:
                driver.save_screenshot(f"{OUTPUT}/{pictures}-{width}x{height}.png")
    screen(driver, 360, 800)


# What a site's service worker keeps, as it installs (tests/package).
SERVICE_WORKER = pathlib.Path(__file__).resolve().parents[1] / "package" / "service_worker.mjs"


def site_files(folder):
    """The files of a built site that its worker keeps, and its release."""
    files = sorted(p.name for p in pathlib.Path(folder).iterdir() if p.name != "service-worker.js")
    kept = json.loads(subprocess.run(["node", SERVICE_WORKER, pathlib.Path(folder, "service-worker.js")],
                                     capture_output=True, check=True, text=True).stdout)
    expect(kept["files"] == files, f"the worker of {folder} keeps {kept['files']}, not {files}")
    return files, kept["release"]


def cache_names(driver):
    """The names of the origin's caches. Unlike opening a cache, which
    makes it if it is gone, this cannot bring back a cache that a worker
    is removing while the test looks."""
    return driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        caches.keys().then(done, (error) => done(String(error)));""")


def caches(driver):
    """Each cache of the origin and the addresses it holds. Only for when
    no worker is removing caches: see cache_names."""
    return driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        (async () => Promise.all((await caches.keys()).map(async (name) =>
            [name, (await (await caches.open(name)).keys()).map((request) => request.url).sort()])))()
            .then(done, (error) => done(String(error)));""")


# The site's Content-Security-Policy: every directive and what it allows.
SITE_POLICY = (
    ("default-src", r"'none'"),
    ("script-src", r"'sha256-[A-Za-z0-9+/]{43}=' 'wasm-unsafe-eval'"),
    ("worker-src", r"'self' blob:"),
    ("style-src", r"'sha256-[A-Za-z0-9+/]{43}='"),
    ("img-src", r"'self'"),
    ("manifest-src", r"'self'"),
    ("base-uri", r"'none'"),
    ("form-action", r"'none'"),
)

# What the manifest must say, beside its icons.
MANIFEST = (
    ("lang", "de"), ("start_url", "./"), ("scope", "./"), ("display", "standalone"),
)

# The site's icons as the build makes them (host/page/about.mjs): each
# file, its size, and the manifest's purpose or the page's link for it.
ABOUT = pathlib.Path(__file__).resolve().parents[2] / "host" / "page" / "about.mjs"


def listed_icons():
    return json.loads(subprocess.run(
        ["node", "--input-type=module", "-e",
         "console.log(JSON.stringify((await import(process.argv[1])).icons))", ABOUT],
        capture_output=True, check=True, text=True).stdout)


def shown_size(driver, address):
    """The width and height of an image as the browser shows it, or None."""
    return driver.execute_async_script("""
        const done = arguments[arguments.length - 1], image = new Image();
        image.onload = () => done([image.naturalWidth, image.naturalHeight]);
        image.onerror = () => done(null);
        image.src = arguments[0];""", address)


def installable(page, url):
    driver = page.driver
    errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
    expect(not errors, f"the site cannot be installed: {errors}")
    expect(not driver.execute_cdp_cmd("Page.getAppManifest", {})["errors"], "the manifest has errors")
    manifest = json.loads(pathlib.Path(SITE, "manifest.webmanifest").read_text())
    for field, value in MANIFEST:
        expect(manifest.get(field) == value, f"the manifest's {field} is {manifest.get(field)}")
    expect(manifest["name"] and manifest["short_name"], "the manifest has no name")
    for colour in ("theme_color", "background_color"):
        expect(re.fullmatch(r"#[0-9a-f]{6}", manifest.get(colour, "")), f"the manifest has no {colour}")
    # Every icon is named where the list says, and no other; the browser
    # shows each at its size, which is the one the manifest gives it.
    icons = listed_icons()
    named = sorted((icon["src"], icon.get("purpose", "any")) for icon in manifest["icons"])
    expect(named == sorted((icon["file"], icon["purpose"]) for icon in icons if "purpose" in icon),
           f"the manifest names the icons {named}")
    links = sorted(driver.execute_script(
        "return [...document.querySelectorAll('link[rel~=\"icon\"], link[rel=\"apple-touch-icon\"]')]"
        ".map((link) => [link.rel, link.href])"))
    expect(links == sorted([icon["rel"], url + icon["file"]] for icon in icons if "rel" in icon),
           f"the page links the icons {links}")
    for icon in icons:
        shown = shown_size(driver, url + icon["file"])
        expect(shown, f"the browser cannot show {icon['file']}")
        if "size" in icon:
            declared = {entry["sizes"] for entry in manifest["icons"] if entry["src"] == icon["file"]}
            expect(shown == [icon["size"]] * 2 and declared <= {f"{icon['size']}x{icon['size']}"},
                   f"{icon['file']} is shown at {shown}, and the manifest says {declared}")
    policy = driver.execute_script(
        "return document.querySelector('meta[http-equiv=\"Content-Security-Policy\"]').content")
    directives = [directive.split(" ", 1) for directive in policy.split("; ")]
    expect(len(directives) == len(SITE_POLICY), f"the policy is {policy}")
    for (name, sources), (expected_name, pattern) in zip(directives, SITE_POLICY):
        expect(name == expected_name and re.fullmatch(pattern, sources), f"the policy has {name} {sources}")


def site_step(name, slow=False, copy=False):
    """A step on the site, served by a host that the browser knows nothing
    of, with a copy in a second folder if COPY, once the sites are checked."""
    def register(check):
        def run():
            with opened() as driver, SiteServer(SITE, copy=SITE if copy else None) as server:
                driver.execute_cdp_cmd("Storage.clearDataForOrigin",
                                       {"origin": f"http://127.0.0.1:{server.port}", "storageTypes": "all"})
                check(driver, server)
        return step(f"site.{name}", slow, requires=(BROWSER, SITE_FIXTURE))(run)
    return register


def page_step(check, sizes=((1280, 800),), audited=False, slow=False):
    """CHECK on the page, loaded from the disk at each of SIZES; audited by
    axe-core after it if AUDITED."""
    def run():
        with opened(*sizes[0]) as driver:
            for width, height in sizes:
                screen(driver, width, height)
                page = Page(driver)
                check(page)
                if audited:
                    audit(page, f"after {check.__name__} at {width} x {height} px")
    step(f"page.{check.__name__}", slow)(run)


def start(page):
    """The page as it opens: nothing loaded from elsewhere, nothing to
    scroll sideways."""
    expect(not page.driver.execute_script("return performance.getEntriesByType('resource').length"),
           "the page loaded something")
    expect(page.driver.execute_script("return document.documentElement.scrollWidth <= window.innerWidth"),
           "the page scrolls sideways")


BOTH_WIDTHS = ((1280, 800), (360, 800))
page_step(start, BOTH_WIDTHS, audited=True)
page_step(sample_session, BOTH_WIDTHS, audited=True)
page_step(unreadable_answer)
page_step(ended_input)
page_step(long_line, slow=True)
page_step(several_lines_pasted)
page_step(largest_count, BOTH_WIDTHS, audited=True)
page_step(stop)
page_step(keyboard_only)
page_step(every_size, ((360, 800),), slow=True)


# A first visit on phones from the smallest on, and in a desktop window.
FIRST_VIEWS = ((320, 568), (360, 640), (412, 915), (1280, 800))


def first_view(page):
    """The page as a first-time visitor sees it once the program waits:
    nothing scrolled, and in the window the title, the intro's first
    sentence, the first prompt and the input field, the transcript no
    taller than its lines. Screenshots go to first-WIDTHxHEIGHT.png."""
    scrolled, (width, height), boxes, room = after_frames(page.driver, 2, """
        const intro = document.querySelector('header p').firstChild;
        const sentence = document.createRange();
        sentence.setStart(intro, 0);
        sentence.setEnd(intro, intro.data.indexOf('. ') + 1);
        const transcript = document.getElementById('transcript');
        const lines = [...transcript.children].filter((line) => !line.hidden);
        const prompt = {top: box(lines[0]).top, bottom: box(lines[lines.length - 1]).bottom};
        const text = box(transcript).top + transcript.clientTop + parseFloat(getComputedStyle(transcript).paddingTop);
        return [scrollY, [innerWidth, innerHeight],
                {title: box(document.querySelector('h1')), 'first sentence': box(sentence),
                 'first prompt': prompt, 'input field': box(document.getElementById('line'))},
                prompt.top - text];""")
    where = f"at {width} x {height} px at the start"
    expect(scrolled == 0, f"{where} the page is scrolled by {scrolled} px")
    for name, box in boxes.items():
        expect(box["bottom"] > box["top"] >= 0 and box["bottom"] <= height,
               f"{where} the {name} is not in view: {box}")
    expect(room < 1, f"{where} the transcript is {room} px taller than its lines")
    page.driver.save_screenshot(f"{OUTPUT}/first-{width}x{height}.png")


page_step(first_view, FIRST_VIEWS)


def first_line_shown(page, frames=2):
    """The number of the transcript's first line in its view, and where
    that line stands from the top of its text; seen after FRAMES frames
    of the page."""
    return after_frames(page.driver, frames, """
        const transcript = document.getElementById('transcript');
        const top = box(transcript).top + transcript.clientTop + parseFloat(getComputedStyle(transcript).paddingTop);
        const lines = [...transcript.children];
        const first = lines.findIndex((line) => box(line).bottom > top);
        return [first, box(lines[first]).top - top];""")


def scrolled_back(page):
    """A transcript that the user has scrolled back stays where the user
    left it when the window changes its size, as when a phone's on-screen
    keyboard closes."""
    page.answer("1 1 1 150000")
    page.wait_for_state("wartet")
    page.driver.execute_script("""
        const transcript = document.getElementById('transcript');
        transcript.scrollTop = transcript.scrollHeight / 3;""")
    before = first_line_shown(page)
    expect(before[0] > 0 and not page.scrolled_to_end(), f"the transcript is not scrolled back: {before}")
    screen(page.driver, 360, 640)
    after = first_line_shown(page)
    expect(after[0] == before[0] and abs(after[1] - before[1]) < 1,
           f"scrolled back to line {before}, after the keyboard closed at line {after}")


def answer_scrolled_away(page):
    """An answer typed while the page is scrolled away from the input
    field, down to the help: the newest line and the field come back into
    view."""
    page.answer("31")
    page.wait_for_state("wartet")
    page.driver.execute_script("scrollTo(0, document.documentElement.scrollHeight)")
    field = page.driver.execute_script("return document.getElementById('line').getBoundingClientRect().bottom")
    expect(field < 0, f"the page is not scrolled away from the input field: its foot at {field} px")
    ActionChains(page.driver).send_keys("12", Keys.ENTER).perform()
    page.wait_for_state("wartet")
    in_view(page, "after an answer typed away from the field: ", frames=2)


def running_in_view(page):
    """While a long run writes its lines, on a phone's screen where the
    transcript grows with them and pushes the input field down: the
    newest line and the field stay in view."""
    page.answer(LARGEST)
    seen = in_view(page, "while the program runs: ", running=True)
    expect(seen >= 3, f"the program ran while the page was looked at {seen} times")
    page.button("stop").click()


page_step(scrolled_back, ((360, 300),))
page_step(answer_scrolled_away, ((360, 640),))
page_step(running_in_view, ((360, 640),))


@step("site.files", setup=SITE_FIXTURE, requires=())
def built_sites():
    """Each built site's worker keeps exactly the site's files, and the
    other release is another."""
    _, release = site_files(SITE)
    _, other_release = site_files(OTHER_SITE)
    site_files(REBUILT_SITE)
    expect(release != other_release, "the other site is the same release")


def kept(url, folder):
    """The cache of the site built in FOLDER and served at URL: its name,
    and the addresses its worker keeps."""
    files, release = site_files(folder)
    return [f"datum {url} {release}", [url + name for name in files]]


def expect_caches(driver, *expected):
    held = caches(driver)
    expect(sorted(held) == sorted(expected), f"the caches hold {held}, not {list(expected)}")


def installed(driver, url, folder, *others):
    """The site's first visit and its reload: from then on its service
    worker serves the page, with exactly the site's files in its cache,
    beside the caches OTHERS of other sites."""
    page = Page(driver, url)
    driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
    page = Page(driver, url)
    worker = driver.execute_script("return navigator.serviceWorker.controller?.scriptURL")
    expect(worker == url + "service-worker.js", f"after a reload the page is served by {worker}")
    expect_caches(driver, kept(url, folder), *others)
    # The page looks for a new release at every visit; the host may go
    # away once that look is over (the browser does one at a time).
    driver.execute_async_script(
        "navigator.serviceWorker.getRegistration().then((r) => r.update()).then(() => arguments[0]())")
    return page


def footer(folder):
    """The text of the footer of the page built in FOLDER, which names its
    release and its licences."""
    source = pathlib.Path(folder, "index.html").read_text()
    return html.unescape(re.sub(r"<[^>]*>", "", re.search(r"<footer>(.*)</footer>", source, re.S)[1]))


def shows(driver, folder):
    return driver.execute_script("return document.querySelector('footer')?.textContent") == footer(folder)


def next_visit(driver, url, folder):
    """A visit of URL, whose host now has the site built in FOLDER: the
    page shown, once its new worker has taken over, is that site's."""
    driver.get(url)
    deadline = time.monotonic() + 10
    while not shows(driver, folder):
        expect(time.monotonic() < deadline, f"the site of {folder} does not take over")
        time.sleep(0.1)
    return Page(driver, url)


@site_step("installable")
def site_installable(driver, server):
    """The site as a browser installs it: its manifest, icons and policy,
    and its service worker, which serves it from the next visit on."""
    installable(Page(driver, server.url), server.url)
    installed(driver, server.url, SITE)


@site_step("offline")
def site_offline(driver, server):
    """The installed site with its host gone, every connection to it
    closed, and the browser's HTTP cache empty: only its service worker
    can answer, for the folder's own address too."""
    installed(driver, server.url, SITE)
    server.stop()
    driver.execute_cdp_cmd("Network.clearBrowserCache", {})
    sample_session(Page(driver, server.url), pictures=None)


def takes_over_at_next_visit(driver, server, new_site):
    """The site installed, then NEW_SITE in its place on the host: at the
    next visit its worker takes over and leaves its own cache only."""
    installed(driver, server.url, SITE)
    server.replace(new_site)
    next_visit(driver, server.url, new_site)
    expect_caches(driver, kept(server.url, new_site))


@site_step("update")
def site_update(driver, server):
    """Another release on the host: its worker takes over at the next
    visit and leaves its own cache only."""
    takes_over_at_next_visit(driver, server, OTHER_SITE)


@site_step("update_in_session")
def site_update_in_session(driver, server):
    """A new release found while a session is in progress: its worker
    takes over, but the page neither loads again nor loses the answers
    given; the session goes on, and the next visit is the new release."""
    url = server.url
    page = installed(driver, url, SITE)
    for line in ("31", "12"):
        page.answer(line)
    page.wait_for_state("wartet")
    driver.execute_script("window.sameSession = true")
    server.replace(OTHER_SITE)
    driver.execute_script("navigator.serviceWorker.getRegistration().then((r) => r.update())")
    other = kept(url, OTHER_SITE)
    deadline = time.monotonic() + 10
    while cache_names(driver) != [other[0]]:
        expect(time.monotonic() < deadline, f"the new release does not take over: {cache_names(driver)}")
        time.sleep(0.1)
    expect_caches(driver, other)
    # Time for the page to load again, which it must not.
    time.sleep(1)
    expect(driver.execute_script("return window.sameSession === true"),
           "the page loaded again when the new release took over")
    for line in ("2023", "1"):
        page.answer(line)
    page.wait_for_state("wartet")
    shown, _ = page.transcript()
    expect(shown == sample_transcript(), f"after the new release took over the transcript is {shown}")
    expect(shows(driver, SITE), "the page in the session is not the one it began with")
    next_visit(driver, url, OTHER_SITE)


@site_step("rebuilt")
def site_rebuilt(driver, server):
    """The same release built again with one of its files changed, not its
    version: the service worker changes with it, which is how the browser
    finds it, and the changed file reaches the user at the next visit."""
    files, release = site_files(SITE)
    changed = [name for name in files
               if pathlib.Path(SITE, name).read_bytes() != pathlib.Path(REBUILT_SITE, name).read_bytes()]
    expect(changed == ["index.html"], f"the rebuilt site changes {changed}, not index.html alone")
    expect(release.split()[0] == site_files(REBUILT_SITE)[1].split()[0], "the rebuilt site is another version")
    expect(pathlib.Path(SITE, "service-worker.js").read_bytes()
           != pathlib.Path(REBUILT_SITE, "service-worker.js").read_bytes(),
           "the rebuilt site's service worker is the same as before")
    takes_over_at_next_visit(driver, server, REBUILT_SITE)


@site_step("two_folders", copy=True)
def site_two_folders(driver, server):
    """Two copies of the site in two folders of one host: when one of them
    is updated, the other keeps its own cache, and its own page."""
    url, copy = server.url, server.copy_url
    installed(driver, copy, SITE)
    installed(driver, url, SITE, kept(copy, SITE))
    server.replace(OTHER_SITE, copy=SITE)
    next_visit(driver, url, OTHER_SITE)
    expect_caches(driver, kept(url, OTHER_SITE), kept(copy, SITE))
    Page(driver, copy)
    expect(shows(driver, SITE), "the copy's page is not its own release")


@site_step("phone")
def site_phone(driver, server):
    """The site on a phone's screen with its keyboard open, upright and
    turned."""
    for width, height in ((360, 300), (640, 300)):
        screen(driver, width, height)
        phone(Page(driver, server.url), width, height)


@site_step("every_size", slow=True)
def site_every_size(driver, server):
    """The site at every size of the grid, as every_size on the page."""
    every_size(Page(driver, server.url), "sizes-site")


def main(arguments):
    if arguments == ["--list"]:
        for name, (_, slow, setup, cleanup, requires) in STEPS.items():
            print(name, "slow" if slow else "-", setup or "-", cleanup or "-", ",".join(requires) or "-")
        return
    global PAGE, NODE_COMMAND, OUTPUT, SITE, OTHER_SITE, REBUILT_SITE, PROFILE
    name, PAGE, NODE_COMMAND, OUTPUT, SITE, OTHER_SITE, REBUILT_SITE = arguments
    PROFILE = pathlib.Path(OUTPUT, "chromium")
    STEPS[name][0]()
    print(f"ok: {name}")


if __name__ == "__main__":
    main(sys.argv[1:])
