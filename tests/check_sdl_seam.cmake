# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file outside platform/sdl/ includes an SDL header: the game talks to the machine
# only through platform/platform.h.
file(GLOB_RECURSE sources ${SOURCE_DIR}/app/* ${SOURCE_DIR}/game/* ${SOURCE_DIR}/gfx/* ${SOURCE_DIR}/menu/*
     ${SOURCE_DIR}/score/* ${SOURCE_DIR}/sound/* ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp
     ${SOURCE_DIR}/platform/headless/* ${SOURCE_DIR}/replay/* ${SOURCE_DIR}/server/*)
# The recursive glob of platform/*.cpp also finds the backend itself, which is the one place allowed.
list(FILTER sources EXCLUDE REGEX "/platform/sdl/")
set(offenders "")
foreach(f IN LISTS sources)
  file(STRINGS ${f} hits REGEX "#[ \t]*include[ \t]*[<\"]SDL")
  if(hits)
    list(APPEND offenders ${f})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "SDL headers outside platform/sdl/: ${offenders}")
endif()
