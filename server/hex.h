// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes as lower-case hex text: the one form both databases store and compare the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace bestenliste {

std::string to_hex(std::span<const uint8_t> bytes);
std::optional<std::vector<uint8_t>> from_hex(std::string_view text);

}  // namespace bestenliste
