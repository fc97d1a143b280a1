# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build (emcmake): SDL2, SDL2_mixer, libpng and zlib come from VORLANIX_WEB_PREFIX, where
# scripts/build-web.sh built them from Debian's sources; the program is linked to .js + .wasm with
# the sounds packed beside it. Included from the top CMakeLists.txt after the core library.
set(VORLANIX_WEB_PREFIX "" CACHE PATH "where the browser builds of SDL2, SDL2_mixer, libpng and zlib are installed")
if(NOT EXISTS ${VORLANIX_WEB_PREFIX}/lib/libSDL2.a)
  message(FATAL_ERROR "VORLANIX_WEB_PREFIX must hold the browser builds of the libraries (scripts/build-web.sh)")
endif()
set(web_prefix ${VORLANIX_WEB_PREFIX})

add_library(ZLIB::ZLIB INTERFACE IMPORTED)
target_include_directories(ZLIB::ZLIB INTERFACE ${web_prefix}/include)
target_link_libraries(ZLIB::ZLIB INTERFACE ${web_prefix}/lib/libz.a)
add_library(PNG::PNG INTERFACE IMPORTED)
target_include_directories(PNG::PNG INTERFACE ${web_prefix}/include)
target_link_libraries(PNG::PNG INTERFACE ${web_prefix}/lib/libpng16.a ZLIB::ZLIB)
# nlohmann's header-only library, reached through a link in the prefix to Debian's headers.
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json INTERFACE ${web_prefix}/include)
add_library(web_sdl2 INTERFACE)
target_include_directories(web_sdl2 INTERFACE ${web_prefix}/include/SDL2)
target_link_libraries(web_sdl2 INTERFACE ${web_prefix}/lib/libSDL2_mixer.a ${web_prefix}/lib/libSDL2.a)

# The program ends by an exception that unwinds to main, as on the desktop; emscripten catches
# none unless asked.
target_compile_options(vorlanix_core PUBLIC -fexceptions
  "SHELL:-include ${CMAKE_SOURCE_DIR}/web/compat/bit_cast.h")
target_link_libraries(vorlanix_core PUBLIC vorlanix_bitmaps nlohmann_json::nlohmann_json PNG::PNG ZLIB::ZLIB)
target_compile_definitions(vorlanix_core PUBLIC VORLANIX_VERSION="${PROJECT_VERSION}"
  PRIVATE VORLANIX_SHARE_DIR="/share/vorlanix")

file(GLOB SDL_SOURCES CONFIGURE_DEPENDS platform/sdl/*.cpp)
vorlanix_platform_twins(SDL_SOURCES)
add_library(vorlanix_sdl STATIC ${SDL_SOURCES})
target_link_libraries(vorlanix_sdl PUBLIC vorlanix_core web_sdl2)
target_compile_options(vorlanix_sdl PRIVATE ${VORLANIX_WARNINGS})

add_executable(vorlanix shell/main.cpp)
target_link_libraries(vorlanix PRIVATE vorlanix_sdl)
target_compile_options(vorlanix PRIVATE ${VORLANIX_WARNINGS})
set_target_properties(vorlanix PROPERTIES SUFFIX ".js")
target_link_options(vorlanix PRIVATE
  # The game's loops block (they pump, draw and wait); ASYNCIFY lets each wait hand the browser its turn.
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=262144
  -fexceptions
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1 -lidbfs.js -lnodefs.js
  # The page in a browser; node runs the same build for the replay checks.
  -sENVIRONMENT=web,node
  -sEXPORTED_RUNTIME_METHODS=FS
  # SDL's audio code calls these from its JavaScript; emscripten's own SDL port links them in. The
  # names begin with $, which make and the shell would eat, so they come from a file.
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_SOURCE_DIR}/web/library_functions.json
  # The page's test hook asks for the state through the signal the desktop uses.
  -sEXPORTED_FUNCTIONS=_main,_raise
  --pre-js ${CMAKE_SOURCE_DIR}/web/pre.js
  --preload-file ${SOUND_DIR}@/sound)
set_property(TARGET vorlanix APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/pre.js)
