#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The cost of presenting one frame per scaling and screen size, as ratios measured in one run of
# the benchmarks: our own present and SDL's software renderer against a plain copy of the screen's
# bytes, and ours against SDL's (processor time; the least of several with --benchmark_repetitions=N).
# Usage: present_ratios.py BUILD/vorlanix_bench [benchmark options]
import json
import subprocess
import sys

SCALINGS = ["integer", "sharp", "smooth"]


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: present_ratios.py VORLANIX_BENCH [benchmark options]")
    out = subprocess.run([sys.argv[1], "--benchmark_filter=BM_PresentSdl/|BM_PresentOwn|BM_CopyScreenBytes",
                          "--benchmark_format=json", *sys.argv[2:]], check=True, capture_output=True, text=True)
    times = {}
    for b in json.loads(out.stdout)["benchmarks"]:
        if b.get("error_occurred") or b.get("run_type", "iteration") != "iteration":
            continue
        # The work done (a shared machine stretches wall time), and with --benchmark_repetitions
        # the least disturbed of the repetitions.
        times[b["name"]] = min(b["cpu_time"], times.get(b["name"], float("inf")))
    print(f"{'screen':>10} {'scaling':>8} {'memcpy µs':>10} {'ours µs':>8} {'SDL µs':>8} "
          f"{'ours/memcpy':>11} {'SDL/memcpy':>10} {'ours/SDL':>8} {'baseline/memcpy':>15}")
    for w, h in [(1366, 768), (1920, 1080), (2560, 1440)]:
        copy = times[f"BM_CopyScreenBytes/w:{w}/h:{h}"]
        for i, scaling in enumerate(SCALINGS):
            key = f"scaling:{i}/w:{w}/h:{h}"
            ours, sdl = times[f"BM_PresentOwn/{key}"], times[f"BM_PresentSdl/{key}"]
            baseline = times.get(f"BM_PresentOwnBaseline/{key}", float("nan"))
            print(f"{w}x{h:<5} {scaling:>8} {copy:10.0f} {ours:8.0f} {sdl:8.0f} {ours / copy:11.2f} "
                  f"{sdl / copy:10.2f} {ours / sdl:8.3f} {baseline / copy:15.2f}")


if __name__ == "__main__":
    main()
