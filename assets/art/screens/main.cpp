// SPDX-License-Identifier: GPL-3.0-or-later
// art_screens OUTPUT_DIR: draws the title and closing pictures, the menu panel and the
// fifteen menu pictures into OUTPUT_DIR.
#include "screens.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: art_screens OUTPUT_DIR\n";
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        screens::draw_title_screens(dir);
        screens::draw_menu_panel(dir);
        screens::draw_info_pages(dir);
        screens::draw_form_pages(dir);
    } catch (const std::exception& e) {
        std::cerr << "art_screens: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
