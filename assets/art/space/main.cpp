// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the space pictures: planets, lens, moons, meteor, nebulae, explosion, crater stamp,
// interference strip, pointer and radar marks. Usage: art_space OUTPUT_DIR
#include "space_art.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const space::fs::path dir = argv[1];
    space::draw_planets(dir);
    space::draw_lens(dir);
    space::draw_moons(dir);
    space::draw_meteor(dir);
    space::draw_nebulae(dir);
    space::draw_pointer(dir);
    space::draw_radar(dir);
    space::draw_explosion(dir);
    space::draw_crater(dir);
    space::draw_interference(dir);
    return 0;
}
