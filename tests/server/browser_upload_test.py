#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A real browser against the world-list server: Chromium uploads a file through the form, then
finds the entry on the list page and through the search. Exit 0 passed, 1 failed, 77 skipped."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import chromium_session  # noqa: E402


def main(server, upload):
    reason = chromium_session.missing()
    if reason:
        print("skipped: " + reason)
        return chromium_session.SKIP
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.wait import WebDriverWait as wait

    with tempfile.TemporaryDirectory() as tmp:
        proc = subprocess.Popen([server, "serve", "--listen", "127.0.0.1:0", "--data-dir", tmp],
                                stdout=subprocess.PIPE, text=True)
        try:
            line = proc.stdout.readline()
            base = line.strip().split("listening on ")[1].rstrip("/")
            with chromium_session.chromium(os.path.join(tmp, "profile")) as browser:
                browser.get(base + "/hochladen")
                browser.find_element(By.ID, "qhs").send_keys(os.path.abspath(upload))
                browser.find_element(By.CSS_SELECTOR, "button[type=submit]").click()
                answer = wait(browser, 10).until(lambda b: b.find_element(By.CSS_SELECTOR, ".meldung")).text
                assert "in die weltweite Bestenliste eingetragen" in answer and "Rang 1" in answer, answer

                # Without a replay the result is ranked among the unproved ones, not on the world list.
                browser.get(base + "/")
                assert browser.find_elements(By.CSS_SELECTOR, "tbody tr") == []
                browser.find_element(By.LINK_TEXT, "Unbewiesen").click()
                wait(browser, 10).until(lambda b: "/unbewiesen" in b.current_url)
                rows = [r.text for r in browser.find_elements(By.CSS_SELECTOR, "tbody tr")]
                assert rows == ["1 Jörg ÄÖÜ 0 0 0 " + rows[0].split()[-1]], rows

                box = browser.find_element(By.ID, "suche")
                box.send_keys("jörg äö")
                box.submit()
                wait(browser, 10).until(lambda b: "suche=" in b.current_url)
                rows = [r.text for r in browser.find_elements(By.CSS_SELECTOR, "tbody tr")]
                assert len(rows) == 1 and rows[0].startswith("1 Jörg ÄÖÜ"), rows

                browser.find_element(By.LINK_TEXT, "Jörg ÄÖÜ").click()
                wait(browser, 10).until(lambda b: "/eintrag/" in b.current_url)
                assert browser.find_element(By.TAG_NAME, "h1").text == "Jörg ÄÖÜ"
                assert "Unbewiesen</a>: ohne Aufzeichnung" in browser.page_source
        finally:
            proc.terminate()
            proc.wait(timeout=10)
    print("passed: uploaded through the form and found on the list")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1], sys.argv[2]))
    except AssertionError as failure:
        print("failed:", failure)
        sys.exit(1)
