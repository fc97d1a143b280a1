// SPDX-License-Identifier: GPL-3.0-or-later
// The screens family: the title and closing pictures, the menu panel and the menu pages.
// Each function writes its bitmaps into the output directory.
#pragma once

#include <filesystem>

namespace screens {

void draw_title_screens(const std::filesystem::path& dir);  // start.bmp, ende.bmp
void draw_menu_panel(const std::filesystem::path& dir);     // menue.bmp
void draw_info_pages(const std::filesystem::path& dir);     // start, story, impressum, help pages
void draw_form_pages(const std::filesystem::path& dir);     // preferences to msg

}  // namespace screens
