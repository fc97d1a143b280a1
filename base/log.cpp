// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that writes the programs' messages.
#include "base/log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <vector>

namespace base {

namespace {

struct LogState {
    std::mutex mutex;  // proofs and the server log from several threads
    std::string program = "vorlanix";
    std::function<void(std::string_view)> sink;
};

LogState& state() {
    static LogState s;
    return s;
}

void emit(std::string_view line) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (s.sink) {
        s.sink(line);
    } else {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
    }
}

}  // namespace

void SetProgramName(std::string_view name) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.program = name;
}

void SetLogSink(std::function<void(std::string_view line)> sink) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.sink = std::move(sink);
}

void Log(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::vector<char> text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    std::string line;
    {
        auto& s = state();
        std::lock_guard lock(s.mutex);
        line = s.program;
    }
    line += ": ";
    line.append(text.data(), length > 0 ? static_cast<size_t>(length) : 0);
    emit(line);
}

void LogLine(std::string_view line) { emit(line); }

}  // namespace base
