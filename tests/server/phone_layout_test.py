#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The world list's pages on a phone: Chromium, as a 390 px wide phone, renders every page with
the longest nicknames and ranks a list can hold, and nothing may stand out past the screen's right
edge (a cut column, a page to scroll sideways). Exit 0 passed, 1 failed, 77 skipped."""
import os
import sqlite3
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import chromium_session  # noqa: E402
WIDTH = 390

# Everything on the page whose right edge lies past the viewport's, and how far the page scrolls.
OVERFLOW = """
const width = document.documentElement.clientWidth;
const out = [];
for (const element of document.querySelectorAll('body *')) {
    const box = element.getBoundingClientRect();
    if (box.width > 0 && box.right > width + 0.5)
        out.push(element.tagName + '.' + element.className + ' "' + element.textContent.slice(0, 30) + '" right ' +
                 Math.round(box.right));
}
return [width, document.documentElement.scrollWidth, out];
"""


def fill(data_dir, server):
    """A list with what makes a page widest: 40-character nicknames without a space, of the widest
    letters, ranks of seven digits, and the oldest result."""
    subprocess.run([server, "export", "--csv", "--data-dir", data_dir], check=True, stdout=subprocess.DEVNULL)
    db = sqlite3.connect(os.path.join(data_dir, "bestenliste.sqlite"))
    rows = []
    for n in range(60):
        nickname = ("W" * 40) if n % 3 == 0 else ("Ü" * 20 + "M" * 20) if n % 3 == 1 else "Jörg"
        rows.append((f"{n:08x}", nickname, nickname.lower(), 28800 - n, 1765000000000 + n, n % 2))
    db.executemany("INSERT INTO entries (upload, nickname, nickname_key, days, uploaded, proved) "
                   "VALUES (?, ?, ?, ?, ?, ?)", rows)
    # Ranks of seven digits on a page further on: the counters say a million better ages before.
    db.execute("INSERT INTO rank_counts VALUES (1, 0, 1, 2000000) "
               "ON CONFLICT (level, bucket, proved) DO UPDATE SET entries = entries + 2000000")
    db.commit()
    db.close()


def main(server):
    reason = chromium_session.missing()
    if reason:
        print("skipped: " + reason)
        return chromium_session.SKIP

    with tempfile.TemporaryDirectory() as tmp:
        data = os.path.join(tmp, "data")
        fill(data, server)
        proc = subprocess.Popen([server, "serve", "--listen", "127.0.0.1:0", "--data-dir", data],
                                stdout=subprocess.PIPE, text=True)
        try:
            base = proc.stdout.readline().strip().split("listening on ")[1].rstrip("/")
            phone = {"width": WIDTH, "height": 844, "pixelRatio": 3.0, "touch": True}
            failures = []
            with chromium_session.chromium(os.path.join(tmp, "profile"), phone=phone) as browser:
                for path in ("/", "/unbewiesen", "/?suche=www", "/eintrag/1", "/hochladen",
                             "/eintrag/99999"):
                    browser.get(base + path)
                    width, scroll_width, out = browser.execute_script(OVERFLOW)
                    if width != WIDTH:
                        failures.append(f"{path}: the page is laid out {width} px wide, not as a phone's "
                                        f"{WIDTH} px (is the viewport meta tag missing?)")
                    if scroll_width > width or out:
                        failures.append(f"{path}: {scroll_width} px wide on a {width} px screen: {out[:5]}")
                    rows = browser.execute_script("return document.querySelectorAll('tbody tr').length")
                    if path.startswith(("/?", "/unbewiesen")) and rows == 0:
                        failures.append(f"{path}: no entries shown")
            assert not failures, "\n".join(failures)
        finally:
            proc.terminate()
            proc.wait(timeout=10)
    print(f"passed: every page fits a {WIDTH} px phone")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1]))
    except AssertionError as failure:
        print("failed:", failure)
        sys.exit(1)
