# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows build's twin of assets/embed_bitmaps.cmake: the same table of names and blobs in the
# assembler syntax of PE/COFF objects (read-only data is .rdata; the loader relocates the table).
file(GLOB bitmaps RELATIVE ${BITMAP_DIR} ${BITMAP_DIR}/*.bmp)
list(SORT bitmaps)
set(asm "    .section .rdata,\"dr\"\n    .balign 16\n")
set(table "")
set(names "")
set(i 0)
foreach(name IN LISTS bitmaps)
  string(APPEND asm "bitmap_${i}:\n    .incbin \"${BITMAP_DIR}/${name}\"\nbitmap_${i}_end:\n")
  string(APPEND names "bitmap_name_${i}:\n    .asciz \"${name}\"\n")
  string(APPEND table "    .quad bitmap_name_${i}, bitmap_${i}, bitmap_${i}_end - bitmap_${i}\n")
  math(EXPR i "${i} + 1")
endforeach()
string(APPEND asm "${names}    .balign 8\n    .globl vorlanix_bitmap_table\nvorlanix_bitmap_table:\n${table}")
string(APPEND asm "    .globl vorlanix_bitmap_count\nvorlanix_bitmap_count:\n    .quad ${i}\n")
file(WRITE ${OUTPUT}.tmp "${asm}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
