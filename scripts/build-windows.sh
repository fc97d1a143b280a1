#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows game into build-windows/: mingw-w64 from Debian, SDL2 and SDL2_mixer (WAV only) as
# DLLs and zlib and libpng as static libraries, all built from Debian's source packages into a cache outside
# the clone; the pictures and sounds drawn by the native generators; then vorlanix.exe and vorlanix-qhs.exe,
# the portable zip and the NSIS installer.
#   scripts/build-windows.sh            everything (dependencies only when the cache lacks their versions)
#   scripts/build-windows.sh deps       only the dependencies
# VORLANIX_WINDOWS_CACHE overrides the cache root (default /var/cache/vorlanix).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE_ROOT=${VORLANIX_WINDOWS_CACHE:-/var/cache/vorlanix}
STAGE=${1:-all}
JOBS=$(nproc)
OUT=$ROOT/build-windows
TOOLCHAIN=$ROOT/packaging/windows/mingw-w64-x86_64.cmake
HOST=x86_64-w64-mingw32

need_packages() {
  local missing=()
  for p in "$@"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
  if ((${#missing[@]})); then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# apt-get source needs a deb-src entry for the archive and suite the machine already uses.
ensure_deb_src() {
  if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    cat >/etc/apt/sources.list.d/debian-src.sources <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    apt-get update -qq
  elif [ -z "$(apt-cache showsrc libsdl2 2>/dev/null)" ]; then
    apt-get update -qq
  fi
}

# The upstream version of a source package (no epoch, no Debian revision, no repack suffix).
src_version() {
  apt-cache showsrc "$1" | awk '/^Version:/ {print $2}' | sort -V | tail -1 | sed -E 's/^[0-9]+://; s/[-+~].*//; s/\.dfsg.*//'
}

bash "$ROOT/scripts/install-deps.sh"
need_packages mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  wine wine64 nsis zip unzip xvfb dpkg-dev xz-utils cmake make nlohmann-json3-dev
ensure_deb_src
GCCVER=$(dpkg-query -W -f '${Version}' gcc-mingw-w64-x86-64-posix | sed -E 's/^[0-9]+://; s/[-+~].*//')
V_SDL=$(src_version libsdl2); V_MIX=$(src_version libsdl2-mixer)
V_Z=$(src_version zlib); V_PNG=$(src_version libpng1.6)
DEPS=$CACHE_ROOT/windows-deps-mingw$GCCVER-sdl$V_SDL-mixer$V_MIX-zlib$V_Z-png$V_PNG
PREFIX=$DEPS/prefix
export VORLANIX_WINDOWS_PREFIX=$PREFIX
mkdir -p "$DEPS" "$OUT"

# Fetches and unpacks one source package once; prints the unpacked folder.
fetch_source() {
  local pkg=$1 dir=$DEPS/src/$1
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    (cd "$dir" && apt-get source -qq "$pkg" >/dev/null 2>&1 ||
      (cd "$dir" && apt-get source --download-only -qq "$pkg" >/dev/null && dpkg-source -x --skip-patches ./*.dsc tree >/dev/null))
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -1
}

# zlib's own build files want a resource file Debian's source leaves out; its fifteen C files need
# no configuring.
build_zlib() {
  [ -f "$PREFIX/.zlib" ] && return 0
  local s objs=()
  s=$(fetch_source zlib)
  mkdir -p "$DEPS/build-zlib" "$PREFIX/lib" "$PREFIX/include"
  [ -f "$s/zconf.h" ] || cp "$s/zconf.h.included" "$s/zconf.h"
  for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees \
    uncompr zutil; do
    $HOST-gcc-posix -O2 -c "$s/$c.c" -o "$DEPS/build-zlib/$c.o" >>"$DEPS/zlib.log" 2>&1
    objs+=("$DEPS/build-zlib/$c.o")
  done
  rm -f "$PREFIX/lib/libz.a"
  $HOST-ar rcs "$PREFIX/lib/libz.a" "${objs[@]}"
  cp "$s/zlib.h" "$s/zconf.h" "$PREFIX/include/"
  touch "$PREFIX/.zlib"
}

build_png() {
  [ -f "$PREFIX/.png" ] && return 0
  local s
  s=$(fetch_source libpng1.6)
  rm -rf "$DEPS/build-png"
  cmake -S "$s" -B "$DEPS/build-png" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include" \
    >"$DEPS/png.log" 2>&1
  cmake --build "$DEPS/build-png" -j"$JOBS" >>"$DEPS/png.log" 2>&1
  cmake --install "$DEPS/build-png" >>"$DEPS/png.log" 2>&1
  touch "$PREFIX/.png"
}

build_sdl() {
  [ -f "$PREFIX/.sdl" ] && return 0
  local s
  s=$(fetch_source libsdl2)
  rm -rf "$DEPS/build-sdl"
  cmake -S "$s" -B "$DEPS/build-sdl" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DSDL_TEST=OFF -DSDL_SHARED=ON -DSDL_STATIC=OFF >"$DEPS/sdl.log" 2>&1
  cmake --build "$DEPS/build-sdl" -j"$JOBS" >>"$DEPS/sdl.log" 2>&1
  cmake --install "$DEPS/build-sdl" >>"$DEPS/sdl.log" 2>&1
  touch "$PREFIX/.sdl"
}

build_mixer() {
  [ -f "$PREFIX/.mixer" ] && return 0
  local s
  s=$(fetch_source libsdl2-mixer)
  rm -rf "$DEPS/build-mixer"
  cmake -S "$s" -B "$DEPS/build-mixer" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PREFIX" -DSDL2_DIR="$PREFIX/lib/cmake/SDL2" -DBUILD_SHARED_LIBS=ON \
    -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
    -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVE=ON >"$DEPS/mixer.log" 2>&1
  cmake --build "$DEPS/build-mixer" -j"$JOBS" >>"$DEPS/mixer.log" 2>&1
  cmake --install "$DEPS/build-mixer" >>"$DEPS/mixer.log" 2>&1
  touch "$PREFIX/.mixer"
}

build_deps() {
  [ -f "$PREFIX/.complete" ] && return 0
  # Two builds at once share one cache: the second waits for the first.
  exec 9>"$DEPS/.lock"
  flock 9
  [ -f "$PREFIX/.complete" ] && return 0
  local t0=$SECONDS
  build_zlib || { tail -20 "$DEPS/zlib.log" >&2; exit 1; }
  build_png || { tail -20 "$DEPS/png.log" >&2; exit 1; }
  build_sdl || { tail -30 "$DEPS/sdl.log" >&2; exit 1; }
  build_mixer || { tail -30 "$DEPS/mixer.log" >&2; exit 1; }
  # The JSON library is header-only; the cross compiler gets its folder alone, never the machine's /usr/include.
  ln -sfn /usr/include/nlohmann "$PREFIX/include/nlohmann"
  echo "dependencies built in $((SECONDS - t0)) s" >"$PREFIX/.complete"
  cat "$PREFIX/.complete"
}

build_deps
[ "$STAGE" = deps ] && exit 0

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Shows the end of a step's log when it fails.
run_logged() {
  local log=$1; shift
  "$@" >>"$log" 2>&1 || { tail -40 "$log" >&2; echo "failed: $*; the whole log is $log" >&2; exit 1; }
}

# The pictures, sounds and icons are drawn by the native generators, as for every other build; the
# native game is built too, so tests can hold the Windows build against it.
NATIVE=$OUT/native
: >"$OUT/native.log"
run_logged "$OUT/native.log" cmake -S "$ROOT" -B "$NATIVE" -DCMAKE_BUILD_TYPE=Release -DVORLANIX_TESTS=OFF \
  -DVORLANIX_BENCH=OFF "${launcher[@]}"
run_logged "$OUT/native.log" cmake --build "$NATIVE" -j"$JOBS" --target art sounds make_icon vorlanix

# The program's icon: PNG pictures in one .ico, from 16 pixels for lists to 256 for big views.
ICON=$OUT/vorlanix.ico
for size in 16 24 32 48 64 256; do
  "$NATIVE/assets/make_icon" "$NATIVE/bitmaps/Irone0.bmp" "$size" "$OUT/icon-$size.png"
done
python3 - "$ICON" "$OUT"/icon-{16,24,32,48,64,256}.png <<'PY'
import struct, sys
out, pngs = sys.argv[1], [open(p, 'rb').read() for p in sys.argv[2:]]
head = struct.pack('<HHH', 0, 1, len(pngs))
offset = 6 + 16 * len(pngs)
entries, data = b'', b''
for png in pngs:
    width, height = struct.unpack('>II', png[16:24])
    entries += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 32, len(png), offset + len(data))
    data += png
open(out, 'wb').write(head + entries + data)
PY
rm -f "$OUT"/icon-*.png

CROSS=$OUT/cross
: >"$OUT/cross.log"
run_logged "$OUT/cross.log" cmake -S "$ROOT" -B "$CROSS" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
  -DCMAKE_BUILD_TYPE=Release -DVORLANIX_WERROR=ON -DVORLANIX_TESTS=OFF -DVORLANIX_BENCH=OFF \
  -DVORLANIX_WINDOWS_PREFIX="$PREFIX" -DVORLANIX_WINDOWS_BITMAP_DIR="$NATIVE/bitmaps" \
  -DVORLANIX_WINDOWS_SOUND_DIR="$NATIVE/sound" -DVORLANIX_WINDOWS_ICON="$ICON" "${launcher[@]}"
run_logged "$OUT/cross.log" cmake --build "$CROSS" -j"$JOBS" --target vorlanix vorlanix-qhs hiscore-race

# The folder a player gets: the programs, the two SDL DLLs, the sounds, the README and the licence.
VERSION=$(sed -nE 's/^project\(vorlanix VERSION ([0-9.]+).*/\1/p' "$ROOT/CMakeLists.txt")
STAGE_DIR=$OUT/stage/Vorlanix
rm -rf "$OUT/stage"; mkdir -p "$STAGE_DIR/sound"
for program in vorlanix vorlanix-qhs; do
  $HOST-strip -o "$STAGE_DIR/$program.exe" "$CROSS/$program.exe"
done
cp "$PREFIX/bin/SDL2.dll" "$PREFIX/bin/SDL2_mixer.dll" "$STAGE_DIR/"
$HOST-strip "$STAGE_DIR"/*.dll
cp "$NATIVE"/sound/*.wav "$STAGE_DIR/sound/"
# Windows' editors want CR LF line ends.
sed -e "s/@VERSION@/$VERSION/g" -e 's/$/\r/' "$ROOT/packaging/windows/README.txt" >"$STAGE_DIR/README.txt"
sed -e 's/$/\r/' /usr/share/common-licenses/GPL-3 >"$STAGE_DIR/COPYING.txt"

# Every DLL the programs load is either Windows' own or in the folder.
for program in "$STAGE_DIR"/*.exe "$STAGE_DIR"/*.dll; do
  $HOST-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' | while read -r dll; do
    [ -e "$STAGE_DIR/$dll" ] && continue
    case "${dll,,}" in
      kernel32.dll|user32.dll|gdi32.dll|shell32.dll|ole32.dll|oleaut32.dll|advapi32.dll|imm32.dll|winmm.dll|\
      version.dll|setupapi.dll|msvcrt.dll|cfgmgr32.dll|hid.dll|ws2_32.dll|shlwapi.dll|api-ms-win-*) ;;
      *) echo "$(basename "$program") needs $dll, which neither Windows nor the package has" >&2; exit 1 ;;
    esac
  done
done

ZIP=$OUT/vorlanix-$VERSION-windows-x64.zip
rm -f "$ZIP"
(cd "$OUT/stage" && zip -qr -X "$ZIP" Vorlanix)
SETUP=$OUT/vorlanix-$VERSION-setup.exe
rm -f "$SETUP"
run_logged "$OUT/nsis.log" makensis -V2 -DVERSION="$VERSION" -DSTAGE="$STAGE_DIR" -DICON="$ICON" \
  -DOUTFILE="$SETUP" "$ROOT/packaging/windows/vorlanix.nsi"
echo "built $ZIP ($(du -h "$ZIP" | cut -f1)) and $SETUP ($(du -h "$SETUP" | cut -f1))"
