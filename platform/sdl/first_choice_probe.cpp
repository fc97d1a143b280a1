// SPDX-License-Identifier: GPL-3.0-or-later
// Asks in a child process how SDL's first choice of renderer would draw (see the header).
#include "platform/sdl/first_choice_probe.h"

#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/sdl/renderer_choice.h"

namespace platform {

namespace {

// A child that found nothing out in this time is given up: the game then tries for itself.
constexpr int kPatienceMs = 4000;

struct Asking {
    pid_t pid = -1;
    int answer = -1;  // the reading end of the child's pipe
};
Asking asking;

// In the child: one letter, P (on the processor), G (on a graphics card) or U (cannot tell).
char ask() {
    // Its hidden window must not be taken for the game's by the desktop or by tools that look
    // for the game's window class.
    setenv("SDL_VIDEO_X11_WMCLASS", "vorlanix-renderer-probe", 1);
    QuietenProcessorOpenGl();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 || !WindowHasOwnSurface()) return 'U';
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
    if (!window) return 'U';
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    if (!renderer) return 'U';
    return DrawsOnTheProcessor(renderer) ? 'P' : 'G';
}

void forget() {
    if (asking.answer >= 0) close(asking.answer);
    if (asking.pid > 0) {
        kill(asking.pid, SIGKILL);
        waitpid(asking.pid, nullptr, 0);
    }
    asking = {};
}

}  // namespace

void StartAskingFirstChoice() {
    forget();
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        // Mesa and SDL may have things to say about the display; they are not the game's.
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) dup2(null, STDERR_FILENO);
        const char letter = ask();
        [[maybe_unused]] const ssize_t written = write(ends[1], &letter, 1);
        // Nothing of the parent's (buffers, exit handlers, the display connection) is the child's to end.
        _exit(0);
    }
    close(ends[1]);
    if (pid < 0) {
        close(ends[0]);
        return;
    }
    asking = {pid, ends[0]};
}

FirstChoice FirstChoiceAnswer() {
    if (asking.pid <= 0) return FirstChoice::Unknown;
    pollfd wait{asking.answer, POLLIN, 0};
    char letter = 'U';
    if (poll(&wait, 1, kPatienceMs) != 1 || read(asking.answer, &letter, 1) != 1) letter = 'U';
    forget();
    if (letter == 'P') return FirstChoice::OnTheProcessor;
    if (letter == 'G') return FirstChoice::OnTheGraphicsCard;
    return FirstChoice::Unknown;
}

}  // namespace platform
