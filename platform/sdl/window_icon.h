// SPDX-License-Identifier: GPL-3.0-or-later
// The window's icon, cut from the same picture as the desktop icons: the big Irone.
#pragma once

struct SDL_Window;

namespace platform {

void SetWindowIcon(SDL_Window* window);

}  // namespace platform
