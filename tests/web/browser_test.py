#!/usr/bin/env python3
"""The web page in headless Chromium, opened from file:// as a user would.

It chooses the sample picture, types the character list, converts, and
compares the downloaded font byte for byte with what cvellicor writes for the
same options; a list the engine refuses must show the console's own message.
It saves a picture of the page after the conversion as docs/web.png (the
README's), or where --screenshot says.

    python3 tests/web/browser_test.py PAGE_DIR CVELLICOR [--screenshot FILE]
"""
import argparse
import base64
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SAMPLE = os.path.join(ROOT, "examples", "ascii.bmp")
# The README's sample conversion: a real space first, then '!' to '~'.
SAMPLE_CHARS = " " + "".join(chr(code) for code in range(33, 127))
SAMPLE_FIELDS = {"font-name": "Vellicor Sample", "allowed-blank": "1", "descent": "2",
                 "trailing-blank": "1"}
SAMPLE_OPTIONS = ["-f", "Vellicor Sample", "-a", "1", "-d", "2", "-r", "1"]
# The README's grid: a console font drawn in 8 x 16 cells, as a PNG.
GRID = os.path.join(ROOT, "examples", "ascii_grid.png")
GRID_FIELDS = {"font-name": "Vellicor Grid", "descent": "2", "grid": "8x16", "grid-origin": "1,1",
               "grid-gap": "1,1"}
GRID_OPTIONS = ["-f", "Vellicor Grid", "-d", "2", "--grid", "8x16", "--grid-origin", "1,1",
                "--grid-gap", "1,1", "--ink", "dark", "--charset", "ascii"]
WAIT_SECONDS = 60

ARGS = None


def start_chromium(user_data_dir):
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
    # Headless as root on a machine without network: no sandbox, no GPU and
    # none of the background connections the browser would make at start.
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--disable-quic", "--no-first-run",
                 "--window-size=1280,860", "--user-data-dir=" + user_data_dir):
        options.add_argument(flag)
    service = Service(shutil.which("chromedriver") or "/usr/bin/chromedriver")
    return webdriver.Chrome(service=service, options=options)


def run_console(options, picture, folder):
    """cvellicor on a copy of picture in folder: (exit status, output, font bytes or None)."""
    copy = os.path.join(folder, os.path.basename(picture))
    shutil.copyfile(picture, copy)
    run = subprocess.run([ARGS.cvellicor, *options, copy], capture_output=True, text=True,
                         check=False)
    font = os.path.splitext(copy)[0] + ".bdf"
    data = None
    if os.path.exists(font):
        with open(font, "rb") as handle:
            data = handle.read()
    return run.returncode, run.stdout.strip(), data


class WebPageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.profile = tempfile.mkdtemp(prefix="vellicor-chromium-")
        cls.folder = tempfile.mkdtemp(prefix="vellicor-web-")
        cls.browser = start_chromium(cls.profile)
        cls.browser.get("file://" + os.path.join(os.path.abspath(ARGS.page), "index.html"))

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        shutil.rmtree(cls.profile, ignore_errors=True)
        shutil.rmtree(cls.folder, ignore_errors=True)

    def element(self, name):
        return self.browser.find_element(By.ID, name)

    def status(self):
        return self.element("status").text.strip()

    def wait_for(self, condition, what):
        try:
            return WebDriverWait(self.browser, WAIT_SECONDS, poll_frequency=0.05).until(
                lambda _: condition())
        except Exception as error:  # the page's state tells more than the timeout
            self.fail(f"waited {WAIT_SECONDS} s for {what}; status: {self.status()!r} ({error})")

    def fill(self, fields, chars):
        for name in ("font-name", "first-code", "allowed-blank", "descent", "upper-blank",
                     "lower-blank", "leading-blank", "trailing-blank", "blank-advance", "grid",
                     "grid-origin", "grid-gap"):
            box = self.element(name)
            # A field that cannot go with the others is disabled, and empty.
            if not box.is_enabled() and not fields.get(name):
                continue
            box.clear()
            if fields.get(name):
                box.send_keys(fields[name])
        box = self.element("chars")
        box.clear()
        box.send_keys(chars)

    def choose_sample(self):
        self.element("picture").send_keys(SAMPLE)

    def wait_for_cut(self, expected):
        """Waits until the status line reads expected (a cut runs after every change)."""
        self.wait_for(lambda: self.status() == expected, f"the status {expected!r}")

    def convert(self):
        """Clicks #convert; returns the download link's address before the click."""
        before = self.element("download").get_attribute("href") or ""
        self.element("convert").click()
        return before

    def download_bytes(self, before):
        """The font behind the download link, once it is a new one."""
        def fresh_link():
            href = self.element("download").get_attribute("href") or ""
            return href.startswith("blob:") and href != before and self.element("download")
        link = self.wait_for(fresh_link, "the download link")
        # The link's blob, read back in the page as base64.
        encoded = self.browser.execute_async_script(
            """const done = arguments[arguments.length - 1];
            fetch(arguments[0]).then((r) => r.arrayBuffer()).then((buffer) => {
              let text = '';
              const bytes = new Uint8Array(buffer);
              for (let i = 0; i < bytes.length; i += 0x8000)
                text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
              done(btoa(text));
            }).catch((error) => done('failed: ' + error));""", link.get_attribute("href"))
        self.assertFalse(encoded.startswith("failed"), encoded)
        return link.get_attribute("download"), base64.b64decode(encoded)

    def test_1_sample_font_matches_the_console(self):
        self.choose_sample()
        self.fill(SAMPLE_FIELDS, SAMPLE_CHARS)
        self.wait_for_cut("95 glyphs, codes 32 to 126")
        name, data = self.download_bytes(self.convert())
        status, output, expected = run_console(SAMPLE_OPTIONS + ["--chars", SAMPLE_CHARS],
                                                SAMPLE, self.folder)
        self.assertEqual(status, 0, output)
        self.assertEqual(name, "ascii.bdf")
        self.assertEqual(data, expected, "the page's font differs from cvellicor's")
        self.assertIn("written to ascii.bdf", self.status())
        if ARGS.screenshot:
            # The page from its top: the fields, the cut and the finished font.
            self.browser.execute_script("window.scrollTo(0, 0)")
            self.browser.save_screenshot(ARGS.screenshot)

    def test_2_refused_list_shows_the_console_message(self):
        self.choose_sample()
        self.fill(SAMPLE_FIELDS, "aa")
        status, output, _ = run_console(SAMPLE_OPTIONS + ["--chars", "aa"], SAMPLE, self.folder)
        self.assertEqual(status, 1)
        self.wait_for_cut(output)
        self.convert()
        self.wait_for(lambda: not self.element("download").get_attribute("href"),
                      "the download link to go")
        self.assertEqual(self.status(), output)

    def test_3_plain_conversion_matches_the_console(self):
        self.choose_sample()
        self.fill({}, "")
        self.wait_for_cut("95 glyphs, codes 0 to 94")
        _, data = self.download_bytes(self.convert())
        status, output, expected = run_console([], SAMPLE, self.folder)
        self.assertEqual(status, 0, output)
        self.assertEqual(data, expected, "the page's plain font differs from cvellicor's")

    def test_4_png_grid_matches_the_console(self):
        """A PNG, decoded in the page by its own decoder, still gives the same bytes."""
        self.element("picture").send_keys(GRID)
        self.fill(GRID_FIELDS, "")
        Select(self.element("ink")).select_by_value("dark")
        Select(self.element("charset")).select_by_value("ascii")
        self.wait_for_cut("95 glyphs, codes 32 to 126")
        name, data = self.download_bytes(self.convert())
        status, output, expected = run_console(GRID_OPTIONS, GRID, self.folder)
        self.assertEqual(status, 0, output)
        self.assertEqual(name, "ascii_grid.bdf")
        self.assertEqual(data, expected, "the page's grid font differs from cvellicor's")


def main():
    global ARGS
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("page", help="the folder tools/build_web.sh built")
    parser.add_argument("cvellicor", help="the console program to compare with")
    parser.add_argument("--screenshot", default=os.path.join(ROOT, "docs", "web.png"),
                        help="where the picture of the page goes (default: docs/web.png)")
    ARGS, rest = parser.parse_known_args()
    started = time.monotonic()
    result = unittest.main(argv=[sys.argv[0], "-v", *rest], exit=False).result
    print(f"browser test: {time.monotonic() - started:.1f} s")
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
