// SPDX-License-Identifier: GPL-3.0-or-later
// The table from SDL keys to the game's Windows virtual key codes.
#include "platform/sdl/key_codes.h"

#include <SDL.h>

namespace platform {

int16_t WindowsKeyCode(int32_t sdlKeycode, int32_t sdlScancode) {
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) return static_cast<int16_t>('A' + (sdlKeycode - SDLK_a));
    // A layout without Latin letters (Cyrillic, Greek ...) types other characters on the letter keys.
    const bool otherAlphabet = sdlKeycode >= 128 && !(sdlKeycode & SDLK_SCANCODE_MASK);
    if (otherAlphabet && sdlScancode >= SDL_SCANCODE_A && sdlScancode <= SDL_SCANCODE_Z)
        return static_cast<int16_t>('A' + (sdlScancode - SDL_SCANCODE_A));
    // SDL numbers the digit row 1..9, 0.
    if (sdlScancode >= SDL_SCANCODE_1 && sdlScancode <= SDL_SCANCODE_9)
        return static_cast<int16_t>('1' + (sdlScancode - SDL_SCANCODE_1));
    if (sdlScancode == SDL_SCANCODE_0) return '0';
    if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12) return static_cast<int16_t>(112 + (sdlKeycode - SDLK_F1));
    if (sdlKeycode >= SDLK_KP_1 && sdlKeycode <= SDLK_KP_9) return static_cast<int16_t>(97 + (sdlKeycode - SDLK_KP_1));
    switch (sdlKeycode) {
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 13;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return 17;
        case SDLK_LALT:
        case SDLK_RALT: return 18;
        case SDLK_PAUSE: return 19;
        case SDLK_CAPSLOCK: return 20;
        case SDLK_ESCAPE: return 27;
        case SDLK_SPACE: return 32;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_END: return 35;
        case SDLK_HOME: return 36;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_INSERT: return 45;
        case SDLK_DELETE: return 46;
        case SDLK_KP_0: return 96;
        case SDLK_KP_MULTIPLY: return 106;
        case SDLK_KP_PLUS: return 107;
        case SDLK_KP_MINUS: return 109;
        case SDLK_KP_PERIOD: return 110;
        case SDLK_KP_DIVIDE: return 111;
        case SDLK_NUMLOCKCLEAR: return 144;
        case SDLK_SCROLLLOCK: return 145;
        default: return 0;
    }
}

}  // namespace platform
