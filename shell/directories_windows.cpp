// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the executable's directory, the sound, data and screenshot directories and the settings
// file on Windows: the player's files live in %APPDATA%\Vorlanix, or beside the program in
// portable mode. Every path stays UTF-16, so a user name with umlauts is no obstacle.
#include "shell/directories.h"

#include <windows.h>
#include <shlobj.h>

#include <system_error>

#include "base/utf8_path.h"

namespace vorlanix {

namespace fs = std::filesystem;

namespace {

// Writable as Windows decides it (attributes and access rights), found by opening for writing.
bool writable(const fs::path& file) {
    const HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

// A settings file or a writable hiscore.dat beside the program makes it portable: everything it
// writes stays in its own folder (an unpacked zip on a USB stick).
bool portable(const fs::path& programDir) {
    std::error_code ec;
    return fs::is_regular_file(programDir / "vorlanix.conf", ec) || writable(programDir / "hiscore.dat");
}

// %APPDATA%\Vorlanix: the variable where it is set (as the player sees it), else the roaming
// application data folder the shell knows.
fs::path appDataDirectory() {
    if (const wchar_t* env = _wgetenv(L"APPDATA"); env && *env) {
        const fs::path dir(env);
        if (dir.is_absolute()) return dir / L"Vorlanix";
    }
    PWSTR known = nullptr;
    fs::path dir;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &known)))
        dir = fs::path(known) / L"Vorlanix";
    CoTaskMemFree(known);
    return dir;
}

}  // namespace

fs::path ExecutableDirectory() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return fs::current_path();
        if (n < name.size()) {
            name.resize(n);
            return fs::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

fs::path FindSoundDirectory(const fs::path& programDir) { return programDir / "sound"; }

fs::path ChooseDataDirectory(const fs::path& requested, const fs::path& programDir, std::string& error, bool create) {
    fs::path dir = requested;
    if (dir.empty()) {
        if (portable(programDir)) return programDir;
        dir = appDataDirectory();
        if (dir.empty()) dir = fs::current_path() / L"vorlanix-data";
    }
    if (!create) return dir;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !fs::is_directory(dir)) {
        error = "cannot use the data directory " + base::Utf8FromPath(dir) + (ec ? ": " + ec.message() : "");
        return {};
    }
    return dir;
}

fs::path ChooseSettingsFile(const fs::path& requested, bool headless, bool dataDirAsked, const fs::path& programDir) {
    if (!requested.empty()) return requested;
    if (headless) return {};
    const fs::path beside = programDir / "vorlanix.conf";
    std::error_code ec;
    if (fs::is_regular_file(beside, ec)) return beside;
    if (!dataDirAsked && writable(programDir / "hiscore.dat")) return beside;
    const fs::path dir = appDataDirectory();
    return dir.empty() ? fs::path() : dir / L"vorlanix.conf";
}

fs::path ChooseScreenshotDirectory(const fs::path& requested, const fs::path& dataDir) {
    return requested.empty() ? dataDir / "screenshots" : requested;
}

}  // namespace vorlanix
