// SPDX-License-Identifier: GPL-3.0-or-later
// Xvfb, openbox, xdotool and xwd driven from the tests, and the program as a child process.
#include "tests/support/x_desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

extern char** environ;

namespace testing_x {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The environment of this process without its display and SDL settings, plus `extra`.
std::vector<std::string> childEnvironment(std::vector<std::string> extra) {
    for (char** e = environ; *e; ++e) {
        const std::string_view v(*e);
        if (!v.starts_with("SDL_") && !v.starts_with("DISPLAY=") && !v.starts_with("WAYLAND_DISPLAY="))
            extra.emplace_back(*e);
    }
    return extra;
}

// Starts a program; everything is prepared before fork, as only plain system calls are safe
// between fork and exec while other threads may hold locks.
pid_t spawn(std::vector<std::string> argv, std::vector<std::string> env, const fs::path& log, int keepFd = -1) {
    std::vector<char*> args, envp;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const int logFd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (logFd < 0) throw std::runtime_error("cannot write " + log.string());
    const pid_t pid = fork();
    if (pid == 0) {
        if (dup2(logFd, 1) < 0 || dup2(logFd, 2) < 0) _exit(127);
        if (keepFd >= 0) fcntl(keepFd, F_SETFD, 0);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    close(logFd);
    if (pid < 0) throw std::runtime_error("fork failed");
    return pid;
}

bool hasTool(const char* name) { return std::system((std::string("command -v ") + name + " >/dev/null").c_str()) == 0; }

void end(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(20ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// The display number Xvfb writes to the pipe once it accepts clients.
std::string readDisplayNumber(int fd) {
    std::string number;
    const auto endBy = std::chrono::steady_clock::now() + 15s;
    while (std::chrono::steady_clock::now() < endBy) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c;
        if (read(fd, &c, 1) != 1) break;
        if (c == '\n') return number;
        number += c;
    }
    return {};
}

uint32_t bigEndian(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// A 24- or 32-bit TrueColor picture in xwd's file format.
Shot readXwd(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> d{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (d.size() < 100) throw std::runtime_error("no screenshot in " + file.string());
    auto field = [&](int i) { return bigEndian(&d[static_cast<size_t>(i) * 4]); };
    Shot s;
    s.width = static_cast<int>(field(4));
    s.height = static_cast<int>(field(5));
    const bool lsbFirst = field(7) == 0;
    const uint32_t bitsPerPixel = field(11), bytesPerLine = field(12);
    const size_t start = field(0) + field(19) * 12;
    if (bitsPerPixel != 32 || d.size() < start + static_cast<size_t>(bytesPerLine) * s.height)
        throw std::runtime_error("an unexpected screenshot in " + file.string());
    s.pixels.resize(static_cast<size_t>(s.width) * s.height);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const unsigned char* p = &d[start + static_cast<size_t>(y) * bytesPerLine + static_cast<size_t>(x) * 4];
            const uint32_t v =
                lsbFirst ? (uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]) : bigEndian(p);
            s.pixels[static_cast<size_t>(y) * s.width + x] = v & 0xFFFFFF;
        }
    return s;
}

}  // namespace

std::unique_ptr<XDesktop> XDesktop::Start(int width, int height, bool windowManager, std::string& why) {
    for (const char* tool : {"Xvfb", "xdotool", "xwd", "xprop"})
        if (!hasTool(tool)) {
            why = std::string(tool) + " is not installed (scripts/install-deps.sh installs it)";
            return nullptr;
        }
    if (windowManager && !hasTool("openbox")) {
        why = "openbox is not installed (scripts/install-deps.sh installs it)";
        return nullptr;
    }
    std::unique_ptr<XDesktop> desktop(new XDesktop);
    std::string pattern = (fs::temp_directory_path() / "vorlanix-x-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a directory for the X server");
    desktop->dir_ = pattern;

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    // An X server resets itself when its last client leaves and turns away a client connecting
    // just then. Between the tests' short-lived tools (xdotool, xwd) the program starting up is
    // often that client: without a reset, its connection cannot be cut.
    desktop->server_ = spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-noreset", "-screen", "0",
                              std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp"},
                             childEnvironment({}), desktop->dir_ / "xvfb.log", pipeFds[1]);
    close(pipeFds[1]);
    const std::string number = readDisplayNumber(pipeFds[0]);
    close(pipeFds[0]);
    if (number.empty()) {
        why = "Xvfb did not start";
        return nullptr;
    }
    desktop->display_ = ":" + number;
    if (windowManager) {
        desktop->windowManager_ =
            spawn({"openbox"}, childEnvironment({"DISPLAY=" + desktop->display_}), desktop->dir_ / "openbox.log");
        for (int i = 0;
             i < 200 && desktop->Output("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") == std::string::npos;
             ++i)
            std::this_thread::sleep_for(50ms);
    }
    return desktop;
}

XDesktop::~XDesktop() {
    end(windowManager_);
    end(server_);
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

int XDesktop::Run(const std::string& command) const {
    const int status = std::system(("DISPLAY=" + display_ + " " + command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string XDesktop::Output(const std::string& command) const {
    std::string out;
    FILE* p = popen(("DISPLAY=" + display_ + " " + command + " 2>/dev/null").c_str(), "r");
    if (!p) return out;
    std::array<char, 256> buf;
    while (fgets(buf.data(), buf.size(), p)) out += buf.data();
    pclose(p);
    return out;
}

Shot XDesktop::Screenshot(const std::string& window) const {
    const fs::path file = dir_ / "shot.xwd";
    const std::string which = window == "root" ? "-root" : "-id " + window;
    if (Run("xwd -silent " + which + " -out " + file.string()) != 0)
        throw std::runtime_error("xwd could not take the screenshot");
    return readXwd(file);
}

Game::Game(const XDesktop& desktop, const fs::path& dir, std::vector<std::string> args)
    : desktop_(desktop), stateFile_(dir / "state.json"), logFile_(dir / "stderr.txt") {
    // A settings file of its own, so the player's never decides what the test sees.
    std::vector<std::string> argv = {
        VORLANIX_EXE,   "--data-dir",       (dir / "data").string(), "--config", (dir / "vorlanix.conf").string(),
        "--state-file", stateFile_.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = spawn(argv, childEnvironment({"DISPLAY=" + desktop.display(), "SDL_AUDIODRIVER=dummy"}), logFile_);
}

Game::~Game() { Stop(); }

nlohmann::json Game::State() {
    std::error_code ignored;
    fs::remove(stateFile_, ignored);
    kill(pid_, SIGUSR1);
    for (int i = 0; i < 250; ++i) {
        if (fs::exists(stateFile_)) {
            std::ifstream in(stateFile_);
            return nlohmann::json::parse(in);
        }
        std::this_thread::sleep_for(20ms);
    }
    throw std::runtime_error("the program wrote no state");
}

double Game::CpuSeconds() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(all.substr(all.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    // After the name: state is field 3; user and system time are fields 14 and 15.
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14) ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string Game::Window() const {
    for (int i = 0; i < 600; ++i) {
        std::istringstream ids(desktop_.Output("xdotool search --onlyvisible --name '^Vorlanix$'"));
        std::string id;
        if (ids >> id) return id;
        std::this_thread::sleep_for(50ms);
    }
    std::ifstream log(logFile_);
    throw std::runtime_error("the program's window did not appear; it said:\n" +
                             std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()));
}

bool Game::Ended(int& status) {
    if (pid_ <= 0) return true;
    int raw = 0;
    if (waitpid(pid_, &raw, WNOHANG) != pid_) return false;
    pid_ = 0;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return true;
}

int Game::Stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 500; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(20ms);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
    return -1;
}

}  // namespace testing_x
