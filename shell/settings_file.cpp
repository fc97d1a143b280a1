// SPDX-License-Identifier: GPL-3.0-or-later
// Reading, writing and editing in place the "key = value" settings file.
#include "shell/settings_file.h"

#include <fstream>
#include <iterator>
#include <span>
#include <system_error>

#include "shell/setting_keys.h"
#include "base/replace_file.h"
#include "base/utf8_path.h"

namespace vorlanix {

namespace fs = std::filesystem;

namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// A line that sets a value: "key = value"; false for blank lines and comments.
bool splitAssignment(std::string_view line, std::string_view& key, std::string_view& value, bool& malformed) {
    const std::string_view t = trim(line);
    malformed = false;
    if (t.empty() || t.front() == '#') return false;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos || trim(t.substr(0, eq)).empty()) {
        malformed = true;
        return false;
    }
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return true;
}

// Keeps stray bytes (a damaged file, another encoding) out of the terminal.
std::string printable(std::string_view s) {
    std::string out;
    for (unsigned char c : s.substr(0, 60)) out += (c >= 0x20 && c != 0x7f) ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

SettingsFile SettingsFile::Parse(std::string_view text, fs::path path, Options& options,
                                 std::vector<std::string>& warnings) {
    SettingsFile file;
    file.path_ = std::move(path);
    if (!text.empty()) {
        file.endsWithNewline_ = text.back() == '\n';
        if (file.endsWithNewline_) text.remove_suffix(1);
        for (size_t start = 0;;) {
            const size_t end = text.find('\n', start);
            file.lines_.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
            if (end == std::string_view::npos) break;
            start = end + 1;
        }
    }
    const Options defaults;
    for (size_t i = 0; i < file.lines_.size(); ++i) {
        std::string_view key, value;
        bool malformed = false;
        const std::string where = base::Utf8FromPath(file.path_) + ":" + std::to_string(i + 1) + ": ";
        if (!splitAssignment(file.lines_[i], key, value, malformed)) {
            if (malformed) warnings.push_back(where + "not a \"key = value\" line; ignored");
            continue;
        }
        const SettingKey* k = FindSettingKey(key);
        if (!k) {
            warnings.push_back(where + "unknown key \"" + printable(key) + "\"; ignored");
            continue;
        }
        if (std::string wanted = k->set(options, value); !wanted.empty()) {
            k->set(options, k->get(defaults));
            warnings.push_back(where + k->name + " wants " + wanted + ", not \"" + printable(value) +
                               "\"; the default \"" + k->get(defaults) + "\" is used");
        }
    }
    return file;
}

SettingsFile SettingsFile::Open(const fs::path& path, Options& options, std::vector<std::string>& warnings) {
    std::ifstream in(path, std::ios::binary);
    if (in) {
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return Parse(text, path, options, warnings);
    }
    std::vector<std::string> none;
    Options fresh;
    SettingsFile file = Parse(DefaultText(), path, fresh, none);
    std::string error;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (!file.save(error)) warnings.push_back(error + "; the defaults are used");
    return file;
}

std::string SettingsFile::DefaultText() {
    const Options defaults;
    std::string text =
        "# Vorlanix settings: \"key = value\" lines; a line that begins with # is a comment.\n"
        "# The command line overrides these for one run (vorlanix --help); the game's own\n"
        "# settings (sound, music, nebulae) stay in hiscore.dat.\n";
    for (const SettingKey& k : SettingKeys()) {
        text += "\n";
        std::string_view comment = k.comment;
        for (size_t start = 0; start < comment.size();) {
            size_t end = comment.find('\n', start);
            if (end == std::string_view::npos) end = comment.size();
            text += "# ";
            text += comment.substr(start, end - start);
            text += "\n";
            start = end + 1;
        }
        text += std::string(k.name) + " = " + k.get(defaults) + "\n";
    }
    return text;
}

bool SettingsFile::Store(std::string_view key, const std::string& value, std::string& error) {
    std::string* target = nullptr;
    for (std::string& line : lines_) {
        std::string_view k, v;
        bool malformed = false;
        if (splitAssignment(line, k, v, malformed) && k == key) target = &line;  // the last one counts
    }
    if (target) {
        const size_t indent = target->find_first_not_of(" \t");
        *target = target->substr(0, indent) + std::string(key) + " = " + value;
    } else {
        lines_.push_back(std::string(key) + " = " + value);
    }
    return save(error);
}

std::string SettingsFile::Text() const {
    std::string text;
    for (size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || endsWithNewline_) text += '\n';
    }
    return text;
}

bool SettingsFile::save(std::string& error) const {
    const std::string text = Text();
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const fs::path dir = path_.has_parent_path() ? path_.parent_path() : fs::path(".");
    const base::FileStatus status =
        base::replace_file(dir, base::Utf8FromPath(path_.filename()), std::span<const uint8_t>(bytes, text.size()));
    if (status.ok()) return true;
    error = "cannot write the settings file " + base::Utf8FromPath(path_) + ": " + status.error;
    return false;
}

}  // namespace vorlanix
