// vorlanix-soak: plays many games in one process on the headless backend, with random input
// through the real menus (the start button, shots, right clicks, scrolling, pause, focus and
// display changes, typing during the count-down, the result page, the upload form), and checks
// that the process's memory grows by no more than the headless sound log it keeps.
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "app/options.h"
#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"

#if defined(__SANITIZE_ADDRESS__)
#define VORLANIX_SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLANIX_SOAK_UNDER_ASAN 1
#endif
#endif

namespace {

// AddressSanitizer keeps freed memory in quarantine, so resident memory says nothing there; its
// leak check at the end of the process takes the place of the measurement.
#ifdef VORLANIX_SOAK_UNDER_ASAN
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif

constexpr const char* usage =
    "Usage: vorlanix-soak [--games N] [--seed S] [--data-dir DIR]\n"
    "Plays N games (default 10) with random input from seed S (default 1) and prints the figures.\n"
    "Exit status: 0 when every game ran its course and memory held, 1 otherwise, 2 for a usage error.\n";

// Resident memory of this process, in bytes.
uint64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
}

// The headless backend, measuring memory every few hundred frames.
class MeasuredPlatform : public platform::HeadlessPlatform {
public:
    void Flip(const platform::Surface& back) override {
        HeadlessPlatform::Flip(back);
        if (frames() % 256 == 0) {
            samples.push_back({frames(), ResidentBytes(), soundLog().size()});
        }
    }
    struct Sample {
        uint64_t frames, resident;
        size_t soundEntries;
    };
    std::vector<Sample> samples;
};

class ScriptWriter {
public:
    explicit ScriptWriter(uint32_t seed) : random_(seed) {}

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }

    // Letters, digits, umlauts and the punctuation the fields take, never empty of letters.
    std::string Text(int most) {
        static const std::vector<std::string> pieces = {"a", "Z", "k", "ä", "Ö", "ü", "ß", "7", "0", " ", ".",
                                                        "-", "/", ":", "@", "é", "!", "x", "Q", "m"};
        std::string text = "M";
        for (int k = Uniform(0, most - 1); k > 0; --k) text += pieces[static_cast<size_t>(Uniform(0, 19))];
        return text;
    }

    void Line(const std::string& line) { script_ += line + "\n"; }

    // From the main page (or the high-score page a result leads to) through one game and its result.
    void Game(int number) {
        const int frameMs = std::array{16, 33, 50, 100, 250}[static_cast<size_t>(Uniform(0, 4))];
        Line("# game " + std::to_string(number));
        Line("frame-ms " + std::to_string(frameMs));
        Line("click left 120 100");
        Line("run-until Modus == -1 5000");
        // Random input for the first 70 s of the 100 s of game time (a pause and a lost focus do not
        // count, a lost display does), so that none of it reaches the result page even when the
        // big Irone eats game time; the rest of the game runs on its own.
        for (int played = 0; played < 70000;) {
            const int x = Uniform(0, 639), y = Uniform(0, 479);
            switch (Uniform(0, 9)) {
                case 0: case 1: case 2: Line("move " + std::to_string(x) + " " + std::to_string(y)); break;
                case 3: case 4: Line("click left " + std::to_string(x) + " " + std::to_string(y)); break;
                case 5: Line("click right " + std::to_string(x) + " " + std::to_string(y)); break;
                case 6: {
                    const char* key = std::array{"LEFT", "RIGHT", "UP", "DOWN"}[static_cast<size_t>(Uniform(0, 3))];
                    const int held = Uniform(1, 6) * frameMs;
                    Line(std::string("keydown ") + key);
                    Line("run " + std::to_string(held));
                    Line(std::string("keyup ") + key);
                    played += held;
                    break;
                }
                case 7:
                    Line("keydown P");
                    Line("run " + std::to_string(Uniform(1, 4) * frameMs));
                    Line("keydown P");
                    break;
                case 8: {
                    const bool focus = Chance(50);
                    const int away = Uniform(1, 4) * frameMs;
                    Line(focus ? "focus lost" : "display lost");
                    Line("run " + std::to_string(away));
                    Line(focus ? "focus gained" : "display restored");
                    if (!focus) played += away;
                    break;
                }
                default: Line("type " + Text(3)); break;
            }
            const int step = Uniform(1, 40) * frameMs;
            Line("run " + std::to_string(step));
            played += step;
        }
        Line("run-until AktMenue == 8 300000");
        if (Chance(50)) Line("type " + Text(6));
        Line("run-until EndeAnimationLaeuft == 0 60000");
        Line("run 50");
        Line("expect ErgebnisOffen == -1");
        if (Chance(30)) Line("keydown BACKSPACE");
        Line("type " + Text(9));
        if (Chance(30)) Line("keydown TAB");
        if (Chance(50)) {
            // NEIN: the result enters the list and the high-score page follows.
            Line("click left 243 305");
            Line("run-until AktMenue == 4 2000");
        } else {
            // JA: the upload form, every field filled in, SICHERN and the message after it.
            Line("click left 368 305");
            Line("run-until AktMenue == 9 2000");
            for (int field = 1; field <= 8; ++field) {
                Line("type " + Text(12));
                Line("keydown TAB");
            }
            Line("run 50");
            Line("click left 368 305");
            Line("run-until AktMenue == 11 2000");
            Line("click left 330 300");
            Line("run-until AktMenue == 4 2000");
        }
        Line("expect ErgebnisOffen == 0");
        Line("run 100");
    }

    std::string Script(int games) {
        Line("run 200");
        Line("release left 300 200");
        Line("run-until Modus == 2 2000");
        for (int g = 1; g <= games; ++g) Game(g);
        return script_;
    }

private:
    std::mt19937 random_;
    std::string script_;
};

}  // namespace

int main(int argc, char** argv) {
    int games = 10;
    uint32_t seed = 1;
    std::filesystem::path dataDir;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (k + 1 < argc && arg == "--games") games = std::atoi(argv[++k]);
        else if (k + 1 < argc && arg == "--seed") seed = static_cast<uint32_t>(std::strtoul(argv[++k], nullptr, 10));
        else if (k + 1 < argc && arg == "--data-dir") dataDir = argv[++k];
        else {
            std::fputs(usage, stderr);
            return 2;
        }
    }
    if (games < 1) {
        std::fputs(usage, stderr);
        return 2;
    }
    const bool ownDirectory = dataDir.empty();
    if (ownDirectory) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorlanix-soak-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return 2;
        dataDir = pattern;
    }

    const auto started = std::chrono::steady_clock::now();
    MeasuredPlatform headless;
    auto driver = std::make_unique<platform::ScriptDriver>(ScriptWriter(seed).Script(games), "soak");
    platform::ScriptDriver* script = driver.get();
    headless.AttachScript(std::move(driver));
    vorlanix::Options options;
    options.headless = true;
    options.dataDir = dataDir;
    options.seed = seed;
    const int code = vorlanix::RunProgram(headless, options, script);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (ownDirectory) std::filesystem::remove_all(dataDir);

    // Memory after the first game has visited every page, against the end: the growth may not
    // exceed what the sound log took meanwhile (twice, for the vector's doubling) and 4 MiB of
    // allocator slack.
    const auto& s = headless.samples;
    if (s.size() < 8) {
        std::fprintf(stderr, "vorlanix-soak: too few frames to measure\n");
        return 1;
    }
    const auto& warm = s[s.size() / 4];
    const auto& last = s.back();
    const uint64_t logGrowth = 2 * (last.soundEntries - warm.soundEntries) * sizeof(platform::SoundLogEntry);
    const uint64_t allowed = logGrowth + (4u << 20);
    const int64_t growth = static_cast<int64_t>(last.resident) - static_cast<int64_t>(warm.resident);
    std::printf("games %d  seed %u  exit %d\n", games, seed, code);
    std::printf("frames %llu  virtual s %.0f  wall s %.1f  frames per wall s %.0f\n",
                static_cast<unsigned long long>(headless.frames()), headless.GetTickCount() / 1000.0, seconds,
                static_cast<double>(headless.frames()) / seconds);
    std::printf("resident MiB at a quarter %.1f  at the end %.1f  growth KiB %lld  allowed KiB %llu\n",
                static_cast<double>(warm.resident) / 1048576.0, static_cast<double>(last.resident) / 1048576.0,
                static_cast<long long>(growth / 1024), static_cast<unsigned long long>(allowed / 1024));
    std::printf("sound log entries %zu\n", last.soundEntries);
    const bool memoryHeld = !kMemoryMeasured || growth <= static_cast<int64_t>(allowed);
    if (!kMemoryMeasured) std::printf("memory not judged: built with AddressSanitizer\n");
    std::printf("%s\n", code == 0 && memoryHeld ? "OK" : "FAILED");
    return code == 0 && memoryHeld ? 0 : 1;
}
