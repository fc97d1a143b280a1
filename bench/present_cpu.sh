#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Processor time per frame shown, end to end on an X server without GPU (Xvfb): the game in a game
# with the software renderer per scaling, and beside it a minimal SDL program that shows a picture
# of the same size with SDL's own means and the same renderer choice. Read from /proc/PID/stat
# (user + system time of the whole process, all its threads) over a fixed time.
# Usage: bench/present_cpu.sh BUILD_DIR [SECONDS] [WIDTHxHEIGHT] [SCALINGS]
set -euo pipefail
build=$(realpath "$1")
seconds=${2:-10}
size=${3:-1920x1080}
scalings=${4:-"integer sharp smooth"}
width=${size%x*} height=${size#*x}
tmp=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do grep -q . "$tmp/display" 2>/dev/null && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$tmp/display")
unset WAYLAND_DISPLAY SDL_VIDEODRIVER SDL_RENDER_DRIVER SDL_FRAMEBUFFER_ACCELERATION
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
fi

ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)

gameState() {  # gameState KEY: one field of the running game's state
    rm -f "$tmp/state.json"
    kill -USR1 "$game"
    for _ in $(seq 100); do [ -s "$tmp/state.json" ] && break; sleep 0.05; done
    python3 -c "import json,sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])" "$tmp/state.json" "$1"
}

referenceFrames() {  # the frames the reference has shown so far
    kill -USR1 "$reference"
    sleep 0.2
    awk '/^frames/ { n = $2 } END { print n }' "$tmp/reference.out"
}

# A point of the 640 x 480 picture on the screen, as the game places the picture.
at() {  # at SCALING X Y
    awk -v s="$1" -v W="$width" -v H="$height" -v x="$2" -v y="$3" 'BEGIN {
        f = int(W / 640 < H / 480 ? W / 640 : H / 480)
        if (s == "integer" && f >= 1) { w = 640 * f; h = 480 * f }
        else if (W * 480 < H * 640) { w = W; h = int(W * 480 / 640) }
        else { h = H; w = int(H * 640 / 480) }
        printf "%d %d", int((W - w) / 2 + (x + 0.5) * w / 640), int((H - h) / 2 + (y + 0.5) * h / 480) }'
}

report() {  # report NAME FRAMES_BEFORE FRAMES_AFTER TICKS_BEFORE TICKS_AFTER NANOSECONDS
    awk -v n="$1" -v f0="$2" -v f1="$3" -v t0="$4" -v t1="$5" -v ns="$6" -v hz="$hz" 'BEGIN {
        s = ns / 1e9; cpu = (t1 - t0) / hz; frames = f1 - f0
        printf "%-24s %5.1f frames/s %7.2f ms CPU per frame %6.1f %% of a core at 60 frames/s (%.1f %% measured)\n",
               n, frames / s, 1000 * cpu / frames, 100 * cpu / frames * 60, 100 * cpu / s }'
}

echo "$size, $seconds s each, $(nproc) processors"
for scaling in $scalings; do
    "$build/vorlanix" --fullscreen --renderer software --scaling "$scaling" --mute --data-dir "$tmp/data" \
        --config "$tmp/vorlanix.conf" --state-file "$tmp/state.json" >"$tmp/game.log" 2>&1 &
    game=$!
    pids+=($game)
    sleep 3
    # From the title through the menu's start button into a game.
    xdotool mousemove $(at "$scaling" 300 200) click 1
    sleep 1
    xdotool mousemove $(at "$scaling" 120 100) click 1
    sleep 2
    [ "$(gameState Modus)" = -1 ] || { echo "no game started with $scaling" >&2; cat "$tmp/game.log" >&2; exit 1; }
    f0=$(gameState framesShown) t0=$(ticks "$game") n0=$(date +%s%N)
    sleep "$seconds"
    f1=$(gameState framesShown) t1=$(ticks "$game") n1=$(date +%s%N)
    report "game $scaling" "$f0" "$f1" "$t0" "$t1" $((n1 - n0))
    kill "$game"
    wait "$game" || true

    filter=nearest
    [ "$scaling" = integer ] || filter=linear
    "$build/vorlanix-present-reference" software "$filter" >"$tmp/reference.out" 2>&1 &
    reference=$!
    pids+=($reference)
    sleep 3
    f0=$(referenceFrames) t0=$(ticks "$reference") n0=$(date +%s%N)
    sleep "$seconds"
    f1=$(referenceFrames) t1=$(ticks "$reference") n1=$(date +%s%N)
    report "minimal SDL $filter" "$f0" "$f1" "$t0" "$t1" $((n1 - n0))
    kill "$reference"
    wait "$reference" || true
done
