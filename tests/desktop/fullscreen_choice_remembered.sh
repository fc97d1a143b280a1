#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# On a real X server, F11 in the running game writes the new fullscreen choice into the settings
# file, and the player's comments and unknown keys stay as they were.
set -euo pipefail
exe=$1
work=$(mktemp -d)
cleanup() {
  [ -n "${game:-}" ] && kill "$game" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 150); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

printf '# mine\nfullscreen = no\nwishes = more stars\n' > "$work/v.conf"
"$exe" --config "$work/v.conf" --data-dir "$work/data" 2>"$work/game.log" &
game=$!
win=$(timeout 20 xdotool search --sync --onlyvisible --classname io.github.vorlanix.Vorlanix | head -1)
xdotool mousemove --window "$win" 20 20
xdotool key F11
for _ in $(seq 100); do grep -q '^fullscreen = yes$' "$work/v.conf" && break; sleep 0.1; done
expected=$'# mine\nfullscreen = yes\nwishes = more stars'
if [ "$(cat "$work/v.conf")" != "$expected" ]; then
  echo "the settings file after F11:"; cat "$work/v.conf"; echo "the game said:"; cat "$work/game.log"
  exit 1
fi
echo "F11 remembered"
