// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program finds its sounds and keeps the files it writes.
#pragma once

#include <filesystem>
#include <string>

namespace vorlanix {

std::filesystem::path ExecutableDirectory();

// The sound directory beside the executable, else the installed share directory (found
// beside the executable's bin directory first, then at the configured prefix).
std::filesystem::path FindSoundDirectory(const std::filesystem::path& programDir);

// The data directory for hiscore.dat and UpLoad: the one asked for; else the program's own
// directory when a writable hiscore.dat stands there (portable mode); else
// $XDG_DATA_HOME/vorlanix or ~/.local/share/vorlanix. The directory is created unless `create` is
// false (--print-paths only shows it); on failure `error` says why and the result is empty.
std::filesystem::path ChooseDataDirectory(const std::filesystem::path& requested,
                                          const std::filesystem::path& programDir, std::string& error,
                                          bool create = true);

// The settings file: the one named by --config; else vorlanix.conf beside the executable in
// portable mode (one stands there already, or a writable hiscore.dat does and no data directory
// was asked for); else $XDG_CONFIG_HOME/vorlanix/vorlanix.conf or ~/.config/vorlanix/vorlanix.conf.
// Headless runs read no settings file unless one is named, so a test never depends on the
// player's. Empty when there is none to use.
std::filesystem::path ChooseSettingsFile(const std::filesystem::path& requested, bool headless, bool dataDirAsked,
                                         const std::filesystem::path& programDir);

// Where F12 saves: the directory asked for, else screenshots/ in the data directory.
std::filesystem::path ChooseScreenshotDirectory(const std::filesystem::path& requested,
                                                const std::filesystem::path& dataDir);

}  // namespace vorlanix
