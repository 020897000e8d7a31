#!/usr/bin/python3
"""The page in headless Chromium against the native release program.

For the largest count: the time from sending the count to the report line
shown in the page, beside the native program's wall time for the same run
(input from a file, output to /dev/null), in alternating rounds; then the
time from loading the page to its first prompt, the page's JavaScript heap
after the largest count, and the size of the page file.

    page.py PAGE NATIVE_PROGRAM [ROUNDS]
"""

import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

PAGE, NATIVE = sys.argv[1:3]
ROUNDS = int(sys.argv[3]) if len(sys.argv) > 3 else 7
REPORT = "2147483647 Tage nach dem 1. 1. 1 ist der 12. 7. 5879611."

# Records when the first prompt and the report line are first in the page.
WATCH = """
window.seen = {};
new MutationObserver(() => {
    const lines = document.querySelectorAll('#transcript .out');
    const text = lines.length > 0 ? lines[lines.length - 1].textContent : '';
    for (const [name, part] of [['prompt', 'Tag:'], ['report', ' ist der ']]) {
        if (!(name in window.seen) && text.includes(part)) {
            window.seen[name] = performance.now();
        }
    }
}).observe(document, { childList: true, subtree: true, characterData: true });
"""


def native_run(answers):
    start = time.perf_counter()
    with open(answers) as given, open(os.devnull, "w") as discarded:
        subprocess.run([NATIVE], stdin=given, stdout=discarded, check=True)
    return time.perf_counter() - start


def page_run(driver):
    """Loads the page, answers 1 1 1, and times the largest count."""
    driver.get(pathlib.Path(PAGE).resolve().as_uri())
    while "prompt" not in driver.execute_script("return window.seen"):
        time.sleep(0.01)
    first_prompt = driver.execute_script("return window.seen.prompt")
    driver.execute_script("""
        const field = document.getElementById('line');
        field.value = '1 1 1 2147483647';
        window.sent = performance.now();
        document.getElementById('answer').requestSubmit();""")
    while "report" not in driver.execute_script("return window.seen"):
        time.sleep(0.02)
    elapsed, heap, report = driver.execute_script("""
        return [window.seen.report - window.sent, performance.memory.usedJSHeapSize,
                [...document.querySelectorAll('#transcript .out')].pop().textContent];""")
    assert report == REPORT, report
    return elapsed / 1000, first_prompt, heap


def main():
    options = Options()
    options.binary_location = "/usr/bin/chromium"
    with tempfile.TemporaryDirectory() as profile, tempfile.NamedTemporaryFile("w") as answers:
        answers.write("1\n1\n1\n2147483647\nx\n")
        answers.flush()
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                         "--no-first-run", "--disable-background-networking",
                         "--disable-component-update", "--disable-sync",
                         "--enable-precise-memory-info", f"--user-data-dir={profile}"):
            options.add_argument(argument)
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
        native, page, prompts, heaps = [], [], [], []
        try:
            for round_number in range(ROUNDS):
                for which in ("native", "page") if round_number % 2 == 0 else ("page", "native"):
                    if which == "native":
                        native.append(native_run(answers.name))
                    else:
                        elapsed, prompt, heap = page_run(driver)
                        page.append(elapsed)
                        prompts.append(prompt)
                        heaps.append(heap)
        finally:
            driver.quit()
    print(f"input 1 1 1 2147483647, medians of {ROUNDS} rounds")
    print(f"native program (file in, /dev/null out)  wall {statistics.median(native):6.3f} s")
    print(f"page, count sent to report shown         wall {statistics.median(page):6.3f} s")
    print(f"ratio page / native: {statistics.median(page) / statistics.median(native):.3f}")
    print(f"first prompt after loading: {statistics.median(prompts):.0f} ms (slowest {max(prompts):.0f} ms)")
    print(f"page's JavaScript heap after the largest count: {max(heaps) / 2**20:.1f} MiB at most")
    print(f"page file: {pathlib.Path(PAGE).stat().st_size / 1024:.1f} KiB")


if __name__ == "__main__":
    main()
