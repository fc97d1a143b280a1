// SPDX-License-Identifier: GPL-3.0-or-later
// On a real X server the game's window carries the application id as its class, so the desktop
// matches it to its desktop entry, and an icon of its own.
#include <gtest/gtest.h>
// After gtest: the X11 headers define None and other plain words as macros.
#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sdl/sdl_platform.h"

namespace {

// An Xvfb of the test's own on a free display, gone when the test ends.
class OwnXServer {
  public:
    OwnXServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes the display's number and a newline once it takes clients.
        std::string number;
        for (int waited = 0; waited < 15000; waited += 100) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char c;
            if (read(fds[0], &c, 1) != 1) break;
            if (c == '\n') {
                display_ = ":" + number;
                break;
            }
            number += c;
        }
        close(fds[0]);
    }
    ~OwnXServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), p)) > 0) out.append(buffer.data(), n);
    pclose(p);
    return out;
}

}  // namespace

TEST(WindowIdentity, TheWindowCarriesTheApplicationIdAndAnIcon) {
    OwnXServer x;
    ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", x.display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    {
        platform::SdlOptions options;
        options.window = true;
        auto p = platform::CreateSdlPlatform(options);
        p->InitDisplay();
        SDL_PumpEvents();
        SDL_Event e;
        ASSERT_EQ(SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT), 1);
        SDL_Window* window = SDL_GetWindowFromID(e.window.windowID);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
        const std::string id = std::to_string(info.info.x11.window);
        const std::string props =
            commandOutput("xprop -display " + x.display() + " -id " + id + " WM_CLASS _NET_WM_ICON 2>&1 | head -c 300");
        EXPECT_NE(props.find("WM_CLASS(STRING) = \"io.github.vorlanix.Vorlanix\""), std::string::npos) << props;
        // xprop draws the icon it finds and names its size.
        EXPECT_NE(props.find("Icon (64 x 64)"), std::string::npos) << props;
    }
    unsetenv("DISPLAY");
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
}
