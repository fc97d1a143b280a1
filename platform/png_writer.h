// SPDX-License-Identifier: GPL-3.0-or-later
// Writes an RGB565 surface as a PNG file (for screenshots and contact sheets).
#pragma once

#include <filesystem>
#include <string>

#include "platform/surface.h"

namespace platform {

// Returns false with a message when the file cannot be written.
bool WritePng(const Surface& surface, const std::filesystem::path& file, std::string& error);

}  // namespace platform
