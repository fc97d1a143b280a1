#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser game in a real Chromium, served by the world-list server: the page loads without
console errors and shows the title, sharp at the largest whole scale, also in fullscreen; a tap
and clicks reach the menu and start a game, which locks the pointer until Escape frees it; the
game runs to its result page, the result enters the list and an upload file is written and
offered; a new tab, as after closing this one, finds the game's replay already saved and offers
it; Escape never reaches the game and the End key quits it, keeping the game's replay, which the
page offers too; hiscore.dat and the replay survive a reload; the game's replay re-simulates in
sync on the Linux build and proves on the server; the entry's "Ansehen" plays it back. Prints the time to the first title picture as a figure.
Usage: browser_game_test.py DIST VORLANIX BESTENLISTE.  Exit 0 passed, 1 failed, 77 skipped."""
import base64
import json
import os
import struct
import subprocess
import sys
import tempfile
import time
import urllib.request
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import chromium_session  # noqa: E402


def png_pixels(data):
    """Width, height and the rows of an 8-bit RGB or RGBA PNG (what Chromium's screenshots are)."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), (depth, colour)
            step = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, rows, prev = zlib.decompress(idat), width * step, [], bytearray(width * step)
    for y in range(height):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - step] if i >= step else 0
            b, c = prev[i], prev[i - step] if i >= step else 0
            if f == 1: line[i] = (line[i] + a) & 255
            elif f == 2: line[i] = (line[i] + b) & 255
            elif f == 3: line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, step, rows


def lit_share(png):
    """The share of pixels that are not (nearly) black."""
    width, height, step, rows = png_pixels(png)
    lit = sum(1 for row in rows for x in range(0, width * step, step) if max(row[x:x + 3]) > 24)
    return lit / float(width * height)


def main(dist, vorlanix, bestenliste):
    reason = chromium_session.missing()
    if reason:
        print("skipped: " + reason)
        return chromium_session.SKIP
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.wait import WebDriverWait as wait

    with tempfile.TemporaryDirectory() as tmp:
        proc = subprocess.Popen([bestenliste, "serve", "--listen", "127.0.0.1:0", "--data-dir", tmp,
                                 "--web-dir", dist], stdout=subprocess.PIPE, text=True)
        try:
            base = proc.stdout.readline().strip().split("listening on ")[1].rstrip("/")
            flags = ("--disable-quic", "--autoplay-policy=no-user-gesture-required", "--window-size=1400,1200",
                     "--enable-unsafe-swiftshader")
            with chromium_session.chromium(os.path.join(tmp, "profile"), flags, browser_log=True) as browser:
                try:
                    return play(browser, base, tmp, vorlanix, By, Keys, ActionChains, wait)
                except Exception:
                    # What the page and the program said tells most about a failure in CI.
                    for entry in browser.get_log("browser")[-40:]:
                        print("browser: %s %s" % (entry["level"], entry["message"][:300]))
                    raise
        finally:
            proc.terminate()
            proc.wait(timeout=10)


def check_sharp_fit(browser):
    """The picture is the largest whole multiple of 640 x 480 the stage holds, drawn with hard edges."""
    width, height, rendering, room_w, room_h = browser.execute_script(
        "var c = document.getElementById('canvas'), s = document.getElementById('buehne');"
        "var r = c.getBoundingClientRect();"
        "return [r.width, r.height, getComputedStyle(c).imageRendering, s.clientWidth, s.clientHeight];")
    factor = width / 640.0
    assert factor >= 1 and factor == int(factor) and height == 480 * factor, (width, height)
    assert rendering == "pixelated", rendering
    assert width <= room_w and height <= room_h, (width, height, room_w, room_h)
    assert 640 * (factor + 1) > room_w or 480 * (factor + 1) > room_h, (factor, room_w, room_h)


def eventually(check, seconds, what):
    """Runs check until it passes; its last failure tells what was missing after the deadline."""
    end = time.time() + seconds
    while True:
        try:
            return check()
        except AssertionError as failure:
            if time.time() > end:
                raise AssertionError("waited %d s for %s: %s" % (seconds, what, failure))
        time.sleep(0.1)


def press(browser, key):
    """A key pressed on the keyboard: it passes through the browser itself, which keeps Escape for
    freeing the pointer, before the page sees it."""
    code = {"Escape": 27, "End": 35}[key]
    for kind in ("rawKeyDown", "keyUp"):
        browser.execute_cdp_cmd("Input.dispatchKeyEvent", {"type": kind, "key": key, "code": key,
                                                           "windowsVirtualKeyCode": code,
                                                           "nativeVirtualKeyCode": code})


def console_errors(browser):
    return [e["message"] for e in browser.get_log("browser") if e["level"] == "SEVERE"]


def state(browser):
    return browser.execute_async_script(
        "var done = arguments[0]; vorlanixState().then(done, function (e) { done({error: String(e)}); });")


def wait_state(browser, test, seconds, what):
    end = time.time() + seconds
    while time.time() < end:
        s = state(browser)
        if "error" not in s and test(s):
            return s
        time.sleep(0.2)
    raise AssertionError("waited %d s for %s; state: Modus %s AktMenue %s" % (seconds, what, s.get("Modus"),
                                                                             s.get("AktMenue")))


def after_frames(browser, count):
    """The state once the program has shown count more frames: what it did with an input by then."""
    start = state(browser)["frames"]
    return wait_state(browser, lambda s: s["frames"] >= start + count, 20, "%d more frames" % count)


def read_file(browser, path):
    encoded = browser.execute_script(
        "var b = Module.FS.readFile(arguments[0]); var s = '';"
        "for (var i = 0; i < b.length; ++i) s += String.fromCharCode(b[i]); return btoa(s);", path)
    return base64.b64decode(encoded)


def list_files(browser, dir):
    return browser.execute_script(
        "try { return Module.FS.readdir(arguments[0]).filter(function (n) { return n[0] !== '.'; }); }"
        "catch (e) { return []; }", dir)


def play(browser, base, tmp, vorlanix, By, Keys, ActionChains, wait):
    browser.set_script_timeout(30)
    opened = time.time()
    browser.get(base + "/spielen/")
    canvas = browser.find_element(By.ID, "canvas")
    # The title: the first frame that is not black.
    while lit_share(canvas.screenshot_as_png) < 0.05:
        assert time.time() - opened < 60, "no title picture after 60 s"
        time.sleep(0.05)
    first_frame = time.time() - opened
    assert browser.find_element(By.ID, "laden").is_displayed() is False
    assert console_errors(browser) == [], console_errors(browser)
    s = state(browser)
    assert s["Modus"] == 1, s["Modus"]
    check_sharp_fit(browser)

    # The fullscreen button gives the stage the whole screen and takes it back; the picture stays sharp.
    body = browser.find_element(By.TAG_NAME, "body")
    # In fullscreen the stage covers the button; the browser's own way out ends it there.
    for want in ("buehne", None):
        if want:
            browser.find_element(By.ID, "vollbild").click()
        else:
            browser.execute_script("document.exitFullscreen();")
        wait(browser, 10).until(lambda b: b.execute_script(
            "var f = document.fullscreenElement; return f ? f.id : null;") == want)
        eventually(lambda: check_sharp_fit(browser), 10, "the picture to fit the stage")

    def click(x, y):
        # Selenium's offsets count from the element's centre, in page pixels.
        w, h = canvas.size["width"], canvas.size["height"]
        ActionChains(browser).move_to_element_with_offset(canvas, (x + 0.5) * w / 640 - w / 2,
                                                          (y + 0.5) * h / 480 - h / 2).click().perform()

    def tap(x, y):
        box = browser.execute_script("var r = arguments[0].getBoundingClientRect();"
                                     "return [r.left, r.top, r.width, r.height];", canvas)
        point = {"x": box[0] + (x + 0.5) * box[2] / 640, "y": box[1] + (y + 0.5) * box[3] / 480}
        browser.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [point]})
        browser.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []})

    def locked():
        return browser.execute_script("return document.pointerLockElement === arguments[0];", canvas)

    def shoot():
        # A shot at the centre of the lens voids the game: aim at the quarter of the picture
        # farthest from it and shoot once the crosshair is clear of it.
        def aim():
            s = state(browser)
            lens = (s["PlanetSchirmX"][0] + 5, s["PlanetSchirmY"][0] - 6)
            x, y = max(((160, 120), (480, 120), (160, 360), (480, 360)),
                       key=lambda p: (p[0] - lens[0]) ** 2 + (p[1] - lens[1]) ** 2)
            w, h = canvas.size["width"], canvas.size["height"]
            ActionChains(browser).move_to_element_with_offset(canvas, (x + 0.5) * w / 640 - w / 2,
                                                              (y + 0.5) * h / 480 - h / 2).perform()
            s = after_frames(browser, 2)
            aimed, lens = s["MausPos"], (s["PlanetSchirmX"][0] + 5, s["PlanetSchirmY"][0] - 6)
            assert (aimed[0] - lens[0]) ** 2 + (aimed[1] - lens[1]) ** 2 > 100 ** 2, ("near the lens", aimed, lens)

        eventually(aim, 20, "the crosshair clear of the lens")
        ActionChains(browser).click().perform()

    def lock_by_shooting(what):
        # Chromium refuses a new lock for a moment after Escape freed the last one: shoot again then.
        def attempt():
            shoot()
            end = time.time() + 2
            while not locked() and time.time() < end:
                time.sleep(0.05)
            assert locked(), "the shot did not lock the pointer"

        eventually(attempt, 30, what)

    # A tap on a touch screen is a click: it opens the menu.
    tap(300, 200)
    wait_state(browser, lambda s: s["Modus"] == 2, 20, "the menu after a tap")
    click(120, 100)
    wait_state(browser, lambda s: s["Modus"] == -1, 20, "a game")
    # Browsers lock the pointer only in answer to a click: the first shot of the game locks it.
    # Escape frees it without ending the game, and the next click in the picture locks it again.
    lock_by_shooting("the first shot to lock the pointer")
    press(browser, "Escape")
    wait(browser, 10).until(lambda b: not locked())
    assert after_frames(browser, 10)["Modus"] == -1, "Escape ended the game"
    lock_by_shooting("a shot to lock the pointer again after Escape")
    # A few shots, a second of the game's clock apart, while it runs down.
    for _ in range(6):
        tick = state(browser)["tick"]
        s = wait_state(browser, lambda s: s["tick"] - tick >= 1000 or s["Modus"] != -1, 20, "a second of play")
        if s["Modus"] != -1:
            break
        shoot()
    assert state(browser)["SpielUngueltig"] == 0, "a shot voided the game"
    s = wait_state(browser, lambda s: s["AktMenue"] == 8 and s["EndeAnimationLaeuft"] == 0, 200, "the result page")
    days = s["Ergebnis"] // 3632
    listed = s["NeuerRang"] <= 8
    # Outside a game the system pointer is free again.
    wait(browser, 10).until(lambda b: not locked())
    body.send_keys("Max")
    wait_state(browser, lambda s: s["SpielerName"] == "Max", 10, "the typed name")
    click(368, 305)
    wait_state(browser, lambda s: s["AktMenue"] == 9, 20, "the upload form")
    for k, text in enumerate(["Max", "Mustermann", "Maximilian", "1.1.1990", "Hauptstrasse 1", "12345", "Koeln",
                              "max@example.org"]):
        body.send_keys(text)
        if k < 7:
            body.send_keys(Keys.TAB)
    wait_state(browser, lambda s: s["FeldText"][8] == "max@example.org", 10, "the filled form")
    click(368, 305)
    wait_state(browser, lambda s: s["AktMenue"] == 11, 20, "the page after writing the upload file")
    click(330, 300)
    wait_state(browser, lambda s: s["AktMenue"] == 4, 20, "the list after the message")

    # The game writes its upload file into UpLoad when that folder exists, else beside hiscore.dat.
    found = [(d, f) for d in ("/vorlanix/UpLoad", "/vorlanix") for f in list_files(browser, d) if f.endswith(".qhs")]
    assert len(found) == 1, ("upload files", found)
    upload = found[0][1]
    qhs = read_file(browser, "/".join(found[0]))
    # The page offers the upload file for download as soon as it is written.
    wait(browser, 10).until(lambda b: b.find_element(By.ID, "dateien").is_displayed())

    def offered():
        return [a.get_attribute("download") for a in browser.find_elements(By.CSS_SELECTOR, "#dateiliste a")]

    assert upload in offered(), offered()

    # The game's replay is saved when the game ends and again after every file its result page
    # writes, not only when the next game starts: a tab opened now, as after closing this one,
    # finds it beside the upload file and offers it, and it repeats the game on the Linux build.
    wait(browser, 10).until(lambda b: "last.vxr" in list_files(b, "/vorlanix/replays")
                            and b.execute_script("return !Module.savingData();"))
    game_tab = browser.current_window_handle
    browser.switch_to.new_window("tab")
    browser.get(base + "/spielen/")
    wait(browser, 60).until(lambda b: b.execute_script(
        "return !!(window.Module && Module.FS && document.getElementById('laden').hidden)"))

    def saved_replay_offered():
        assert "last.vxr" in offered() and upload in offered(), offered()

    eventually(saved_replay_offered, 10, "the saved replay offered in a new tab")
    saved_file = os.path.join(tmp, "saved.vxr")
    with open(saved_file, "wb") as f:
        f.write(read_file(browser, "/vorlanix/replays/last.vxr"))
    run = subprocess.run([vorlanix, "--headless", "--replay", saved_file], capture_output=True, text=True,
                         timeout=120)
    assert run.returncode == 0 and ("%d days" % days) in run.stdout, run.stdout + run.stderr
    browser.close()
    browser.switch_to.window(game_tab)
    # Escape stays the browser's; the End key is the game's Escape and ends the program, which
    # keeps the game's replay, and the page offers that too.
    press(browser, "Escape")
    assert after_frames(browser, 10)["Modus"] == 2, "Escape reached the game"
    assert browser.find_element(By.ID, "ende").is_displayed() is False
    press(browser, "End")
    wait(browser, 20).until(lambda b: b.find_element(By.ID, "ende").is_displayed())
    # Its replay is last.vxr, and a result that entered the list keeps a dated copy as well.
    kept = [f for f in list_files(browser, "/vorlanix/replays") if f.endswith("-days.vxr")]
    assert len(kept) == (1 if listed else 0), ("kept replays", list_files(browser, "/vorlanix/replays"))
    replay_name = "last.vxr"
    replay = read_file(browser, "/vorlanix/replays/" + replay_name)
    if kept:
        assert read_file(browser, "/vorlanix/replays/" + kept[0]) == replay, "the dated copy differs from last.vxr"

    def replay_offered():
        assert replay_name in offered(), offered()

    eventually(replay_offered, 10, "the replay offered for download")
    hiscore = read_file(browser, "/vorlanix/hiscore.dat")
    assert b"Max" in hiscore, "the player's name is not in hiscore.dat"

    # Every write was saved to IndexedDB: a reload finds the same list and the same replay.
    wait(browser, 10).until(lambda b: b.execute_script("return !Module.savingData();"))
    browser.refresh()
    wait(browser, 60).until(lambda b: b.execute_script(
        "return !!(window.Module && Module.FS && document.getElementById('laden').hidden)"))
    assert read_file(browser, "/vorlanix/hiscore.dat") == hiscore, "hiscore.dat changed over the reload"
    assert read_file(browser, "/vorlanix/replays/" + replay_name) == replay, "the replay changed over the reload"
    wait_state(browser, lambda s: s["Modus"] == 1, 60, "the title after the reload")
    assert console_errors(browser) == [], console_errors(browser)

    # The browser's game re-simulates in sync on the Linux build ...
    replay_file = os.path.join(tmp, "browser.vxr")
    with open(replay_file, "wb") as f:
        f.write(replay)
    run = subprocess.run([vorlanix, "--headless", "--replay", replay_file], capture_output=True, text=True, timeout=120)
    assert run.returncode == 0, run.stdout + run.stderr
    assert ("%d days" % days) in run.stdout, run.stdout
    # ... and proves on the server.
    boundary = "vorlanixgrenze"
    parts = b""
    for field, name, data in (("qhs", upload, qhs), ("replay", replay_name, replay)):
        parts += ("--%s\r\nContent-Disposition: form-data; name=\"%s\"; filename=\"%s\"\r\n"
                  "Content-Type: application/octet-stream\r\n\r\n" % (boundary, field, name)).encode() + data + b"\r\n"
    parts += ("--%s--\r\n" % boundary).encode()
    request = urllib.request.Request(base + "/api/upload", data=parts, method="POST", headers={
        "Content-Type": "multipart/form-data; boundary=" + boundary})
    answer = json.loads(urllib.request.urlopen(request, timeout=60).read())
    assert answer["state"] in ("pending", "proved"), answer

    # The server proves an upload with a replay by re-simulating it beside its other work.
    def proved():
        entry = json.loads(urllib.request.urlopen("%s/api/entry/%d" % (base, answer["id"]), timeout=30).read())
        if entry["state"] == "refused":
            raise RuntimeError("the server refused the browser's game: %s" % entry)
        assert entry["state"] == "proved", entry

    eventually(proved, 120, "the server's proof")

    # Its entry can be watched in the browser.
    browser.get(base + "/")
    browser.find_element(By.LINK_TEXT, "Max").click()
    wait(browser, 10).until(lambda b: "/eintrag/" in b.current_url)
    browser.find_element(By.LINK_TEXT, "Ansehen").click()
    wait(browser, 10).until(lambda b: "ansehen=" in b.current_url)
    canvas = browser.find_element(By.ID, "canvas")
    wait(browser, 60).until(lambda b: lit_share(canvas.screenshot_as_png) > 0.05)
    browser.find_element(By.CSS_SELECTOR, "[data-tempo='4']").click()
    # It plays, picture after picture, to its end in sync, and the page says it is over.
    pictures, said = set(), []

    def played():
        said.extend(browser.get_log("browser"))
        if not browser.find_element(By.ID, "ende").is_displayed():
            pictures.add(zlib.crc32(canvas.screenshot_as_png))
        assert any("ran to its end in sync" in e["message"] for e in said), "the replay has not ended yet"

    eventually(played, 120, "the replay to play to its end")
    assert len(pictures) >= 3, "the replay does not play: %d different pictures" % len(pictures)
    wait(browser, 10).until(lambda b: b.find_element(By.ID, "ende").is_displayed())
    errors = [e["message"] for e in said if e["level"] == "SEVERE"] + console_errors(browser)
    assert errors == [], errors

    print("passed: title, sharp fit, fullscreen, tap, menu, pointer lock, a whole game, upload file, replay saved"
          " at once, reload, End key,"
          " Linux re-simulation, proof, watching")
    print("figure: first title frame %.2f s after the page was opened" % first_frame)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(*sys.argv[1:4]))
    except AssertionError as failure:
        print("failed:", failure)
        sys.exit(1)
