# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build runs no generator of its own: a native build has drawn the pictures and
# synthesised the sounds into the two folders it is given (scripts/build-windows.sh), and the
# pictures are embedded from there. Included from the top CMakeLists.txt in place of assets/.
set(VORLANIX_WINDOWS_BITMAP_DIR "" CACHE PATH "the pictures a native build has drawn")
set(VORLANIX_WINDOWS_SOUND_DIR "" CACHE PATH "the sounds a native build has synthesised")
if(NOT EXISTS ${VORLANIX_WINDOWS_BITMAP_DIR}/Irone0.bmp)
  message(FATAL_ERROR "VORLANIX_WINDOWS_BITMAP_DIR must hold the native build's pictures (scripts/build-windows.sh)")
endif()
set(BITMAP_DIR ${VORLANIX_WINDOWS_BITMAP_DIR} CACHE INTERNAL "generated bitmaps")
set(SOUND_DIR ${VORLANIX_WINDOWS_SOUND_DIR} CACHE INTERNAL "generated wave files")
set(RESOURCE_ASM ${CMAKE_BINARY_DIR}/generated/bitmap_resources.S)
file(GLOB bitmap_files ${BITMAP_DIR}/*.bmp)
add_custom_command(
  OUTPUT ${RESOURCE_ASM}
  COMMAND ${CMAKE_COMMAND} -DBITMAP_DIR=${BITMAP_DIR} -DOUTPUT=${RESOURCE_ASM}
          -P ${CMAKE_SOURCE_DIR}/packaging/windows/embed_bitmaps_windows.cmake
  DEPENDS ${bitmap_files} ${CMAKE_SOURCE_DIR}/packaging/windows/embed_bitmaps_windows.cmake
  COMMENT "Embedding the bitmaps")
add_library(vorlanix_bitmaps STATIC ${RESOURCE_ASM})
set_source_files_properties(${RESOURCE_ASM} PROPERTIES LANGUAGE ASM)
