# SPDX-License-Identifier: GPL-3.0-or-later
"""Headless Chromium through python3-selenium and chromium-driver, started the same way by every
browser test: a private profile, no first-run pages, no calls home. The tests skip (exit 77) when
the machine lacks one of the three."""
import contextlib
import shutil

SKIP = 77

# What every test's Chromium runs with; a test adds its own flags.
BASE_FLAGS = ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
              "--disable-component-update", "--disable-sync")


def missing():
    """Why Chromium cannot be driven here, or None when it can."""
    try:
        import selenium.webdriver  # noqa: F401
    except ImportError:
        return "python3-selenium is not installed"
    if not shutil.which("chromium") or not shutil.which("chromedriver"):
        return "chromium or chromium-driver is not installed"
    return None


@contextlib.contextmanager
def chromium(profile, flags=(), phone=None, browser_log=False):
    """A headless Chromium with its profile in the folder `profile`, quit when the block ends.
    `phone` emulates a phone's screen (its deviceMetrics); `browser_log` keeps the page's console
    for browser.get_log("browser")."""
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for flag in BASE_FLAGS + tuple(flags) + ("--user-data-dir=" + profile,):
        options.add_argument(flag)
    if phone:
        options.add_experimental_option("mobileEmulation", {"deviceMetrics": phone})
    if browser_log:
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    browser = webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
    try:
        yield browser
    finally:
        browser.quit()
