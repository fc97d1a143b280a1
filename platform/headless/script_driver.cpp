// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing and running the lines of a headless test script.
#include "platform/headless/script_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "base/cp1252.h"
#include "platform/headless/headless_platform.h"
#include "platform/png_writer.h"

namespace platform {

namespace {

const std::map<std::string, int16_t> kKeys = {{"LEFT", 37},   {"UP", 38},     {"RIGHT", 39}, {"DOWN", 40},
                                              {"P", 80},      {"ESCAPE", 27}, {"TAB", 9},    {"BACKSPACE", 8},
                                              {"RETURN", 13}, {"F11", 122},   {"F12", 123},  {"SPACE", 32}};

bool keyCode(const std::string& name, int16_t& code) {
    if (auto it = kKeys.find(name); it != kKeys.end()) {
        code = it->second;
        return true;
    }
    if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0]))) {
        code = static_cast<int16_t>(std::toupper(static_cast<unsigned char>(name[0])));
        return true;
    }
    return false;
}

bool buttonCode(const std::string& name, int16_t& code) {
    if (name == "left")
        code = 1;
    else if (name == "right")
        code = 2;
    else if (name == "middle")
        code = 4;
    else
        return false;
    return true;
}

bool toNumber(const std::string& s, double& v) {
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return !s.empty() && end && *end == '\0';
}

// A number the line can hold: finite, within [lo, hi], and whole where asked. nan, inf, 1e23
// and values beyond 32 bits would otherwise be converted with undefined result.
bool numberIn(const std::string& s, double lo, double hi, bool whole) {
    double v;
    return toNumber(s, v) && std::isfinite(v) && v >= lo && v <= hi && (!whole || v == std::trunc(v));
}

constexpr double kInt32Min = -2147483648.0;
constexpr double kInt32Max = 2147483647.0;
constexpr double kUint32Max = 4294967295.0;

// A length of virtual time: it must fit the clock's signed 32-bit differences.
bool milliseconds(const std::string& s) { return numberIn(s, 0, kInt32Max, true); }

// Pointer coordinates may lie between whole pixels and off the screen, but within 32 bits.
bool coordinate(const std::string& s) { return numberIn(s, kInt32Min, kInt32Max, false); }

// The game sees a pointer at most a million pixels off the screen, as the kept pointer is.
float pointerValue(const std::string& s) {
    return static_cast<float>(std::clamp(std::strtod(s.c_str(), nullptr), -1.0e6, 1.0e6));
}

bool isOp(const std::string& op) {
    return op == "==" || op == "!=" || op == "<" || op == "<=" || op == ">" || op == ">=";
}

template <typename T>
bool applyOp(const T& a, const std::string& op, const T& b) {
    if (op == "==") return a == b;
    if (op == "!=") return a != b;
    if (op == "<") return a < b;
    if (op == "<=") return a <= b;
    if (op == ">") return a > b;
    return a >= b;
}

}  // namespace

ScriptDriver::ScriptDriver(const std::string& text, std::string name) : name_(std::move(name)) { append(text); }

void ScriptDriver::append(const std::string& text) {
    std::istringstream in(text);
    std::string raw;
    int& number = linesRead_;
    while (std::getline(in, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::istringstream words(raw);
        Line line{number, {}, {}};
        std::string w;
        while (words >> w) line.words.push_back(w);
        if (line.words.empty() || line.words[0][0] == '#') continue;
        const size_t start = raw.find(line.words[0]) + line.words[0].size();
        line.rest = start < raw.size() ? raw.substr(raw.find_first_not_of(" \t", start) == std::string::npos
                                                        ? raw.size()
                                                        : raw.find_first_not_of(" \t", start))
                                       : "";
        const std::string& c = line.words[0];
        const size_t n = line.words.size();
        screenshots_ = screenshots_ || c == "screenshot";
        auto bad = [&](const std::string& why) {
            throw std::runtime_error(name_ + ":" + std::to_string(number) + ": " + why);
        };
        int16_t code;
        if (c == "frame-ms") {
            // A frame of 0 ms would stop the virtual clock, and every wait with it.
            if (n != 2 || !numberIn(line.words[1], 1, 1000, true)) bad("frame-ms needs a whole number from 1 to 1000");
        } else if (c == "run") {
            if (n != 2 || !milliseconds(line.words[1])) bad("run needs a whole number of milliseconds below 2^31");
        } else if (c == "run-until" || c == "expect") {
            if (n < 4 || n > (c == "expect" ? 4u : 5u) || !isOp(line.words[2])) bad(c + " needs FIELD OP VALUE");
            // No field holds more than 32 bits (the clock counts unsigned): a wait for a number
            // beyond them could never end, so it is a mistake in the script, not a time-out.
            double threshold;
            const bool numeric = toNumber(line.words[3], threshold);
            if (c == "run-until" && numeric && !numberIn(line.words[3], kInt32Min, kUint32Max, false))
                bad("run-until: the value must be a number within 32 bits");
            if (n == 5 && !milliseconds(line.words[4]))
                bad("run-until: the time limit must be a whole number of milliseconds below 2^31");
        } else if (c == "move") {
            if (n != 3 || !coordinate(line.words[1]) || !coordinate(line.words[2]))
                bad("move needs X Y, numbers within 32 bits");
        } else if (c == "press" || c == "release" || c == "click") {
            if (n != 4 || !buttonCode(line.words[1], code) || !coordinate(line.words[2]) || !coordinate(line.words[3]))
                bad(c + " needs left|right|middle X Y, numbers within 32 bits");
        } else if (c == "keydown" || c == "keyup") {
            if (n != 2 || !keyCode(line.words[1], code)) bad(c + ": unknown key");
        } else if (c == "type") {
            if (line.rest.empty()) bad("type needs a text");
        } else if (c == "focus") {
            if (n != 2 || (line.words[1] != "lost" && line.words[1] != "gained")) bad("focus lost|gained");
        } else if (c == "display") {
            if (n != 2 || (line.words[1] != "lost" && line.words[1] != "restored")) bad("display lost|restored");
        } else if (c == "set") {
            if (n < 3) bad("set needs FIELD VALUE");
        } else if (c == "dump" || c == "screenshot") {
            if (n != 2) bad(c + " needs a file name");
        } else {
            bad("unknown command " + c);
        }
        lines_.push_back(std::move(line));
    }
}

std::string ScriptDriver::LinesThatChangeTheRun() const {
    for (const Line& line : lines_) {
        const std::string& c = line.words[0];
        // Keys reach the viewer of the replay, never the program it repeats.
        const bool viewerKey = c == "keydown" || c == "keyup" || c == "type";
        if (c != "run" && c != "run-until" && c != "expect" && c != "dump" && c != "screenshot" && c != "frame-ms" &&
            !viewerKey)
            return name_ + ":" + std::to_string(line.number) + ": " + c + " would change what the replay repeats";
    }
    return {};
}

ScriptDriver ScriptDriver::FromFile(const std::filesystem::path& file) {
    std::ifstream f(file, std::ios::binary);
    if (!f) throw std::runtime_error("cannot read script " + file.string());
    std::stringstream ss;
    ss << f.rdbuf();
    return ScriptDriver(ss.str(), file.string());
}

void ScriptDriver::scriptError(const Line& line, const std::string& why) {
    std::fprintf(stderr, "%s:%d: %s\n", name_.c_str(), line.number, why.c_str());
    throw ScriptFinished{2};
}

bool ScriptDriver::compare(HeadlessPlatform& p, const Line& line, const std::string& field, const std::string& op,
                           const std::string& value, std::string& actual) {
    std::string name, error;
    std::vector<int> indices;
    if (!ParseFieldPath(field, name, indices)) scriptError(line, "malformed field " + field);
    nlohmann::json v;
    // Besides the program's fields, the clock and the frame count can be checked.
    if (name == "tick" && indices.empty()) {
        v = p.GetTickCount();
    } else if (name == "frames" && indices.empty()) {
        v = p.frames();
    } else {
        if (!state_) scriptError(line, "no program state to read");
        if (!state_->ReadField(name, indices, v, error)) scriptError(line, error);
    }
    actual = v.is_string() ? v.get<std::string>() : v.dump();
    double want;
    if (v.is_number() && toNumber(value, want)) return applyOp(v.get<double>(), op, want);
    if (v.is_string()) return applyOp(v.get<std::string>(), op, value);
    scriptError(line, "cannot compare " + field + " with " + value);
}

bool ScriptDriver::waitHolds(HeadlessPlatform& p) {
    switch (wait_) {
        case Wait::None: return true;
        case Wait::Clock: return static_cast<int32_t>(p.GetTickCount() - waitUntil_) >= 0;
        case Wait::Condition: {
            const Line& line = lines_[waitLine_];
            std::string actual;
            if (compare(p, line, line.words[1], line.words[2], line.words[3], actual)) return true;
            if (static_cast<int32_t>(p.GetTickCount() - waitUntil_) >= 0) {
                std::fprintf(stderr, "%s:%d: run-until %s %s %s timed out (value %s)\n", name_.c_str(), line.number,
                             line.words[1].c_str(), line.words[2].c_str(), line.words[3].c_str(), actual.c_str());
                ++failures_;
                return true;
            }
            return false;
        }
    }
    return true;
}

void ScriptDriver::Advance(HeadlessPlatform& p) {
    if (!waitHolds(p)) return;
    wait_ = Wait::None;
    for (;;) {
        while (next_ < lines_.size()) {
            const Line& line = lines_[next_++];
            execute(line, p);
            if (wait_ != Wait::None && !waitHolds(p)) return;
            wait_ = Wait::None;
        }
        if (!more_) break;
        // Every line so far has run: a fed script keeps only the lines still to come, so a long
        // run holds no more of it than one helping.
        lines_.clear();
        next_ = 0;
        try {
            append(more_());
        } catch (const std::runtime_error& e) {
            std::fprintf(stderr, "%s\n", e.what());
            throw ScriptFinished{2};
        }
        if (lines_.empty()) break;
    }
    throw ScriptFinished{failures_ > 0 ? 1 : 0};
}

bool ScriptDriver::ReadField(const std::string& path, nlohmann::json& value) const {
    std::string name, error;
    std::vector<int> indices;
    return state_ && ParseFieldPath(path, name, indices) && state_->ReadField(name, indices, value, error);
}

nlohmann::json ScriptDriver::fullState(HeadlessPlatform& p) {
    nlohmann::json state = state_ ? state_->DumpState() : nlohmann::json::object();
    state["tick"] = p.GetTickCount();
    state["frames"] = p.frames();
    if (!p.title().empty()) state["title"] = p.title();
    nlohmann::json sounds = nlohmann::json::array();
    for (const SoundLogEntry& s : p.soundLog())
        sounds.push_back({{"tick", s.tick}, {"slot", s.slot}, {"copy", s.copy}, {"op", s.op}});
    state["sounds"] = std::move(sounds);
    return state;
}

void ScriptDriver::execute(const Line& line, HeadlessPlatform& p) {
    const std::string& c = line.words[0];
    auto number = [&](size_t i) { return std::strtod(line.words[i].c_str(), nullptr); };
    using K = QueuedEvent::Kind;
    int16_t code = 0;
    if (c == "frame-ms") {
        p.SetFrameMs(static_cast<uint32_t>(number(1)));
    } else if (c == "run") {
        wait_ = Wait::Clock;
        waitUntil_ = p.GetTickCount() + static_cast<uint32_t>(number(1));
    } else if (c == "run-until") {
        wait_ = Wait::Condition;
        waitLine_ = next_ - 1;
        waitUntil_ = p.GetTickCount() + static_cast<uint32_t>(line.words.size() == 5 ? number(4) : 600000);
    } else if (c == "move") {
        p.Queue({K::MouseMove, 0, pointerValue(line.words[1]), pointerValue(line.words[2])});
    } else if (c == "press" || c == "release" || c == "click") {
        buttonCode(line.words[1], code);
        const float x = pointerValue(line.words[2]), y = pointerValue(line.words[3]);
        if (c != "release") p.Queue({K::MouseDown, code, x, y});
        if (c == "click") p.Queue({K::Barrier});
        if (c != "press") p.Queue({K::MouseUp, code, x, y});
    } else if (c == "keydown" || c == "keyup") {
        keyCode(line.words[1], code);
        p.Queue({c == "keydown" ? K::KeyDown : K::KeyUp, code});
        // As on the desktop, these keys also type their character.
        if (c == "keydown" && (code == 27 || code == 9 || code == 8 || code == 13)) p.Queue({K::KeyPress, code});
    } else if (c == "type") {
        for (char ch : cp1252::from_utf8(line.rest, '\0'))
            p.Queue({K::KeyPress, static_cast<int16_t>(static_cast<uint8_t>(ch))});
    } else if (c == "focus") {
        p.Queue({line.words[1] == "lost" ? K::FocusLost : K::FocusGained});
    } else if (c == "display") {
        p.SetDisplayHeld(line.words[1] == "restored");
    } else if (c == "set") {
        if (!state_) scriptError(line, "no program state to write");
        std::string name, error;
        std::vector<int> indices;
        if (!ParseFieldPath(line.words[1], name, indices)) scriptError(line, "malformed field " + line.words[1]);
        const size_t valueStart = line.rest.find_first_not_of(" \t", line.words[1].size());
        const std::string value = valueStart == std::string::npos ? "" : line.rest.substr(valueStart);
        if (!state_->WriteField(name, indices, value, error)) scriptError(line, error);
        if (setObserver_) setObserver_(line.words[1], value);
    } else if (c == "expect") {
        std::string actual;
        if (!compare(p, line, line.words[1], line.words[2], line.words[3], actual)) {
            std::fprintf(stderr, "%s:%d: expect %s %s %s failed: the value is %s\n", name_.c_str(), line.number,
                         line.words[1].c_str(), line.words[2].c_str(), line.words[3].c_str(), actual.c_str());
            ++failures_;
        }
    } else if (c == "dump") {
        std::ofstream f(line.words[1]);
        f << fullState(p).dump(1) << "\n";
        if (!f) scriptError(line, "cannot write " + line.words[1]);
    } else if (c == "screenshot") {
        std::string error;
        if (!p.lastFrame()) scriptError(line, "no frame has been shown yet");
        if (!WritePng(*p.lastFrame(), line.words[1], error)) scriptError(line, error);
    }
}

}  // namespace platform
