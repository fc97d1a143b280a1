#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Tests the Windows build (scripts/build-windows.sh) under Wine, on an X server of its own and in a
# fresh Wine prefix: the installer installs silently and the installed game opens its window, shows
# the title picture and takes a click into the menu; the unpacked zip runs from a folder with
# umlauts in portable mode; a scripted game writes hiscore.dat and the upload file byte for byte
# as the Linux build does; two programs saving one hiscore.dat at once leave it whole; every
# recorded game re-simulates in sync, and a game recorded on Windows re-simulates in sync on Linux.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$ROOT/build-windows
VERSION=$(sed -nE 's/^project\(vorlanix VERSION ([0-9.]+).*/\1/p' "$ROOT/CMakeLists.txt")
ZIP=$OUT/vorlanix-$VERSION-windows-x64.zip
SETUP=$OUT/vorlanix-$VERSION-setup.exe
LINUX=$OUT/native/vorlanix
for f in "$ZIP" "$SETUP" "$LINUX"; do
  [ -e "$f" ] || { echo "missing $f: run scripts/build-windows.sh first" >&2; exit 2; }
done

WORK=$(mktemp -d)
cleanup() {
  [ -n "${game:-}" ] && kill "$game" 2>/dev/null
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
step() { echo "== $* ($SECONDS s)"; }

# A black root window, so that every lit pixel comes from the game.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -br 3>"$WORK/display" 2>"$WORK/xvfb.log" &
xvfb=$!
for _ in $(seq 150); do [ -s "$WORK/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$WORK/display")"
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" SDL_AUDIODRIVER=dummy
cd "$WORK"
# The share of lit pixels on the X screen and the number of colours among them, from xwd's dump
# (32-bit pixels, header size in the first word).
lit_pixels() {
  xwd -root -silent | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
header = struct.unpack(">25I", data[:100])
size, width, height, bpl, ncolors = header[0], header[4], header[5], header[12], header[19]
pixels = data[size + 12 * ncolors:]
lit, colours = 0, set()
for y in range(height):
    row = pixels[y * bpl:y * bpl + 4 * width]
    for x in range(0, 4 * width, 4):
        p = row[x:x + 3]
        if p != b"\0\0\0":
            lit += 1
            colours.add(p)
print(lit, len(colours))'
}

# Starts the game in a window, waits for the title picture, clicks and asks for the state: the
# menu is open. Escape ends the game.
window_check() {
  local exe=$1 state=$WORK/state.json
  wine "$exe" --window --state-file "$state" --no-keep-replays >"$WORK/window.log" 2>&1 &
  game=$!
  # Polled, not --sync: Wine's short-lived helper windows may vanish while xdotool looks at them.
  local win=""
  for _ in $(seq 120); do
    win=$(xdotool search --onlyvisible --name '^Vorlanix$' 2>/dev/null | head -1) || true
    [ -n "$win" ] && break
    sleep 0.5
  done
  [ -n "$win" ] || { cat "$WORK/window.log"; fail "no game window"; }
  local lit=0 colours=0
  for _ in $(seq 60); do
    read -r lit colours < <(lit_pixels)
    ((lit > 100000 && colours > 50)) && break
    sleep 0.5
  done
  echo "the title: $lit lit pixels in $colours colours"
  ((lit > 100000 && colours > 50)) || fail "the title picture is not shown"
  xdotool mousemove --window "$win" 320 240 click 1
  local modus=""
  for _ in $(seq 40); do
    touch "$state.request"
    sleep 0.5
    [ -s "$state" ] && modus=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["Modus"])' "$state")
    [ "$modus" = 2 ] && break
  done
  [ "$modus" = 2 ] || fail "the click did not reach the menu (Modus $modus)"
  echo "the click reached the menu"
  xdotool key --window "$win" Escape
  for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.2; done
  kill -0 "$game" 2>/dev/null && fail "Escape did not end the game"
  wait "$game" || true
  game=
}

# Windows programs end their lines with CR LF.
win() { wine "$@" | tr -d '\r'; }

step "the installer, silently into a fresh Wine prefix"
wine "$SETUP" /S 2>"$WORK/prefix.log" || { cat "$WORK/prefix.log"; fail "the installer"; }
users=$WINEPREFIX/drive_c/users/$(id -un)
INSTALLED=$users/AppData/Local/Programs/Vorlanix
for f in vorlanix.exe vorlanix-qhs.exe SDL2.dll SDL2_mixer.dll uninstall.exe README.txt COPYING.txt sound/motor.wav; do
  [ -e "$INSTALLED/$f" ] || fail "the installer left no $f in $INSTALLED"
done
[ -e "$users/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vorlanix.lnk" ] || fail "no Start-menu entry"

step "the game is a windowed program with its icon; both programs carry their version"
for program in vorlanix vorlanix-qhs; do
  resources=$(x86_64-w64-mingw32-windres -i "$INSTALLED/$program.exe" -O rc 2>/dev/null) || fail "$program.exe's resources"
  grep -q "VALUE \"FileVersion\", \"$VERSION\"" <<<"$resources" || fail "$program.exe has no version $VERSION"
  grep -q "VALUE \"OriginalFilename\", \"$program.exe\"" <<<"$resources" || fail "$program.exe's version names another file"
done
resources=$(x86_64-w64-mingw32-windres -i "$INSTALLED/vorlanix.exe" -O rc 2>/dev/null)
grep -q 'Type: group icon' <<<"$resources" || fail "vorlanix.exe has no icon"
(($(grep -c 'RT_ICON' <<<"$resources") == 6)) || fail "vorlanix.exe's icon lacks some of its six sizes"
# No console window opens with the game; the tool for upload files is a console program.
subsystem() { x86_64-w64-mingw32-objdump -p "$1" | sed -nE 's/^Subsystem\s+[0-9a-f]+\s+//p'; }
[ "$(subsystem "$INSTALLED/vorlanix.exe")" = "(Windows GUI)" ] || fail "vorlanix.exe is not a windowed program"
[ "$(subsystem "$INSTALLED/vorlanix-qhs.exe")" = "(Windows CUI)" ] || fail "vorlanix-qhs.exe is not a console program"

step "--version and --help"
[ "$(win "$INSTALLED/vorlanix.exe" --version | head -n1)" = "vorlanix $VERSION" ] || fail "--version"
win "$INSTALLED/vorlanix.exe" --help | grep -q '^Usage: vorlanix \[OPTION\]' || fail "--help"
win "$INSTALLED/vorlanix-qhs.exe" --help | grep -q '^Usage: vorlanix-qhs verify' || fail "vorlanix-qhs --help"

step "the installed game's window: the title picture, then a click into the menu"
window_check "$INSTALLED/vorlanix.exe"

step "a start-up error shows a message box, and OK ends the program"
: >not-a-folder
wine "$INSTALLED/vorlanix.exe" --data-dir not-a-folder >"$WORK/box.log" 2>&1 &
game=$!
box=""
for _ in $(seq 60); do
  box=$(xdotool search --onlyvisible --name '^Vorlanix$' 2>/dev/null | head -1) || true
  [ -n "$box" ] && break
  sleep 0.5
done
[ -n "$box" ] || { cat "$WORK/box.log"; fail "no message box"; }
width=$(xwininfo -id "$box" | sed -n 's/^ *Width: //p')
((width < 640)) || fail "a window $width pixels wide came up, not a message box"
grep -q 'cannot use the data directory .*not-a-folder' "$WORK/box.log" || fail "the box's reason: $(cat "$WORK/box.log")"
xdotool key --window "$box" Return
for _ in $(seq 50); do kill -0 "$game" 2>/dev/null || break; sleep 0.2; done
kill -0 "$game" 2>/dev/null && fail "OK did not end the program"
code=0
wait "$game" || code=$?
game=
((code == 1)) || fail "the program ended with $code after a start-up error"

step "the player's files in %APPDATA%\\Vorlanix, also under a name with umlauts"
paths=$(win "$INSTALLED/vorlanix.exe" --print-paths)
grep -qx 'data:        C:\\users\\'"$(id -un)"'\\AppData\\Roaming\\Vorlanix' <<<"$paths" || fail "data path: $paths"
grep -qx 'settings:    C:\\users\\'"$(id -un)"'\\AppData\\Roaming\\Vorlanix\\vorlanix.conf' <<<"$paths" || fail "settings: $paths"
grep -qx 'screenshots: C:\\users\\'"$(id -un)"'\\AppData\\Roaming\\Vorlanix\\screenshots' <<<"$paths" ||
  fail "screenshots: $paths"
script=$ROOT/tests/windows/upload-game.script
# Wine sets %APPDATA% itself for every program it starts, from the user's folders: a player named
# Jürgen gets his through the registry, as on Windows.
jurgen='C:\users\Jürgen\AppData\Roaming'
wine reg add 'HKCU\Volatile Environment' /v APPDATA /t REG_SZ /d "$jurgen" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' /v AppData \
  /t REG_EXPAND_SZ /d "$jurgen" /f >/dev/null 2>&1
win "$INSTALLED/vorlanix.exe" --print-paths | grep -qx 'data:        C:\\users\\Jürgen\\AppData\\Roaming\\Vorlanix' ||
  fail "the data path under an umlaut"
win "$INSTALLED/vorlanix.exe" --headless --seed 7 --script "$script" >/dev/null 2>"$WORK/appdata.log" ||
  { cat "$WORK/appdata.log"; fail "a game with an umlaut in %APPDATA%"; }
APPDATA_DIR=$WINEPREFIX/drive_c/users/Jürgen/AppData/Roaming/Vorlanix
ls "$APPDATA_DIR/replays/"*.vxr >/dev/null 2>&1 || fail "no replay kept in %APPDATA%\\Vorlanix\\replays"

step "the same game and seed on Linux and on Windows write the same files"
mkdir linux
"$LINUX" --headless --seed 7 --script "$script" --data-dir linux --no-keep-replays 2>/dev/null || fail "the Linux game"
for f in hiscore.dat Jürgen_80_00_00.qhs; do
  [ -s "linux/$f" ] || fail "the Linux game wrote no $f"
  cmp "linux/$f" "$APPDATA_DIR/$f" || fail "$f differs between Linux and Windows"
done

step "the zip unpacked into a folder with umlauts runs there in portable mode"
mkdir "Spiele für Jürgen"
unzip -q "$ZIP" -d "Spiele für Jürgen"
portable=$WORK/Spiele\ für\ Jürgen/Vorlanix
for f in vorlanix.exe vorlanix-qhs.exe SDL2.dll SDL2_mixer.dll README.txt COPYING.txt sound/motor.wav; do
  [ -e "$portable/$f" ] || fail "the zip has no $f"
done
: >"$portable/vorlanix.conf"
win "$portable/vorlanix.exe" --print-paths | grep -q '^data: .*\\Spiele für Jürgen\\Vorlanix$' || fail "portable paths"
win "$portable/vorlanix.exe" --headless --seed 7 --script "$script" --record windows.vxr >/dev/null 2>&1 ||
  fail "a game from the unpacked zip"
for f in hiscore.dat Jürgen_80_00_00.qhs; do
  cmp "linux/$f" "$portable/$f" || fail "portable $f differs from Linux's"
done
ls "$portable/replays/"*.vxr >/dev/null 2>&1 || fail "no replay kept in the portable folder"
# The unpacked game opens its window as the installed one does.
window_check "$portable/vorlanix.exe"

step "two programs saving one hiscore.dat at once leave it whole"
# Each loads the list, enters a result and saves, 100 times, checking every list it reads: never
# missing, never torn, every entry one that was written, no save refused.
mkdir race
race=$OUT/cross/hiscore-race.exe
wine "$race" race A 100 >race-a.txt 2>&1 &
writer_a=$!
win "$race" race B 100 >race-b.txt 2>&1 || { cat race-a.txt race-b.txt; fail "writer B"; }
wait "$writer_a" || { cat race-a.txt race-b.txt; fail "writer A"; }
tr -d '\r' <race-a.txt; cat race-b.txt
win "$race" race check 100 || fail "the list the two writers left"

step "a game recorded on Windows re-simulates in sync on Linux and on Windows"
expected="game 1: 28800 days, 0 points, not in the list, upload file Jürgen_80_00_00.qhs"
got=$("$LINUX" --headless --replay windows.vxr 2>&1 >linux.txt) || fail "the Windows recording on Linux: $got"
[ "$(cat linux.txt)" = "$expected" ] || fail "the Windows recording on Linux: $(cat linux.txt)"
got=$(win "$portable/vorlanix.exe" --headless --replay windows.vxr 2>&1 >windows.txt) ||
  fail "the Windows recording on Windows: $got"
[ "$(tr -d '\r' <windows.txt)" = "$expected" ] || fail "the Windows recording on Windows: $(cat windows.txt)"

step "every recorded game re-simulates in sync on Windows"
for replay in "$ROOT"/tests/replay/corpus/*.vxr; do
  got=$(win "$portable/vorlanix.exe" --headless --replay "$replay" 2>/dev/null) || fail "$(basename "$replay") out of sync"
  [ "$got" = "$(cat "${replay%.vxr}.txt")" ] || fail "$(basename "$replay"): $got"
done

step "the uninstaller removes the program and keeps the player's files"
wine "$INSTALLED/uninstall.exe" /S
for _ in $(seq 100); do [ -e "$INSTALLED/vorlanix.exe" ] || break; sleep 0.2; done
[ ! -e "$INSTALLED/vorlanix.exe" ] || fail "the uninstaller left the program"
[ -e "$APPDATA_DIR/hiscore.dat" ] || fail "the uninstaller took the high scores"
echo "the Windows build passed in $SECONDS s"
