# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build (mingw-w64): the game and vorlanix-qhs on the same core library, SDL2 and
# SDL2_mixer as DLLs, zlib and libpng linked in, the C and C++ runtimes linked statically; no
# server, tests, benchmarks or fuzzers. The libraries come from VORLANIX_WINDOWS_PREFIX, where
# scripts/build-windows.sh built them from Debian's sources. Included from the top CMakeLists.txt
# after the core library.
set(VORLANIX_WINDOWS_PREFIX "$ENV{VORLANIX_WINDOWS_PREFIX}" CACHE PATH
  "where the Windows builds of SDL2, SDL2_mixer, libpng and zlib are installed")
set(VORLANIX_WINDOWS_ICON "" CACHE FILEPATH "the program's icon (.ico), cut from the native build's pictures")
set(win_prefix ${VORLANIX_WINDOWS_PREFIX})
if(NOT EXISTS ${win_prefix}/lib/libSDL2.dll.a)
  message(FATAL_ERROR "VORLANIX_WINDOWS_PREFIX must hold the Windows builds of the libraries (scripts/build-windows.sh)")
endif()

add_library(ZLIB::ZLIB INTERFACE IMPORTED)
target_include_directories(ZLIB::ZLIB INTERFACE ${win_prefix}/include)
target_link_libraries(ZLIB::ZLIB INTERFACE ${win_prefix}/lib/libz.a)
add_library(PNG::PNG INTERFACE IMPORTED)
target_include_directories(PNG::PNG INTERFACE ${win_prefix}/include)
target_link_libraries(PNG::PNG INTERFACE ${win_prefix}/lib/libpng16.a ZLIB::ZLIB)
# nlohmann's header-only library, reached through a link in the prefix to Debian's headers.
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json INTERFACE ${win_prefix}/include)
add_library(windows_sdl2 INTERFACE)
target_include_directories(windows_sdl2 INTERFACE ${win_prefix}/include/SDL2)
target_link_libraries(windows_sdl2 INTERFACE ${win_prefix}/lib/libSDL2_mixer.dll.a ${win_prefix}/lib/libSDL2.dll.a)

# Wide file names, the shell's folders and command line; no min/max macros from windows.h; the C
# library's localtime_r and gmtime_r. Windows' C library has no number for an exceeded disk quota:
# it gets one of its own, which the file code gives for Windows' quota error.
target_compile_definitions(vorlanix_core PUBLIC UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
  _POSIX_THREAD_SAFE_FUNCTIONS EDQUOT=200 VORLANIX_VERSION="${PROJECT_VERSION}")
target_link_libraries(vorlanix_core PUBLIC vorlanix_bitmaps nlohmann_json::nlohmann_json PNG::PNG ZLIB::ZLIB
  shell32 ole32)

file(GLOB SDL_SOURCES CONFIGURE_DEPENDS platform/sdl/*.cpp)
vorlanix_platform_twins(SDL_SOURCES)
add_library(vorlanix_sdl STATIC ${SDL_SOURCES})
target_link_libraries(vorlanix_sdl PUBLIC vorlanix_core windows_sdl2)
target_compile_options(vorlanix_sdl PRIVATE ${VORLANIX_WARNINGS})
target_compile_options(vorlanix_sdl PRIVATE "SHELL:-include ${CMAKE_SOURCE_DIR}/packaging/windows/posix_environment.h")

# The exe's icon and version, shown by Explorer and the installer.
string(REPLACE "." "," VORLANIX_VERSION_COMMAS "${PROJECT_VERSION}.0")
configure_file(packaging/windows/vorlanix.rc.in ${CMAKE_BINARY_DIR}/vorlanix.rc @ONLY)
configure_file(packaging/windows/vorlanix-qhs.rc.in ${CMAKE_BINARY_DIR}/vorlanix-qhs.rc @ONLY)

# The game is a windowed program (no console window opens with it); the collector's tool is a
# console program. Both carry their C and C++ runtimes, so only the two SDL DLLs go beside them.
add_executable(vorlanix WIN32 shell/main.cpp ${CMAKE_BINARY_DIR}/vorlanix.rc)
target_link_libraries(vorlanix PRIVATE vorlanix_sdl)
target_compile_options(vorlanix PRIVATE ${VORLANIX_WARNINGS})
add_executable(vorlanix-qhs tools/vorlanix_qhs.cpp ${CMAKE_BINARY_DIR}/vorlanix-qhs.rc)
target_link_libraries(vorlanix-qhs PRIVATE vorlanix_core)
# -Wno-restrict: GCC 12 sees an overlap in a string concatenation that cannot overlap (GCC bug 105329).
target_compile_options(vorlanix-qhs PRIVATE ${VORLANIX_WARNINGS} -Wno-restrict)
foreach(program vorlanix vorlanix-qhs)
  target_link_options(${program} PRIVATE -static)
endforeach()
set_property(SOURCE ${CMAKE_BINARY_DIR}/vorlanix.rc APPEND PROPERTY OBJECT_DEPENDS ${VORLANIX_WINDOWS_ICON})

# A test program for scripts/test-windows.sh, not shipped: two games saving hiscore.dat at once.
add_executable(hiscore-race EXCLUDE_FROM_ALL tests/windows/hiscore_race.cpp)
target_link_libraries(hiscore-race PRIVATE vorlanix_core)
target_compile_options(hiscore-race PRIVATE ${VORLANIX_WARNINGS})
target_link_options(hiscore-race PRIVATE -static)
