// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "shell/options.h"
#include "shell/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "replay/kept_replays.h"

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
    "Usage: vorlanix-soak [--games N] [--seed S] [--data-dir DIR] [--failed-dir DIR]\n"
    "Plays N games (default 10) with random input from seed S (default 1) and prints the figures.\n"
    "The replay of each game that failed is copied into --failed-dir (default: here).\n"
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

// Writes the soak's script as it runs, a few lines at a time, and looks at the program between
// them: random input goes only into a running game and stops the moment the game has ended (a
// big Irone may end one early), so no random click ever lands on a page; each game counts when
// its result page (or the void-game page) is reached.
class SoakDirector {
  public:
    SoakDirector(uint32_t seed, int games, const platform::ScriptDriver& driver)
        : random_(seed), games_(games), driver_(driver) {}

    struct Failure {
        int game;
        std::string what;
    };

    std::string More() {
        noteFailedChecks();
        script_.clear();
        switch (phase_) {
            case Phase::Title:
                Line("run 200");
                Line("release left 300 200");
                Line("run-until Modus == 2 2000");
                phase_ = Phase::Start;
                break;
            case Phase::Start: Start(); break;
            case Phase::Play:
                // The previous game's replay is kept when this one has started.
                if (std::exchange(firstPlayFeed_, false) && game_ > 1 && onGameKept) onGameKept(game_ - 1);
                if (field("Modus") == -1 && played_ < 70000) {
                    Input();
                    break;
                }
                // The game runs out by its own clock; the menu follows.
                Line("run-until Modus == 2 300000");
                phase_ = Phase::Result;
                break;
            case Phase::Result: Result(); break;
            case Phase::Done: break;
        }
        return script_;
    }

    bool Finished() const { return phase_ == Phase::Done; }
    int Game() const { return game_; }
    int Counted() const { return counted_; }
    const std::vector<Failure>& Failures() const { return failures_; }
    void Fail(std::string what) { failures_.push_back({game_, std::move(what)}); }

    // Called as each game starts, and when a game's replay has been kept (at the next start).
    std::function<void(int game)> onGameStart, onGameKept;

  private:
    enum class Phase { Title, Start, Play, Result, Done };

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }
    void Line(const std::string& line) { script_ += line + "\n"; }

    int64_t field(const char* name) const {
        nlohmann::json v;
        return driver_.ReadField(name, v) && v.is_number() ? v.get<int64_t>() : INT64_MIN;
    }

    // A failed `expect` or wait belongs to the game whose lines just ran.
    void noteFailedChecks() {
        for (; seenFailures_ < driver_.failures(); ++seenFailures_)
            failures_.push_back({game_, "a check of the script failed (its line is printed above)"});
    }

    // Letters, digits, umlauts and the punctuation the fields take, never empty of letters.
    std::string Text(int most) {
        static const std::vector<std::string> pieces = {"a", "Z", "k", "ä", "Ö", "ü", "ß", "7", "0", " ",
                                                        ".", "-", "/", ":", "@", "é", "!", "x", "Q", "m"};
        std::string text = "M";
        for (int k = Uniform(0, most - 1); k > 0; --k) text += pieces[static_cast<size_t>(Uniform(0, 19))];
        return text;
    }

    // From the main page (or the page a result leads to) into a game.
    void Start() {
        if (game_ == games_) {
            phase_ = Phase::Done;
            return;
        }
        ++game_;
        if (onGameStart) onGameStart(game_);
        frameMs_ = std::array{16, 33, 50, 100, 250}[static_cast<size_t>(Uniform(0, 4))];
        played_ = 0;
        firstPlayFeed_ = true;
        Line("# game " + std::to_string(game_));
        Line("frame-ms " + std::to_string(frameMs_));
        Line("click left 120 100");
        Line("run-until Modus == -1 5000");
        phase_ = Phase::Play;
    }

    // One random action and a stretch of play, for at most 70 s of game time (a pause and a lost
    // focus do not count, a lost display does). What was pressed or taken away is given back even
    // when the game ends meanwhile: a released key or a returned focus acts on no page.
    void Input() {
        const int x = Uniform(0, 639), y = Uniform(0, 479);
        switch (Uniform(0, 9)) {
            case 0:
            case 1:
            case 2: Line("move " + std::to_string(x) + " " + std::to_string(y)); break;
            case 3:
            case 4: Line("click left " + std::to_string(x) + " " + std::to_string(y)); break;
            case 5: Line("click right " + std::to_string(x) + " " + std::to_string(y)); break;
            case 6: {
                const char* key = std::array{"LEFT", "RIGHT", "UP", "DOWN"}[static_cast<size_t>(Uniform(0, 3))];
                const int held = Uniform(1, 6) * frameMs_;
                Line(std::string("keydown ") + key);
                Line("run " + std::to_string(held));
                Line(std::string("keyup ") + key);
                played_ += held;
                break;
            }
            case 7:
                // The pause stops the game's clock, so the second P still finds the game.
                Line("keydown P");
                Line("run " + std::to_string(Uniform(1, 4) * frameMs_));
                Line("keydown P");
                break;
            case 8: {
                const bool focus = Chance(50);
                const int away = Uniform(1, 4) * frameMs_;
                Line(focus ? "focus lost" : "display lost");
                Line("run " + std::to_string(away));
                Line(focus ? "focus gained" : "display restored");
                if (!focus) played_ += away;
                break;
            }
            default: Line("type " + Text(3)); break;
        }
        const int step = Uniform(1, 40) * frameMs_;
        Line("run " + std::to_string(step));
        played_ += step;
    }

    // The page the game ended on: the result page, or the void-game page after a shot into the
    // lens's centre.
    void Result() {
        phase_ = Phase::Start;
        const int64_t page = field("AktMenue");
        if (page == 10) {
            ++counted_;
            Line("run-until EndeAnimationLaeuft == 0 60000");
            Line("expect ErgebnisOffen == 0");
            Line("run 100");
            return;
        }
        if (page != 8) {
            Fail("the game ended on page " + std::to_string(page) + ", not on the result page");
            return;
        }
        ++counted_;
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
            for (int f = 1; f <= 8; ++f) {
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

    std::mt19937 random_;
    const int games_;
    const platform::ScriptDriver& driver_;
    Phase phase_ = Phase::Title;
    int game_ = 0, counted_ = 0, seenFailures_ = 0, frameMs_ = 16, played_ = 0;
    bool firstPlayFeed_ = false;
    std::vector<Failure> failures_;
    std::string script_;
};

// The kept replay of a game that failed, copied out of the data directory's rotation so that the
// game can be watched or re-simulated alone.
std::filesystem::path KeepFailingGame(const std::filesystem::path& dataDir, const std::filesystem::path& outDir,
                                      int game) {
    std::error_code ec;
    const auto from = dataDir / replay::kReplayFolder / replay::kLastReplay;
    const auto to = outDir / ("soak-failed-game-" + std::to_string(game) + ".vxr");
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
    return ec ? std::filesystem::path() : to;
}

}  // namespace

int main(int argc, char** argv) {
    int games = 10;
    uint32_t seed = 1;
    std::filesystem::path dataDir, failedDir = ".";
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (k + 1 < argc && arg == "--games")
            games = std::atoi(argv[++k]);
        else if (k + 1 < argc && arg == "--seed")
            seed = static_cast<uint32_t>(std::strtoul(argv[++k], nullptr, 10));
        else if (k + 1 < argc && arg == "--data-dir")
            dataDir = argv[++k];
        else if (k + 1 < argc && arg == "--failed-dir")
            failedDir = argv[++k];
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
    auto driver = std::make_unique<platform::ScriptDriver>("", "soak");
    SoakDirector director(seed, games, *driver);
    driver->FeedFrom([&director] { return director.More(); });
    std::vector<uint64_t> residentAtStart;
    director.onGameStart = [&](int) { residentAtStart.push_back(ResidentBytes()); };
    std::vector<std::filesystem::path> keptFailures;
    auto keepIfFailed = [&](int game) {
        for (const auto& f : director.Failures())
            if (f.game == game) {
                if (auto kept = KeepFailingGame(dataDir, failedDir, game); !kept.empty()) keptFailures.push_back(kept);
                return;
            }
    };
    director.onGameKept = keepIfFailed;
    platform::ScriptDriver* script = driver.get();
    headless.AttachScript(std::move(driver));
    vorlanix::Options options;
    options.headless = true;
    options.dataDir = dataDir;
    options.seed = seed;
    options.keepReplays = true;
    const int code = vorlanix::RunProgram(headless, options, script);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // A program that ends before the last game has run its course (a click on QUIT, an error)
    // is a failure of the game it was in.
    if (!director.Finished()) director.Fail("the program ended during this game (exit " + std::to_string(code) + ")");
    if (!director.Failures().empty()) keepIfFailed(director.Failures().back().game);
    if (ownDirectory) std::filesystem::remove_all(dataDir);

    // Memory after the first quarter of the games against the end: the growth may not exceed what
    // the sound log took meanwhile (twice, for the vector's doubling) and 4 MiB of allocator slack.
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
    std::printf("games %d of %d played to their result  seed %u  exit %d\n", director.Counted(), games, seed, code);
    std::printf("frames %llu  virtual s %.0f  wall s %.1f  frames per wall s %.0f\n",
                static_cast<unsigned long long>(headless.frames()), headless.GetTickCount() / 1000.0, seconds,
                static_cast<double>(headless.frames()) / seconds);
    std::printf("resident MiB at a quarter %.1f  at the end %.1f  growth KiB %lld  allowed KiB %llu\n",
                static_cast<double>(warm.resident) / 1048576.0, static_cast<double>(last.resident) / 1048576.0,
                static_cast<long long>(growth / 1024), static_cast<unsigned long long>(allowed / 1024));
    if (residentAtStart.size() >= 4) {
        // From the start of the second quarter of the games to the end, per game.
        const size_t from = residentAtStart.size() / 4;
        const double perGame = (static_cast<double>(last.resident) - static_cast<double>(residentAtStart[from])) /
                               static_cast<double>(residentAtStart.size() - from) / 1024.0;
        std::printf("resident KiB per game %.1f\n", perGame);
    }
    std::printf("sound log entries %zu\n", last.soundEntries);
    for (const auto& f : director.Failures()) std::printf("failed: game %d: %s\n", f.game, f.what.c_str());
    for (const auto& kept : keptFailures)
        std::printf("replay of a failed game: %s (vorlanix --headless --replay FILE re-runs it alone)\n", kept.c_str());
    const bool memoryHeld = !kMemoryMeasured || growth <= static_cast<int64_t>(allowed);
    if (!kMemoryMeasured) std::printf("memory not judged: built with AddressSanitizer\n");
    const bool ok = code == 0 && memoryHeld && director.Failures().empty() && director.Counted() == games;
    std::printf("%s\n", ok ? "OK" : "FAILED");
    return ok ? 0 : 1;
}
