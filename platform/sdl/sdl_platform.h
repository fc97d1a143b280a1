// The real backend: an SDL2 window with the 640 x 480 picture scaled cleanly, the pointer kept
// by us in screen coordinates, and SDL2_mixer channels for the sound copies.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace platform {

struct SdlOptions {
    bool window = false;  // a window instead of fullscreen-desktop
    int scale = 0;        // window scale factor; 0 = 2
    std::string scaling = "sharp";  // sharp, integer or smooth
    std::string renderer;           // SDL render driver; empty = chosen automatically
    bool vsync = true;
    std::filesystem::path stateFile;  // written on SIGUSR1; empty = never
};

// Initialises SDL's event and timer parts; the window itself is opened by InitDisplay.
std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options);

}  // namespace platform
