// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of the message page after SICHERN: where the upload file went and where to send
// it, or why it could not be written.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "score/upload_file.h"

namespace score {

// The font's width of a code page 1252 text in pixels (TextLaenge).
using TextWidth = std::function<int32_t(std::string_view)>;

// Up to eight lines, each the shortest leading piece that reaches 290 pixels, or the rest.
std::vector<std::string> break_into_lines(std::string_view text, const TextWidth& TextLaenge);

// MeldungZeile(1..12), code page 1252; index 0 unused. The path is shown with "/" for every
// "\", which the font lacks, and only its first six lines fit.
std::array<std::string, 13> upload_message(const UploadWrite& write, const TextWidth& TextLaenge);

}  // namespace score
