// SPDX-License-Identifier: GPL-3.0-or-later
// Reads uncompressed 24-bit BMP files into RGB565 surfaces; anything else is refused with a
// message naming the picture, and nothing is ever read beyond the bytes given.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace platform {

std::unique_ptr<Surface> DecodeBitmap(const std::vector<uint8_t>& bytes, const std::string& name);

}  // namespace platform
