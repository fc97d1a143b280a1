#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Records a headless game that really scores, for the replay corpus.

The headless driver is run again and again on the script built so far: from the state dumps of
the coming moments it picks a live target for each shot (the big Irone, Irones on their boards,
Irone stations on the orbits, fragments, castles), reloads at a Raumtank when the magazine is
empty, and keeps the pointer in the middle between shots so the view stays put. Once the game is
over the finished script is run once more with --record. The expected result lines beside the
replay come from `vorlanix --headless --replay OUT.vxr`.

    scripts/record-scoring-replay.py BUILD_DIR OUT.vxr [--seed N]
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile

PRELUDE = """\
run 200
click left 300 200
run 200
click left 120 100
run-until Modus == -1 5000
run 1200
"""
STEP = 160           # ms between shots: the gun needs about nine frames to load again
BATCH = 20           # shots planned from one run of the driver
PLANET_R = [50, 100, 75, 80, 60, 90]
BOARD = [(1, 15, 52, 42), (16, 27, 37, 30), (31, 38, 23, 18)]


def run(vorlanix, script, seed, work, extra=()):
    path = os.path.join(work, "script.txt")
    with open(path, "w") as f:
        f.write(script)
    r = subprocess.run([vorlanix, "--headless", "--script", path, "--seed", str(seed),
                        "--data-dir", os.path.join(work, "data"), "--no-keep-replays", *extra],
                       capture_output=True, text=True)
    if r.returncode not in (0,):
        sys.exit(f"driver failed ({r.returncode}): {r.stderr}")


def on_screen(x, y, m=12):
    return m <= x < 640 - m and m <= y < 480 - m


def in_tank(s, x, y):
    for i in range(46, 55):
        if s["ObjTot"][i] == 0 and 1 <= round(x - s["ObjX"][i]) < 28 and 1 <= round(y - s["ObjY"][i]) < 70:
            return True
    return False


def in_planet(s, x, y):
    for n, r in enumerate(PLANET_R):
        dx, dy = x - s["PlanetSchirmX"][n], y - s["PlanetSchirmY"][n]
        if abs(dx) < r + 4 and abs(dy) < r + 4 and dx * dx + dy * dy < (r + 4) * (r + 4):
            return True
    return False


def at_lens(s, x, y):
    # A shot at the lens's centre voids the game: keep well away from it.
    dx, dy = x - (s["PlanetSchirmX"][0] + 5), y - (s["PlanetSchirmY"][0] - 6)
    return dx * dx + dy * dy < 60 * 60


def targets(s):
    """Candidate shots in the order of their worth, each (key, x, y, may_touch_planet)."""
    out = []
    if s["ObjTot"][0] == 0 and s["AngriffUhr"] > 0:
        out.append(("big", s["ObjX"][0], s["ObjY"][0], True))
    for n in (1, 2, 3, 4, 5):
        if s["BurgTot"][n] == 0 and all(s["MondTot"][n][j] > 0 for j in (1, 2, 3)):
            out.append((f"castle{n}", s["PlanetSchirmX"][n], s["PlanetSchirmY"][n] - PLANET_R[n] - 22, True))
    for first, last, w, h in BOARD:
        for i in range(first, last + 1):
            if s["ObjTot"][i] == 0:
                out.append((f"irone{i}", s["ObjX"][i] + w // 2, s["ObjY"][i] + h // 2, True))
    for n in range(1, 6):
        for j in (1, 2, 3):
            front = s["MondHinten"][n][j] == 0
            if s["MondTot"][n][j] == 0:
                if s["MondArt"][n][j] == 0:
                    out.append((f"moon{n}{j}", s["MondSchirmX"][n][j], s["MondSchirmY"][n][j], front))
            else:
                for k in (1, 2, 3):
                    if s["SplitterTot"][n][j][k] == 0:
                        out.append((f"frag{n}{j}{k}", s["SplitterSchirmX"][n][j][k],
                                    s["SplitterSchirmY"][n][j][k], front))
    return [t for t in out if on_screen(t[1], t[2]) and not in_tank(s, t[1], t[2]) and not at_lens(s, t[1], t[2])
            and (t[3] or not in_planet(s, t[1], t[2]))]


def tank_spot(s):
    for i in range(46, 55):
        x, y = s["ObjX"][i] + 14, s["ObjY"][i] + 35
        if s["ObjTot"][i] == 0 and on_screen(x, y, 20):
            return x, y
    return None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("out")
    ap.add_argument("--seed", type=int, default=7301)
    a = ap.parse_args()
    vorlanix = os.path.join(a.build, "vorlanix")
    work = tempfile.mkdtemp(prefix="scoring-replay-")
    script = PRELUDE
    tried = {}
    shots = reloads = 0
    while True:
        look = script
        for k in range(BATCH):
            look += f"dump {work}/d{k}.json\nrun {STEP}\n"
        run(vorlanix, look, a.seed, work)
        states = []
        for k in range(BATCH):
            p = f"{work}/d{k}.json"
            states.append(json.load(open(p)) if os.path.exists(p) else None)
            if os.path.exists(p):
                os.remove(p)
        s0 = states[0]
        if s0 is None or s0["Modus"] != -1:
            break
        print(f"t={s0['Spielzeit']} points={s0['Punktzahl'] // 3632} ammo={s0['Munition']} shots={shots}",
              file=sys.stderr)
        ammo = s0["Munition"]
        for s in states:
            if s is None or s["Modus"] != -1:
                script += f"run {STEP}\n"
                continue
            x = y = None
            if ammo == 0:
                spot = tank_spot(s)
                if spot:
                    x, y = spot
                    script += f"move {x} {y}\nclick right {x} {y}\nrun 32\nmove 320 240\nrun {STEP - 32}\n"
                    reloads += 1
                    ammo = 16
                    continue
            else:
                # A target missed twice is left alone for a while.
                for key, tx, ty, _ in targets(s):
                    if tried.get(key, 0) < 2:
                        tried[key] = tried.get(key, 0) + 1
                        x, y = tx, ty
                        break
            if x is None:
                script += f"run {STEP}\n"
                continue
            script += f"move {x} {y}\nclick left {x} {y}\nrun 32\nmove 320 240\nrun {STEP - 32}\n"
            shots += 1
            ammo -= 1
        # Targets that died are gone from the lists anyway; the others may be tried again.
        tried = {k: v for k, v in tried.items() if v < 2}
    script += "run-until AktMenue == 8 20000\nrun 3000\n"
    run(vorlanix, script + f"dump {work}/end.json\n", a.seed, work)
    end = json.load(open(f"{work}/end.json"))
    print(f"end: points={end['Punktzahl'] // 3632} frames={end['frames']} shots={shots} reloads={reloads}",
          file=sys.stderr)
    run(vorlanix, script, a.seed, work, ("--record", a.out))


if __name__ == "__main__":
    main()
