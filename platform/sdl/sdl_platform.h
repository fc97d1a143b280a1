// SPDX-License-Identifier: GPL-3.0-or-later
// The real backend: an SDL2 window with the 640 x 480 picture scaled cleanly, the pointer kept
// by us in screen coordinates, and SDL2_mixer channels for the sound copies.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace platform {

struct SdlOptions {
    bool window = false;            // a window instead of fullscreen-desktop
    int scale = 0;                  // window scale factor; 0 = 2
    std::string scaling = "sharp";  // sharp, integer or smooth
    std::string renderer;           // SDL render driver; empty = chosen automatically
    bool vsync = true;
    std::filesystem::path stateFile;  // written on SIGUSR1; empty = never
    bool mute = false;                // open no sound device
    int effectsVolume = 100;          // 0..100
    int musicVolume = 100;            // 0..100
    int controllerDeadZone = 15;      // percent
    int controllerSpeed = 600;        // picture pixels per second at full tilt
    // Told the new choice whenever the player switches between window and fullscreen.
    std::function<void(bool fullscreen)> fullscreenChanged;
};

// The application id: desktop file, AppStream id, icon name, X11 window class and Wayland app id.
inline constexpr const char* kApplicationId = "io.github.vorlanix.Vorlanix";

// Initialises SDL's event and timer parts; the window itself is opened by InitDisplay.
std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options);

// The program is ending: the window goes from the screen and the sound stops at once, while the
// last files are still being written; the system takes the rest back when the process ends.
void VanishSdlPlatform(Platform& sdlPlatform);

// The window's title (UTF-8), now or as soon as the window opens.
void SetSdlWindowTitle(Platform& sdlPlatform, const std::string& title);

}  // namespace platform
