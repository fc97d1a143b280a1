// SPDX-License-Identifier: GPL-3.0-or-later
// Restricting SDL's search for a display to drivers that show something.
#include "platform/sdl/video_driver_choice.h"

#include <SDL.h>

#include <string>
#include <string_view>

namespace platform {

void LeaveOutInvisibleVideoDrivers() {
    if (SDL_getenv("SDL_VIDEODRIVER") || SDL_GetHint(SDL_HINT_VIDEODRIVER)) return;
    std::string drivers;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string_view name = SDL_GetVideoDriver(i);
        if (name == "offscreen" || name == "dummy" || name == "evdev") continue;
        if (!drivers.empty()) drivers += ',';
        drivers += name;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
}

}  // namespace platform
