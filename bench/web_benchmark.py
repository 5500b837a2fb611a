#!/usr/bin/env python3
"""The web page's size and speed next to the native console's.

Prints a Markdown table: the page's files and their gzip sizes, the first
paint from file://, and for the benchmark strips the median time of a
conversion in the page (from the click on Convert to the new download link,
timed inside the page) next to the
median time of cvellicor converting the same strip with the same options.

    python3 bench/web_benchmark.py PAGE_DIR NATIVE_BUILD_DIR [--runs N]
NATIVE_BUILD_DIR must hold bin/cvellicor and bin/make_strip.
"""
import argparse
import gzip
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
from browser_test import start_chromium  # noqa: E402  (the test's own browser setup)

from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

STRIPS = [("wide-4096", "wide", 4096), ("wide-65536", "wide", 65536),
          ("tall-65536", "tall", 65536)]
WAIT_SECONDS = 300


def sizes(page):
    rows, total, total_gzip = [], 0, 0
    for name in sorted(os.listdir(page)):
        with open(os.path.join(page, name), "rb") as handle:
            data = handle.read()
        packed = len(gzip.compress(data, 9))
        rows.append((name, len(data), packed))
        total += len(data)
        total_gzip += packed
    rows.append(("all", total, total_gzip))
    return rows


def native_median(cvellicor, strip, folder, runs):
    times = []
    for _ in range(runs):
        started = time.perf_counter()
        subprocess.run([cvellicor, "-a", "1", "-o", os.path.join(folder, "font.bdf"), strip],
                       check=True, capture_output=True)
        times.append(time.perf_counter() - started)
    return statistics.median(times)


def page_median(browser, strip, runs):
    status = lambda: browser.find_element(By.ID, "status").text  # noqa: E731
    wait = WebDriverWait(browser, WAIT_SECONDS, poll_frequency=0.01)
    browser.find_element(By.ID, "allowed-blank").clear()
    browser.find_element(By.ID, "allowed-blank").send_keys("1")
    browser.find_element(By.ID, "picture").send_keys(strip)
    wait.until(lambda _: " glyphs, codes " in status())
    times = []
    for _ in range(runs):
        # Timed inside the page, from the click to the new download link, so
        # that WebDriver's own round trips do not count.
        elapsed = browser.execute_async_script("""
            const done = arguments[arguments.length - 1];
            const link = document.getElementById('download');
            const before = link.getAttribute('href');
            const observer = new MutationObserver(() => {
              const href = link.getAttribute('href');
              if (href && href !== before) {
                observer.disconnect();
                done(performance.now() - started);
              }
            });
            observer.observe(link, { attributes: true });
            const started = performance.now();
            document.getElementById('convert').click();""")
        times.append(elapsed / 1000.0)
    return statistics.median(times)


def first_paint(browser, page):
    browser.get("file://" + os.path.join(os.path.abspath(page), "index.html"))
    WebDriverWait(browser, 30).until(lambda _: browser.execute_script(
        "return performance.getEntriesByType('paint').length > 0"))
    return browser.execute_script(
        "const p = performance.getEntriesByType('paint');"
        "return p.length ? p[p.length - 1].startTime : -1;") / 1000.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("page")
    parser.add_argument("native")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    cvellicor = os.path.join(args.native, "bin", "cvellicor")
    make_strip = os.path.join(args.native, "bin", "make_strip")

    print("| file | bytes | gzip -9 |\n|---|---:|---:|")
    for name, size, packed in sizes(args.page):
        print(f"| {name} | {size:,} | {packed:,} |")

    work = tempfile.mkdtemp(prefix="vellicor-web-bench-", dir="/dev/shm" if os.path.isdir(
        "/dev/shm") else None)
    profile = tempfile.mkdtemp(prefix="vellicor-chromium-")
    browser = start_chromium(profile)
    browser.set_script_timeout(WAIT_SECONDS)
    try:
        paints = [first_paint(browser, args.page) for _ in range(args.runs)]
        print(f"\nfirst paint from file://: median {statistics.median(paints) * 1000:.0f} ms "
              f"over {args.runs} loads\n")
        print("| strip | picture bytes | cvellicor | page | page / cvellicor |")
        print("|---|---:|---:|---:|---:|")
        for label, shape, glyphs in STRIPS:
            strip = os.path.join(work, label + ".bmp")
            subprocess.run([make_strip, shape, str(glyphs), strip], check=True,
                           capture_output=True)
            native = native_median(cvellicor, strip, work, args.runs)
            browser.get("file://" + os.path.join(os.path.abspath(args.page), "index.html"))
            page = page_median(browser, strip, args.runs)
            print(f"| {label} | {os.path.getsize(strip):,} | {native * 1000:.0f} ms | "
                  f"{page * 1000:.0f} ms | {page / native:.2f} |")
    finally:
        browser.quit()
    return 0


if __name__ == "__main__":
    sys.exit(main())
