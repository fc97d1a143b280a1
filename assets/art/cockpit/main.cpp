// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every picture of the cockpit family into the directory given on the command line.
#include "cockpit.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        const cockpit::fs::path dir = argv[1];
        // The scratch canvases only give their surfaces a size and a clean, black start.
        art::Canvas(320, 400).write_bmp(dir, "temp.bmp", art::Key::Black);
        art::Canvas(640, 20).write_bmp(dir, "temptxt.bmp", art::Key::Black);
        cockpit::write_frame(dir);
        cockpit::write_instruments(dir);
        cockpit::write_digits(dir);
        cockpit::write_font(dir);
        cockpit::write_portrait(dir);
        cockpit::write_menu_bits(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
