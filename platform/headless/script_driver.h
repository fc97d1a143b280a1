// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a test script against the program on the headless backend: input events, waits on the
// virtual clock or on a field, checks, state dumps and screenshots. The script language is
// documented in the README.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/state_access.h"

namespace platform {

class HeadlessPlatform;

// Thrown out of the program's event pump when the script has ended (or met an error), carrying
// the exit code: 0 all checks held, 1 an expectation failed, 2 a script error.
struct ScriptFinished {
    int code;
};

class ScriptDriver {
  public:
    // Throws std::runtime_error ("script:LINE: reason") for a line that cannot be parsed.
    ScriptDriver(const std::string& text, std::string name);
    static ScriptDriver FromFile(const std::filesystem::path& file);

    void SetState(StateAccess* state) { state_ = state; }
    // Beside a replay a script may only wait, check, dump, take screenshots and press the viewer's
    // keys: the pointer, focus, display and `set` lines would change what the replay repeats.
    // Empty when it does only that, else the reason.
    std::string LinesThatChangeTheRun() const;
    // Told of every `set` line as it writes the state (a recording stores them).
    void ObserveSets(std::function<void(const std::string& field, const std::string& value)> observer) {
        setObserver_ = std::move(observer);
    }
    bool failed() const { return failures_ > 0; }
    // Expectations and waits that failed so far.
    int failures() const { return failures_; }

    // Asked for more lines whenever the script has run out; no lines end it. A driver can so
    // choose its next input from the program's state as it runs (the soak stops its input once
    // a game has ended). The lines are numbered on from the script's last one.
    void FeedFrom(std::function<std::string()> more) { more_ = std::move(more); }
    // True when a `screenshot` line may come: one was read, or more lines may be fed.
    bool TakesScreenshots() const { return screenshots_ || static_cast<bool>(more_); }
    // A field of the program now, as a `dump` would show it; false when there is none.
    bool ReadField(const std::string& path, nlohmann::json& value) const;

    // Called at every pump: runs lines until the next wait that does not yet hold.
    void Advance(HeadlessPlatform& p);

  private:
    struct Line {
        int number;
        std::vector<std::string> words;
        std::string rest;  // text after the command word, for `type`
    };
    bool waitHolds(HeadlessPlatform& p);
    void execute(const Line& line, HeadlessPlatform& p);
    [[noreturn]] void scriptError(const Line& line, const std::string& why);
    bool compare(HeadlessPlatform& p, const Line& line, const std::string& field, const std::string& op,
                 const std::string& value, std::string& actual);
    nlohmann::json fullState(HeadlessPlatform& p);

    void append(const std::string& text);

    std::string name_;
    std::vector<Line> lines_;
    int linesRead_ = 0;
    std::function<std::string()> more_;
    size_t next_ = 0;
    StateAccess* state_ = nullptr;
    std::function<void(const std::string&, const std::string&)> setObserver_;
    int failures_ = 0;
    bool screenshots_ = false;

    enum class Wait { None, Clock, Condition } wait_ = Wait::None;
    uint32_t waitUntil_ = 0;  // clock target, or the deadline of a condition
    size_t waitLine_ = 0;
};

}  // namespace platform
