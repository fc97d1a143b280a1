// SPDX-License-Identifier: GPL-3.0-or-later
// Windows' error codes in the numbers the game words its messages by and replays record (errno).
#pragma once

#include <system_error>

namespace base {

std::error_code ErrnoFromWindowsError(unsigned long error);

}  // namespace base
