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
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The title picture of this test: black, with a white square around (250, 110) and a red one
// around (500, 400).
void writeTitle(const fs::path& file) {
    constexpr int w = 640, h = 480, rowBytes = w * 3;
    std::vector<uint8_t> pixels(static_cast<size_t>(rowBytes) * h, 0);
    auto put = [&](int x, int y, uint8_t r, uint8_t g, uint8_t b) {
        uint8_t* p = &pixels[static_cast<size_t>(h - 1 - y) * rowBytes + x * 3];  // bottom-up rows, BGR
        p[0] = b;
        p[1] = g;
        p[2] = r;
    };
    for (int y = 100; y < 120; ++y)
        for (int x = 240; x < 260; ++x) put(x, y, 255, 255, 255);
    for (int y = 390; y < 410; ++y)
        for (int x = 490; x < 510; ++x) put(x, y, 255, 0, 0);
    std::ofstream f(file, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("BM", 2);
    u32(54 + static_cast<uint32_t>(pixels.size()));
    u32(0);
    u32(54);
    u32(40);
    u32(w);
    u32(h);
    u16(1);
    u16(24);
    u32(0);
    u32(static_cast<uint32_t>(pixels.size()));
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    f.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
}

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

TEST(SdlProgram, ShowsTheTitleAndEndsOnAQuitRequest) {
    const fs::path dir = fs::temp_directory_path() / ("vorlanix_smoke_" + std::to_string(::getpid()));
    const fs::path assets = dir / "assets", data = dir / "data", frames = dir / "frames";
    fs::create_directories(assets);
    fs::create_directories(frames);
    writeTitle(assets / "start.bmp");
    const fs::path log = dir / "stderr.txt";

    // Everything the child needs is prepared here: between fork and exec only plain system
    // calls are safe while other threads of this process may hold locks.
    // SDL's own software path on the offscreen driver writes every shown frame to a BMP in the
    // working directory.
    std::vector<std::string> env = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy", "SDL_RENDER_DRIVER=software",
                                     "SDL_FRAMEBUFFER_ACCELERATION=0", "SDL_VIDEO_OFFSCREEN_SAVE_FRAMES=1"};
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).substr(0, 4) != "SDL_") env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string exe = VORLANIX_EXE, assetArg = assets.string(), dataArg = data.string();
    std::vector<char*> argv = {const_cast<char*>(exe.c_str()), const_cast<char*>("--assets"),
                               const_cast<char*>(assetArg.c_str()), const_cast<char*>("--data-dir"),
                               const_cast<char*>(dataArg.c_str()), nullptr};
    const int logFd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(logFd, 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (chdir(frames.c_str()) != 0 || dup2(logFd, 2) < 0) _exit(127);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(logFd);

    auto readLog = [&] {
        std::ifstream f(log);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    };
    // Two saved frames mean the first one is complete.
    int status = 0;
    bool exitedEarly = false;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (savedFrames(frames).size() < 2 && std::chrono::steady_clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child) {
            exitedEarly = true;
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    if (!exitedEarly) {
        kill(child, SIGTERM);
        const auto endBy = std::chrono::steady_clock::now() + 10s;
        while (waitpid(child, &status, WNOHANG) != child) {
            if (std::chrono::steady_clock::now() > endBy) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                FAIL() << "the program did not end on SIGTERM\n" << readLog();
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    ASSERT_FALSE(exitedEarly) << "the program ended by itself\n" << readLog();
    ASSERT_TRUE(WIFEXITED(status)) << readLog();
    EXPECT_EQ(WEXITSTATUS(status), 0) << readLog();

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
    EXPECT_EQ(pixelAt(frame, 192 + 250, 144 + 110), 0xFFFFFFu);
    EXPECT_EQ(pixelAt(frame, 192 + 500, 144 + 400), 0xFF0000u);
    EXPECT_EQ(pixelAt(frame, 192 + 100, 144 + 100), 0u);
    EXPECT_EQ(pixelAt(frame, 192 + 239, 144 + 110), 0u);
    SDL_FreeSurface(frame);
    fs::remove_all(dir);
}

}  // namespace
