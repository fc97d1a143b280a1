// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmaps the build drew and embedded into the executable, looked up by name without regard
// to case; or, for art packs, the .bmp files of a directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// Throws std::runtime_error when no embedded bitmap has that name.
std::vector<uint8_t> EmbeddedBitmap(const std::string& name);
std::vector<std::string> EmbeddedBitmapNames();
// The largest .bmp file an art pack may hold: the largest built-in picture and room for other headers.
uint64_t LargestPictureFile();
// Throws std::runtime_error when the directory holds no readable file of that name, or when the
// file is larger than LargestPictureFile (the message names the file).
std::vector<uint8_t> BitmapFromDirectory(const std::filesystem::path& dir, const std::string& name);

}  // namespace platform
