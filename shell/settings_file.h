// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file vorlanix.conf: "key = value" lines with "#" comments. Rewriting it changes
// only the line of the key that changed, so the player's comments and unknown keys survive.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "shell/options.h"

namespace vorlanix {

class SettingsFile {
  public:
    // Reads `text` into `options`. Each line that cannot be used adds one warning naming the line;
    // a bad value leaves that key at its default, and every other line still counts.
    static SettingsFile Parse(std::string_view text, std::filesystem::path path, Options& options,
                              std::vector<std::string>& warnings);

    // Reads the file at `path`; when there is none, writes a new one with every key, its default
    // and its comment (a failure to write is one more warning: the game runs on the defaults).
    static SettingsFile Open(const std::filesystem::path& path, Options& options, std::vector<std::string>& warnings);

    // What a new file holds.
    static std::string DefaultText();

    // Gives `key` the new value in the line that sets it (a new line at the end when none does)
    // and replaces the file atomically. Returns false with `error` when the file cannot be written.
    bool Store(std::string_view key, const std::string& value, std::string& error);

    std::string Text() const;
    const std::filesystem::path& path() const { return path_; }

  private:
    bool save(std::string& error) const;

    std::filesystem::path path_;
    std::vector<std::string> lines_;
    bool endsWithNewline_ = true;
};

}  // namespace vorlanix
