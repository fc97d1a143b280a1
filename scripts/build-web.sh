#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the browser game into build-web/dist/: emscripten from Debian, SDL2, SDL2_mixer (WAV only), zlib and
# libpng built from Debian's source packages into a cache outside the clone, then the game itself with emcc.
#   scripts/build-web.sh            everything (dependencies only when the cache lacks them)
#   scripts/build-web.sh deps       only the dependencies
# VORLANIX_WEB_CACHE overrides the cache root (default /var/cache/vorlanix); VORLANIX_NATIVE_BUILD names
# an existing native build folder to draw the pictures and sounds in (default build-web/native).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE_ROOT=${VORLANIX_WEB_CACHE:-/var/cache/vorlanix}
STAGE=${1:-all}
JOBS=$(nproc)
# Debian's emscripten runs with the machine's node, which does not look in Debian's module folder.
export NODE_PATH=/usr/share/nodejs


need_packages() {
  local missing=()
  for p in "$@"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
  if ((${#missing[@]})); then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# apt-get source needs a deb-src entry for the archive and suite the machine already uses.
ensure_deb_src() {
  if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    cat >/etc/apt/sources.list.d/debian-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    apt-get update -qq
  elif ! apt-cache showsrc libsdl2 >/dev/null 2>&1 || [ -z "$(apt-cache showsrc libsdl2 2>/dev/null)" ]; then
    apt-get update -qq
  fi
}

# The upstream version of a source package (no epoch, no Debian revision, no repack suffix).
src_version() {
  apt-cache showsrc "$1" | awk '/^Version:/ {print $2}' | sort -V | tail -1 | sed -E 's/^[0-9]+://; s/[-+~].*//; s/\.dfsg.*//'
}

bash "$ROOT/scripts/install-deps.sh"
need_packages emscripten nodejs dpkg-dev xz-utils python3 cmake make
ensure_deb_src
EMVER=$(dpkg-query -W -f '${Version}' emscripten | sed 's/[~+].*//')
V_SDL=$(src_version libsdl2); V_MIX=$(src_version libsdl2-mixer)
V_Z=$(src_version zlib); V_PNG=$(src_version libpng1.6)
DEPS=$CACHE_ROOT/web-deps-em$EMVER-sdl$V_SDL-mixer$V_MIX-zlib$V_Z-png$V_PNG
PREFIX=$DEPS/prefix
mkdir -p "$DEPS"

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

# Each library is built once per cache; a stamp in the prefix says it is complete.
build_zlib_png() {
  [ -f "$PREFIX/.png" ] && return 0
  local s
  s=$(fetch_source zlib)
  # zlib's own CMake file wants the Windows resource file that Debian's source leaves out; its
  # fifteen C files need no configuring.
  mkdir -p "$DEPS/build-zlib" "$PREFIX/lib" "$PREFIX/include"
  local objs=()
  # zlib's CMake file, when it ever ran on this tree, moved the header aside.
  [ -f "$s/zconf.h" ] || cp "$s/zconf.h.included" "$s/zconf.h"
  for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees \
    uncompr zutil; do
    emcc -O2 -DZ_HAVE_UNISTD_H -c "$s/$c.c" -o "$DEPS/build-zlib/$c.o" >>"$DEPS/zlib.log" 2>&1
    objs+=("$DEPS/build-zlib/$c.o")
  done
  rm -f "$PREFIX/lib/libz.a"
  emar rcs "$PREFIX/lib/libz.a" "${objs[@]}"
  cp "$s/zlib.h" "$PREFIX/include/"
  cp "$s/zconf.h" "$PREFIX/include/zconf.h"

  s=$(fetch_source libpng1.6)
  emcmake cmake -S "$s" -B "$DEPS/build-png" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
    -DZLIB_LIBRARY="$PREFIX/lib/libz.a" -DZLIB_INCLUDE_DIR="$PREFIX/include" >"$DEPS/png.log" 2>&1
  cmake --build "$DEPS/build-png" -j"$JOBS" >>"$DEPS/png.log" 2>&1
  cmake --install "$DEPS/build-png" >>"$DEPS/png.log" 2>&1
  touch "$PREFIX/.png"
}

build_sdl() {
  [ -f "$PREFIX/.sdl" ] && return 0
  local s
  s=$(fetch_source libsdl2)
  rm -rf "$DEPS/build-sdl"
  # Configuring links one test program per check: about five minutes.
  emcmake cmake -S "$s" -B "$DEPS/build-sdl" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DSDL_TEST=OFF -DSDL_SHARED=OFF -DSDL_STATIC=ON >"$DEPS/sdl.log" 2>&1
  cmake --build "$DEPS/build-sdl" -j"$JOBS" >>"$DEPS/sdl.log" 2>&1
  cmake --install "$DEPS/build-sdl" >>"$DEPS/sdl.log" 2>&1
  touch "$PREFIX/.sdl"
}

build_mixer() {
  [ -f "$PREFIX/.mixer" ] && return 0
  local s
  s=$(fetch_source libsdl2-mixer)
  rm -rf "$DEPS/build-mixer"
  emcmake cmake -S "$s" -B "$DEPS/build-mixer" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
    -DSDL2_DIR="$PREFIX/lib/cmake/SDL2" -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_DEPS_SHARED=OFF >"$DEPS/mixer.log" 2>&1
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
  mkdir -p "$PREFIX/include"
  # SDL's configure runs one check after another on one core; zlib and libpng build beside it.
  build_sdl &
  local sdl=$!
  build_zlib_png
  wait "$sdl" || { echo "SDL2 failed to build, see $DEPS/sdl.log" >&2; exit 1; }
  build_mixer
  # The JSON library is header-only; give emcc its folder alone, never the machine's whole /usr/include.
  ln -sfn /usr/include/nlohmann "$PREFIX/include/nlohmann"
  echo "dependencies built in $((SECONDS - t0)) s" >"$PREFIX/.complete"
  cat "$PREFIX/.complete"
}

build_deps
[ "$STAGE" = deps ] && exit 0

# The pictures and sounds are drawn by the native generators, as for every other build. CI hands
# over the Windows stage's native build (the same configuration) in VORLANIX_NATIVE_BUILD.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
mkdir -p "$ROOT/build-web"
NATIVE=$(realpath -m "${VORLANIX_NATIVE_BUILD:-$ROOT/build-web/native}")
if [ ! -f "$NATIVE/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$NATIVE" -DCMAKE_BUILD_TYPE=Release -DVORLANIX_TESTS=OFF -DVORLANIX_BENCH=OFF \
    "${launcher[@]}" >"$ROOT/build-web/native.log" 2>&1 || { tail -30 "$ROOT/build-web/native.log" >&2; exit 1; }
fi
cmake --build "$NATIVE" -j"$JOBS" --target art sounds >>"$ROOT/build-web/native.log" 2>&1 ||
  { tail -30 "$ROOT/build-web/native.log" >&2; exit 1; }

WASM=$ROOT/build-web/wasm
emcmake cmake -S "$ROOT" -B "$WASM" -DCMAKE_BUILD_TYPE=Release -DVORLANIX_WEB_PREFIX="$PREFIX" \
  -DVORLANIX_WEB_BITMAP_DIR="$NATIVE/bitmaps" -DVORLANIX_WEB_SOUND_DIR="$NATIVE/sound" \
  -DVORLANIX_TESTS=OFF -DVORLANIX_BENCH=OFF -DVORLANIX_WERROR=ON "${launcher[@]}" >"$ROOT/build-web/wasm.log" 2>&1 ||
  { tail -30 "$ROOT/build-web/wasm.log" >&2; exit 1; }
cmake --build "$WASM" -j"$JOBS" --target vorlanix >>"$ROOT/build-web/wasm.log" 2>&1 ||
  { tail -40 "$ROOT/build-web/wasm.log" >&2; exit 1; }

# The page and the program's files, the big ones under names that change with their content, so a
# server may let browsers keep them for good.
DIST=$ROOT/build-web/dist
rm -rf "$DIST"; mkdir -p "$DIST"
hashed() {
  local f=$1 base ext sum
  base=$(basename "$f"); ext=${base#*.}; base=${base%%.*}
  sum=$(sha256sum "$f" | cut -c1-12)
  cp "$f" "$DIST/$base.$sum.$ext"
  echo "$base.$sum.$ext"
}
WASM_NAME=$(hashed "$WASM/vorlanix.wasm")
DATA_NAME=$(hashed "$WASM/vorlanix.data")
# The loader names the two files it fetches; the page tells it their hashed names.
JS_NAME=$(hashed "$WASM/vorlanix.js")
sed -e "s/@VORLANIX_JS@/$JS_NAME/g; s/@VORLANIX_WASM@/$WASM_NAME/g; s/@VORLANIX_DATA@/$DATA_NAME/g" \
  "$ROOT/web/index.html" >"$DIST/index.html"
cp "$ROOT/web/page.css" "$ROOT/web/page.js" "$DIST/"
echo "built $DIST: $(du -sh "$DIST" | cut -f1) ($JS_NAME, $WASM_NAME, $DATA_NAME)"
