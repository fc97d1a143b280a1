// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the message page: the INFO texts of the list, the result and the upload pages,
// and the request to fill in every field of the upload form.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vorlanix {

// MeldungZeile(1..12) in code page 1252; index 0 is unused.
using MessageLines = std::array<std::string, 13>;

// The INFO text of page 4, 8 or 9.
MessageLines InfoText(int32_t page);

MessageLines FillInEveryFieldText();

}  // namespace vorlanix
