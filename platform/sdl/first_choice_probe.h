// SPDX-License-Identifier: GPL-3.0-or-later
// How SDL's first choice of renderer would draw, asked in a short-lived child process. On a
// machine without GPU that first choice is OpenGL drawn by the processor, and trying it in the
// game's own process would leave Mesa's OpenGL library and its compiler (some 70 MB) mapped for
// the whole run, although the game then draws into the window's own surface.
#pragma once

namespace platform {

enum class FirstChoice { Unknown, OnTheProcessor, OnTheGraphicsCard };

// Starts asking. Call it before SDL's video starts in this process: the child starts SDL's video
// for itself, on a display connection of its own.
void StartAskingFirstChoice();

// The answer, waiting a few seconds at most; Unknown when nobody asked or it could not be told.
// Call it once this process has its own display connection: the child keeps its connection until
// then. The answer is kept for later windows.
FirstChoice FirstChoiceAnswer();

// Lets the child go without its answer, where the game chose without it.
void StopAskingFirstChoice();

}  // namespace platform
