// SPDX-License-Identifier: GPL-3.0-or-later
// Windows has no processor-drawn OpenGL that would stay behind, and no fork: the game tries SDL's
// first choice itself.
#include "platform/sdl/first_choice_probe.h"

namespace platform {

void StartAskingFirstChoice() {}

FirstChoice FirstChoiceAnswer() { return FirstChoice::Unknown; }

void StopAskingFirstChoice() {}

}  // namespace platform
