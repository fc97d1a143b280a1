// SPDX-License-Identifier: GPL-3.0-or-later
// A real X desktop for tests: Xvfb on a free display (found with -displayfd), optionally the
// openbox window manager, the program running on it, synthetic input through xdotool, the
// program's state through its --state-file, and screenshots read from xwd's files.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace testing_x {

// An RGB picture of the screen or of one window.
struct Shot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

class XDesktop {
  public:
    // A desktop of width x height, or nullptr with the reason in `why` when Xvfb (or a tool the
    // tests need) cannot start here.
    static std::unique_ptr<XDesktop> Start(int width, int height, bool windowManager, std::string& why);
    ~XDesktop();

    // Runs a shell command with this desktop's DISPLAY; its exit status.
    int Run(const std::string& command) const;
    // The same, returning what it printed.
    std::string Output(const std::string& command) const;
    // The screen, or one window by its X id.
    Shot Screenshot(const std::string& window = "root") const;
    const std::string& display() const { return display_; }

  private:
    XDesktop() = default;
    std::string display_;
    pid_t server_ = 0, windowManager_ = 0;
    std::filesystem::path dir_;
};

// The program on a desktop, with its own data directory and state file.
class Game {
  public:
    Game(const XDesktop& desktop, const std::filesystem::path& dir, std::vector<std::string> args);
    ~Game();

    // The state the program writes on SIGUSR1; throws when it does not come within seconds.
    nlohmann::json State();
    // Processor time the program used so far, in seconds.
    double CpuSeconds() const;
    // The X id of the program's window (waits for it to appear).
    std::string Window() const;
    // Ends it with SIGTERM as a desktop does; its exit status, or -1 when it had to be killed.
    int Stop();
    // Whether it has ended by itself (its exit status then goes into `status`); does not wait.
    bool Ended(int& status);
    pid_t pid() const { return pid_; }

  private:
    const XDesktop& desktop_;
    std::filesystem::path stateFile_, logFile_;
    pid_t pid_ = 0;
};

}  // namespace testing_x
