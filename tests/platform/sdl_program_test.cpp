// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program on the SDL backend, as a separate process on SDL's offscreen video and dummy
// audio drivers: it shows the title, letterboxed in the fullscreen picture, and a request to
// close (SIGTERM, which SDL turns into a quit event) ends it like Escape, with exit code 0.
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::vector<fs::path> savedFrames(const fs::path& dir) {
    std::vector<fs::path> frames;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".bmp") frames.push_back(e.path());
    std::sort(frames.begin(), frames.end());
    return frames;
}

uint32_t pixelAt(SDL_Surface* s, int x, int y) {
    return static_cast<const uint32_t*>(s->pixels)[y * s->pitch / 4 + x] & 0xFFFFFF;
}

// The program as a child process with its stderr in a file.
class SdlProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vorlanix_program_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "frames");
    }
    void TearDown() override {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        fs::remove_all(dir_);
    }

    // Starts the program in the frames directory with SDL's variables replaced by `sdlEnv`, and no desktop.
    void start(std::vector<std::string> sdlEnv, std::vector<std::string> args = {}) {
        // Everything the child needs is prepared here: between fork and exec only plain system
        // calls are safe while other threads of this process may hold locks.
        // Without a desktop to show it on, a message box cannot block the test on a developer's machine.
        for (char** e = environ; *e; ++e) {
            const std::string_view v(*e);
            if (!v.starts_with("SDL_") && !v.starts_with("DISPLAY=") && !v.starts_with("WAYLAND_DISPLAY="))
                sdlEnv.emplace_back(*e);
        }
        std::vector<char*> envp;
        for (auto& e : sdlEnv) envp.push_back(e.data());
        envp.push_back(nullptr);
        // A settings file of its own, so the player's never decides what the test sees.
        const std::string exe = VORLANIX_EXE, data = (dir_ / "data").string(),
                          config = (dir_ / "vorlanix.conf").string();
        std::vector<char*> argv = {const_cast<char*>(exe.c_str()), const_cast<char*>("--data-dir"),
                                   const_cast<char*>(data.c_str()), const_cast<char*>("--config"),
                                   const_cast<char*>(config.c_str())};
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const std::string frames = (dir_ / "frames").string();
        const int logFd = open((dir_ / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(logFd, 0);
        child_ = fork();
        ASSERT_GE(child_, 0);
        if (child_ == 0) {
            if (chdir(frames.c_str()) != 0 || dup2(logFd, 2) < 0) _exit(127);
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        close(logFd);
    }

    // The child's wait status once it has ended, or nothing when it still runs after `limit`.
    std::optional<int> waitForEnd(std::chrono::milliseconds limit) {
        const auto endBy = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (waitpid(child_, &status, WNOHANG) != child_) {
            if (std::chrono::steady_clock::now() > endBy) return std::nullopt;
            std::this_thread::sleep_for(20ms);
        }
        child_ = 0;
        return status;
    }

    std::string log() const {
        std::ifstream f(dir_ / "stderr.txt");
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }

    fs::path dir_;
    pid_t child_ = 0;
};

TEST_F(SdlProgram, ShowsTheTitleAndEndsOnAQuitRequest) {
    // SDL's own software path on the offscreen driver writes every shown frame to a BMP in the
    // working directory.
    start({"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "SDL_FRAMEBUFFER_ACCELERATION=0",
           "SDL_VIDEO_OFFSCREEN_SAVE_FRAMES=1"},
          {"--renderer", "software", "--scaling", "integer"});
    const fs::path frames = dir_ / "frames";
    // Two saved frames mean the first one is complete.
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (savedFrames(frames).size() < 2 && std::chrono::steady_clock::now() < deadline) {
        ASSERT_FALSE(waitForEnd(0ms)) << "the program ended by itself\n" << log();
        std::this_thread::sleep_for(20ms);
    }
    kill(child_, SIGTERM);
    const auto status = waitForEnd(10s);
    ASSERT_TRUE(status) << "the program did not end on SIGTERM\n" << log();
    ASSERT_TRUE(WIFEXITED(*status)) << log();
    EXPECT_EQ(WEXITSTATUS(*status), 0) << log();

    const auto shown = savedFrames(frames);
    ASSERT_GE(shown.size(), 2u);
    SDL_Surface* loaded = SDL_LoadBMP(shown.front().c_str());
    ASSERT_NE(loaded, nullptr) << SDL_GetError();
    SDL_Surface* frame = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XRGB8888, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(frame, nullptr);
    // The offscreen desktop is 1024 x 768: the picture at scale 1 sits at (192, 144).
    EXPECT_EQ(frame->w, 1024);
    EXPECT_EQ(frame->h, 768);
    // The title's white key pixel, the picture's corners, and the black bars beside it.
    EXPECT_EQ(pixelAt(frame, 192 + 250, 144 + 110), 0xFFFFFFu);
    EXPECT_NE(pixelAt(frame, 192, 144), 0u);
    EXPECT_NE(pixelAt(frame, 192 + 639, 144 + 479), 0u);
    EXPECT_EQ(pixelAt(frame, 191, 144), 0u);
    EXPECT_EQ(pixelAt(frame, 192 + 640, 144 + 479), 0u);
    SDL_FreeSurface(frame);
}

TEST_F(SdlProgram, NoDisplayEndsWithTheMessageAndExitCode1) {
    // A driver that does not exist, no display at all (the invisible off-screen window is no way
    // out), and a render driver that does not exist.
    const struct {
        std::vector<std::string> env, args;
        const char* reason;
    } cases[] = {
        {{"SDL_VIDEODRIVER=no_such_driver", "SDL_AUDIODRIVER=dummy"}, {}, "no_such_driver"},
        {{"SDL_AUDIODRIVER=dummy"}, {}, ""},
        {{"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"},
         {"--renderer", "no_such_renderer"},
         "no render driver \"no_such_renderer\""},
    };
    for (const auto& c : cases) {
        start(c.env, c.args);
        const auto status = waitForEnd(20s);
        ASSERT_TRUE(status) << log();
        ASSERT_TRUE(WIFEXITED(*status)) << log();
        EXPECT_EQ(WEXITSTATUS(*status), 1) << log();
        // The game's own text, then the reason as the second paragraph.
        EXPECT_NE(log().find(std::string("Dieses Programm benötigt DirectX 7\n\n") + c.reason), std::string::npos)
            << log();
    }
}

TEST_F(SdlProgram, AWindowTooLargeForTheDesktopIsMadeToFitWithOneLine) {
    // The offscreen desktop is 1024 x 768: scale 1 is the largest that fits.
    start({"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"}, {"--window", "--scale", "16"});
    std::this_thread::sleep_for(1s);
    kill(child_, SIGTERM);
    ASSERT_TRUE(waitForEnd(10s)) << log();
    EXPECT_NE(log().find("vorlanix: --scale 16 does not fit on the desktop; the window takes scale 1\n"),
              std::string::npos)
        << log();
}

TEST_F(SdlProgram, AWindowWithoutAChosenScaleSaysNothingAboutTheScale) {
    // The settings file is written with its defaults (scale 2), which the 1024 x 768 offscreen
    // desktop cannot hold: the window quietly takes scale 1, as no --scale was given.
    start({"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"}, {"--window"});
    std::this_thread::sleep_for(1s);
    kill(child_, SIGTERM);
    ASSERT_TRUE(waitForEnd(10s)) << log();
    EXPECT_EQ(log().find("--scale"), std::string::npos) << log();
}

}  // namespace
