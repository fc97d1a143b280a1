// SPDX-License-Identifier: GPL-3.0-or-later
// Which SDL video drivers may open the window. SDL would fall back to its off-screen driver where
// no display opens, and the player would get an invisible window that runs until killed; the
// invisible drivers are used only when SDL_VIDEODRIVER names them.
#pragma once

namespace platform {

// Call before SDL's video starts.
void LeaveOutInvisibleVideoDrivers();

}  // namespace platform
