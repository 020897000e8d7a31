#!/usr/bin/python3
"""The page in headless Chromium against the native release program.

For the largest count: the time from sending the count to the report line
shown in the page, beside the native program's wall time for the same run
(input from a file, output to /dev/null), in alternating rounds; then the
time from loading the page to its first prompt, the page's JavaScript heap
after the largest count, and the size of the page file.

With SITE, the web site as well, installed from a web host on 127.0.0.1
and then served offline by its service worker: its largest count in the
same rounds, the first prompt after navigation in 9 loads, its heap, and
the sizes of the site and its page.

Each figure with its target, from host/page/budget.json.

    page.py PAGE NATIVE_PROGRAM [ROUNDS [SITE]]
"""

import json
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

# The browser test's web host on 127.0.0.1.
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "tests" / "browser"))
from site_server import SiteServer  # noqa: E402

BUDGET = json.loads((pathlib.Path(__file__).resolve().parents[1] / "host" / "page" / "budget.json").read_text())
PAGE, NATIVE = sys.argv[1:3]
ROUNDS = int(sys.argv[3]) if len(sys.argv) > 3 else 7
SITE = sys.argv[4] if len(sys.argv) > 4 else None
LOADS = 9  # of the offline site, for its first prompt
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


def first_prompt(driver, url):
    """Loads the page; milliseconds from navigation to the first prompt."""
    driver.get(url)
    while "prompt" not in driver.execute_script("return window.seen"):
        time.sleep(0.01)
    return driver.execute_script("return window.seen.prompt")


def page_run(driver, url):
    """Loads the page, answers 1 1 1, and times the largest count."""
    prompt = first_prompt(driver, url)
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
    return elapsed / 1000, prompt, heap


def offline_site(driver):
    """Installs the site from a web host, which then goes away; the site's
    address, now served by its service worker alone."""
    server = SiteServer(SITE)
    driver.get(server.url)
    driver.execute_async_script("navigator.serviceWorker.ready.then(() => arguments[0]())")
    driver.get(server.url)
    assert driver.execute_script("return navigator.serviceWorker.controller !== null")
    driver.execute_async_script(
        "navigator.serviceWorker.getRegistration().then((r) => r.update()).then(() => arguments[0]())")
    server.stop()
    return server.url


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
        driver.set_script_timeout(30)
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH})
        urls = {"page": pathlib.Path(PAGE).resolve().as_uri()}
        times = {"native": [], "page": [], "site": []}
        prompts = {"page": [], "site": []}
        heaps = {"page": [], "site": []}
        try:
            if SITE:
                urls["site"] = offline_site(driver)
            order = ["native", *urls]
            for round_number in range(ROUNDS):
                # Each program starts a round in turn.
                for which in order[round_number % len(order):] + order[:round_number % len(order)]:
                    if which == "native":
                        times["native"].append(native_run(answers.name))
                    else:
                        elapsed, prompt, heap = page_run(driver, urls[which])
                        times[which].append(elapsed)
                        prompts[which].append(prompt)
                        heaps[which].append(heap)
            if SITE:
                prompts["site"] = [first_prompt(driver, urls["site"]) for _ in range(LOADS)]
        finally:
            driver.quit()
    native = statistics.median(times["native"])
    page = statistics.median(times["page"])
    ratio, prompt, heap = (BUDGET["largest_count_times_native"], f"target: within {BUDGET['first_prompt_ms']} ms",
                           f"target: below {BUDGET['heap_mib']} MiB")
    print(f"input 1 1 1 2147483647, medians of {ROUNDS} rounds")
    print(f"native program (file in, /dev/null out)  wall {native:6.3f} s")
    print(f"page, count sent to report shown         wall {page:6.3f} s")
    print(f"ratio page / native: {page / native:.3f} (target: at most {ratio} times)")
    print(f"first prompt after loading: {statistics.median(prompts['page']):.0f} ms "
          f"(slowest {max(prompts['page']):.0f} ms; {prompt})")
    print(f"page's JavaScript heap after the largest count: {max(heaps['page']) / 2**20:.1f} MiB at most ({heap})")
    print(f"page file: {pathlib.Path(PAGE).stat().st_size / 1024:.1f} KiB (target: at most {BUDGET['page_kib']} KiB)")
    if SITE:
        site = statistics.median(times["site"])
        files = [path for path in pathlib.Path(SITE).iterdir() if path.is_file()]
        print("web site, offline from its service worker's cache:")
        print(f"  count sent to report shown              wall {site:6.3f} s")
        print(f"  ratio site / native: {site / native:.3f} (target: at most {ratio} times)")
        print(f"  first prompt after navigation: {statistics.median(prompts['site']):.0f} ms, median of {LOADS}"
              f" loads (slowest {max(prompts['site']):.0f} ms; {prompt})")
        print(f"  JavaScript heap after the largest count: {max(heaps['site']) / 2**20:.1f} MiB at most ({heap})")
        index = pathlib.Path(SITE, "index.html").stat().st_size
        print(f"  whole site {sum(path.stat().st_size for path in files) / 1024:.1f} KiB (target: {BUDGET['site_kib']} "
              f"KiB), index.html {index / 1024:.1f} KiB (target: at most {BUDGET['page_kib']} KiB)")


if __name__ == "__main__":
    main()
