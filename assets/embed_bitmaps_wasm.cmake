# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build's twin of embed_bitmaps.cmake: WebAssembly objects keep each blob in a data
# section of its own with a known size, and the name table is C, so pointers take the target's width.
file(GLOB bitmaps RELATIVE ${BITMAP_DIR} ${BITMAP_DIR}/*.bmp)
list(SORT bitmaps)
set(asm "")
set(decls "")
set(rows "")
set(i 0)
foreach(name IN LISTS bitmaps)
  file(SIZE ${BITMAP_DIR}/${name} size)
  string(APPEND asm "    .section .rodata.vorlanix_bitmap_${i},\"\",@\n    .globl vorlanix_bitmap_${i}\n"
                    "vorlanix_bitmap_${i}:\n    .incbin \"${BITMAP_DIR}/${name}\"\n    .size vorlanix_bitmap_${i}, ${size}\n")
  string(APPEND decls "extern const uint8_t vorlanix_bitmap_${i}[];\n")
  string(APPEND rows "    {\"${name}\", vorlanix_bitmap_${i}, ${size}},\n")
  math(EXPR i "${i} + 1")
endforeach()
set(table "#include <stdint.h>\nstruct EmbeddedEntry { const char* name; const uint8_t* data; uint64_t size; };\n${decls}")
string(APPEND table "const struct EmbeddedEntry vorlanix_bitmap_table[] = {\n${rows}};\nconst uint64_t vorlanix_bitmap_count = ${i};\n")
file(WRITE ${OUTPUT}.tmp "${asm}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(WRITE ${TABLE}.tmp "${table}")
file(COPY_FILE ${TABLE}.tmp ${TABLE} ONLY_IF_DIFFERENT)
