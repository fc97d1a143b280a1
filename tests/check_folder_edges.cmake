# Fails when a file includes a header from a folder its own folder may not use. The floors are
# described in doc/architecture.md; the table below is the same table, and a new edge between
# folders is a decision to write down here and there, not an accident of one include.
#   cmake -DSOURCE_DIR=... -P check_folder_edges.cmake

cmake_minimum_required(VERSION 3.25)

# Each folder and the folders it may include from (besides itself).
set(allowed_platform           "platform/headless;score")  # debts: screenshots' PNG writer, the file system
set(allowed_platform/sdl       "platform")
set(allowed_platform/headless  "platform;app")  # the script driver reads and sets the game's fields
set(allowed_score              "platform;app")  # debt: the list's own methods belong to the game object
set(allowed_app                "platform;platform/headless;platform/sdl;score;replay")
set(allowed_game               "app;platform")
set(allowed_gfx                "app;platform")
set(allowed_menu               "app;gfx;platform;score")
set(allowed_sound              "app;platform")
set(allowed_replay             "platform;platform/headless;app;score")
set(allowed_tools              "app;platform;platform/headless;replay;score")
set(allowed_server             "platform;replay;score")

set(folders platform platform/sdl platform/headless score app game gfx menu sound replay tools server)
set(offences "")
foreach(folder IN LISTS folders)
  file(GLOB sources ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.inc)
  foreach(f IN LISTS sources)
    file(STRINGS ${f} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z0-9_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" header "${line}")
      if(header MATCHES "^platform/(sdl|headless)/")
        string(REGEX MATCH "^platform/[a-z]+" target "${header}")
      else()
        string(REGEX MATCH "^[a-z0-9_]+" target "${header}")
      endif()
      if(NOT target STREQUAL folder AND NOT EXISTS ${SOURCE_DIR}/${target})
        continue()  # not one of ours (a library's header with a folder in its name)
      endif()
      if(NOT target STREQUAL folder AND NOT target IN_LIST allowed_${folder})
        file(RELATIVE_PATH name ${SOURCE_DIR} ${f})
        list(APPEND offences "${name} includes ${header} (${folder} may not use ${target})")
      endif()
    endforeach()
  endforeach()
endforeach()
if(offences)
  list(JOIN offences "\n  " text)
  message(FATAL_ERROR "includes across folders that doc/architecture.md does not allow:\n  ${text}")
endif()
