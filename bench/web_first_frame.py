#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# How long a visitor waits for the browser game: the time from opening /spielen/ to the first title
# picture on the canvas (median of several page loads, first visits with an empty browser cache and
# return visits with a full one), and how many bytes the world-list server sends for it, compressed.
# Usage: web_first_frame.py DIST BESTENLISTE [RUNS]   (DIST from scripts/build-web.sh)
import os
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import chromium_session  # noqa: E402

# Runs in the page before its own scripts: at every animation frame it draws the canvas small and
# notes the moment when more than 5 % of it is lit, the title picture, on the page's own clock
# (milliseconds since the navigation began).
WATCH_FIRST_FRAME = r"""
(function () {
  var small = document.createElement('canvas');
  small.width = 64; small.height = 48;
  var g = small.getContext('2d', { willReadFrequently: true });
  function look() {
    var c = document.getElementById('canvas');
    if (c) {
      g.drawImage(c, 0, 0, 64, 48);
      var d = g.getImageData(0, 0, 64, 48).data, lit = 0;
      for (var i = 0; i < d.length; i += 4) if (Math.max(d[i], d[i + 1], d[i + 2]) > 24) ++lit;
      if (lit > 64 * 48 * 0.05) { window.vorlanixFirstFrame = performance.now(); return; }
    }
    requestAnimationFrame(look);
  }
  requestAnimationFrame(look);
})();
"""


def served_sizes(base, names):
    """What the server sends for each file to a browser that accepts gzip."""
    sizes = {}
    for name in names:
        request = urllib.request.Request(base + "/spielen/" + name, headers={"Accept-Encoding": "gzip"})
        with urllib.request.urlopen(request, timeout=60) as answer:
            sizes[name] = (len(answer.read()), answer.headers.get("Content-Encoding") or "-")
    return sizes


def first_frame(browser, base, fresh):
    if fresh:
        browser.execute_cdp_cmd("Network.clearBrowserCache", {})
        browser.execute_cdp_cmd("Storage.clearDataForOrigin", {"origin": base, "storageTypes": "all"})
    browser.get("about:blank")
    browser.get(base + "/spielen/")
    end = time.time() + 120
    while time.time() < end:
        seen = browser.execute_script("return window.vorlanixFirstFrame || null;")
        if seen is not None:
            sent = browser.execute_script(
                "return performance.getEntriesByType('resource').concat(performance.getEntriesByType('navigation'))"
                ".reduce(function (sum, e) { return sum + (e.transferSize || 0); }, 0);")
            return seen / 1000.0, sent
        time.sleep(0.02)
    raise RuntimeError("no title picture within 120 s")


def main(dist, bestenliste, runs=5):
    with tempfile.TemporaryDirectory() as tmp:
        server = subprocess.Popen([bestenliste, "serve", "--listen", "127.0.0.1:0", "--data-dir", tmp,
                                   "--web-dir", dist], stdout=subprocess.PIPE, text=True)
        try:
            base = server.stdout.readline().strip().split("listening on ")[1].rstrip("/")
            sizes = served_sizes(base, sorted(os.listdir(dist)))
            flags = ("--enable-unsafe-swiftshader", "--disable-quic", "--window-size=1400,1200")
            with chromium_session.chromium(os.path.join(tmp, "profile"), flags) as browser:
                browser.execute_cdp_cmd("Network.enable", {})
                browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": WATCH_FIRST_FRAME})
                first, back, sent = [], [], []
                for _ in range(runs):
                    seconds, transferred = first_frame(browser, base, fresh=True)
                    first.append(seconds)
                    sent.append(transferred)
                    back.append(first_frame(browser, base, fresh=False)[0])
        finally:
            server.terminate()
            server.wait(timeout=10)

    print("served by the world-list server (bytes sent, encoding):")
    for name, (size, encoding) in sizes.items():
        print("  %-40s %9d  %s" % (name, size, encoding))
    print("figure: download %d bytes compressed (the browser counted %d on a first visit)"
          % (sum(size for size, _ in sizes.values()), statistics.median(sent)))
    print("figure: first title frame, first visit:  median %.2f s of %d (%.2f .. %.2f)"
          % (statistics.median(first), runs, min(first), max(first)))
    print("figure: first title frame, return visit: median %.2f s of %d (%.2f .. %.2f)"
          % (statistics.median(back), runs, min(back), max(back)))
    return 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: web_first_frame.py DIST BESTENLISTE [RUNS]")
    sys.exit(main(sys.argv[1], sys.argv[2], *(int(a) for a in sys.argv[3:4])))
