// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the executable's directory, the sound, data and screenshot directories and the settings
// file at start.
#include "shell/directories.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#ifndef VORLANIX_SHARE_DIR
#define VORLANIX_SHARE_DIR "/usr/local/share/vorlanix"
#endif

namespace vorlanix {

namespace fs = std::filesystem;

fs::path ExecutableDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

fs::path FindSoundDirectory(const fs::path& programDir) {
    std::error_code ec;
    if (fs::is_directory(programDir / "sound", ec)) return programDir / "sound";
    // An installed program finds its share directory beside its bin directory, wherever the
    // installation was moved to; the configured prefix is the last resort.
    const fs::path relocated = programDir.parent_path() / "share" / "vorlanix" / "sound";
    if (fs::is_directory(relocated, ec)) return relocated;
    return fs::path(VORLANIX_SHARE_DIR) / "sound";
}

fs::path ChooseDataDirectory(const fs::path& requested, const fs::path& programDir, std::string& error, bool create) {
    fs::path dir = requested;
    if (dir.empty()) {
        const fs::path portable = programDir / "hiscore.dat";
        if (::access(portable.c_str(), W_OK) == 0) return programDir;
        if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
            dir = fs::path(xdg) / "vorlanix";
        else if (const char* home = std::getenv("HOME"); home && *home)
            dir = fs::path(home) / ".local" / "share" / "vorlanix";
        else
            dir = fs::current_path() / "vorlanix-data";
    }
    if (!create) return dir;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        error = "cannot use the data directory " + dir.string() + (ec ? ": " + ec.message() : "");
        return {};
    }
    return dir;
}

fs::path ChooseSettingsFile(const fs::path& requested, bool headless, bool dataDirAsked, const fs::path& programDir) {
    if (!requested.empty()) return requested;
    if (headless) return {};
    const fs::path portable = programDir / "vorlanix.conf";
    if (::access(portable.c_str(), W_OK) == 0) return portable;
    if (!dataDirAsked && ::access((programDir / "hiscore.dat").c_str(), W_OK) == 0) return portable;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return fs::path(xdg) / "vorlanix" / "vorlanix.conf";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".config" / "vorlanix" / "vorlanix.conf";
    return {};
}

fs::path ChooseScreenshotDirectory(const fs::path& requested, const fs::path& dataDir) {
    return requested.empty() ? dataDir / "screenshots" : requested;
}

}  // namespace vorlanix
