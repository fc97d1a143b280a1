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
#include <optional>

#include "platform/sdl/renderer_choice.h"

namespace platform {

namespace {

// A child that found nothing out in this time is given up: the game then tries for itself.
constexpr int kPatienceMs = 4000;
// The child keeps its display connection until the game is done with it, but no longer than this
// should the game never come to ask.
constexpr int kChildStaysMs = 30000;

struct Asking {
    pid_t pid = -1;
    int answer = -1;  // the reading end of the child's pipe
    int done = -1;    // the writing end of ours: closed, it lets the child go
};
Asking asking;
std::optional<FirstChoice> known;

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
    if (asking.done >= 0) close(asking.done);
    if (asking.pid > 0) {
        kill(asking.pid, SIGKILL);
        waitpid(asking.pid, nullptr, 0);
    }
    asking = {};
}

}  // namespace

void StartAskingFirstChoice() {
    forget();
    known.reset();
    int answer[2], done[2];
    if (pipe2(answer, O_CLOEXEC) != 0) return;
    if (pipe2(done, O_CLOEXEC) != 0) {
        close(answer[0]);
        close(answer[1]);
        return;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(answer[0]);
        close(done[1]);
        // Mesa and SDL may have things to say about the display; they are not the game's.
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (null >= 0) dup2(null, STDERR_FILENO);
        const char letter = ask();
        [[maybe_unused]] const ssize_t written = write(answer[1], &letter, 1);
        // An X server with no client left resets itself, and a client connecting just then may be
        // turned away: the child's connection stays until the game has its own and has read the
        // answer (or has ended), which closes the other end of this pipe.
        pollfd wait{done[0], POLLIN, 0};
        poll(&wait, 1, kChildStaysMs);
        // Nothing of the parent's (buffers, exit handlers, the display connection) is the child's to end.
        _exit(0);
    }
    close(answer[1]);
    close(done[0]);
    if (pid < 0) {
        close(answer[0]);
        close(done[1]);
        return;
    }
    asking = {pid, answer[0], done[1]};
}

FirstChoice FirstChoiceAnswer() {
    if (known) return *known;
    if (asking.pid <= 0) return FirstChoice::Unknown;
    pollfd wait{asking.answer, POLLIN, 0};
    char letter = 'U';
    if (poll(&wait, 1, kPatienceMs) != 1 || read(asking.answer, &letter, 1) != 1) letter = 'U';
    forget();
    known = letter == 'P'   ? FirstChoice::OnTheProcessor
            : letter == 'G' ? FirstChoice::OnTheGraphicsCard
                            : FirstChoice::Unknown;
    return *known;
}

void StopAskingFirstChoice() { forget(); }

}  // namespace platform
