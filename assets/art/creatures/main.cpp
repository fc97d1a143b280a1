// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the creature pictures (Irones, boards, the big Irone, castles, satellites, Raumtanks,
// stations) into the directory given on the command line.
#include "creatures.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: art_creatures OUTPUT_DIR\n");
        return 2;
    }
    const creatures::fs::path dir = argv[1];
    try {
        creatures::write_irones(dir);
        creatures::write_boards(dir);
        creatures::write_big_irone(dir);
        creatures::write_castle(dir);
        creatures::write_satellites(dir);
        creatures::write_tanks(dir);
        creatures::write_station(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "art_creatures: %s\n", e.what());
        return 1;
    }
    return 0;
}
