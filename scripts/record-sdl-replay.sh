#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Records one game through the real SDL backend for the replay corpus: a private X server (Xvfb),
# synthetic pointer input (xdotool), the program in a 640 x 480 window recording with --record.
# The game runs in real time, so this takes about two minutes.
#   scripts/record-sdl-replay.sh BUILD_DIR OUT.vxr
set -euo pipefail
build=$(realpath "$1")
out=$(realpath -m "$2")
work=$(mktemp -d)
trap 'kill "${game:-}" "${xserver:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp &
xserver=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
export SDL_AUDIODRIVER=dummy

"$build/vorlanix" --window --scale 1 --seed 2024 --data-dir "$work/data" --no-keep-replays --record "$out" &
game=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name Vorlanix 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "no window appeared" >&2; exit 1; }

# Points in the game's 640 x 480 picture, which fills the window at scale 1.
at() { xdotool mousemove --window "$window" "$1" "$2"; }
click() { at "$1" "$2"; sleep 0.05; xdotool click 1; sleep "${3:-0.3}"; }
sleep 1.5
click 300 200 1      # leave the title
click 120 100 5      # START; the count-down runs
for spot in "400 300" "220 160" "330 260" "450 200"; do
  # shellcheck disable=SC2086
  click $spot 4
done
sleep 100            # the rest of the game and its end
xdotool type --delay 80 "Xvfb"
click 368 305 1      # JA: into the list and on to the upload form
xdotool type --delay 80 "Xvfb"
click 368 305 1      # SICHERN (the empty fields are named)
click 330 300 1      # OK
xdotool key Escape
wait "$game"
echo "recorded $out"
