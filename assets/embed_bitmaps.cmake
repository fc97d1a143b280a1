# SPDX-License-Identifier: GPL-3.0-or-later
# Writes an assembler file that embeds every .bmp of BITMAP_DIR with its file name,
# read by platform/resources.cpp through the symbols vorlanix_bitmap_table/_count.
file(GLOB bitmaps RELATIVE ${BITMAP_DIR} ${BITMAP_DIR}/*.bmp)
list(SORT bitmaps)
set(asm "    .section .rodata\n    .balign 16\n")
set(table "")
set(names "")
set(i 0)
foreach(name IN LISTS bitmaps)
  string(APPEND asm "bitmap_${i}:\n    .incbin \"${BITMAP_DIR}/${name}\"\nbitmap_${i}_end:\n")
  string(APPEND names "bitmap_name_${i}:\n    .asciz \"${name}\"\n")
  string(APPEND table "    .quad bitmap_name_${i}, bitmap_${i}, bitmap_${i}_end - bitmap_${i}\n")
  math(EXPR i "${i} + 1")
endforeach()
# The table holds addresses, so it lives in a section the loader may relocate (no text
# relocations in a position-independent executable).
string(APPEND asm "${names}    .section .data.rel.ro\n    .balign 8\n    .globl vorlanix_bitmap_table\nvorlanix_bitmap_table:\n${table}")
string(APPEND asm "    .globl vorlanix_bitmap_count\nvorlanix_bitmap_count:\n    .quad ${i}\n")
string(APPEND asm "    .section .note.GNU-stack,\"\",@progbits\n")
file(WRITE ${OUTPUT}.tmp "${asm}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
