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
// $XDG_DATA_HOME/vorlanix or ~/.local/share/vorlanix. The directory is created; on failure
// `error` says why and the result is empty.
std::filesystem::path ChooseDataDirectory(const std::filesystem::path& requested,
                                          const std::filesystem::path& programDir, std::string& error);

}  // namespace vorlanix
