// SPDX-License-Identifier: GPL-3.0-or-later
// The process on Windows: the wide command line converted to UTF-8, the console of the program
// that started the game, where there is one, for --help, --version and messages, and a message
// box for a failure that ends the program.
#include "shell/process.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

namespace vorlanix {

namespace {

std::wstring toWide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 1) return {};
    std::wstring out(static_cast<size_t>(size - 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
    return out;
}

std::string utf8(const wchar_t* wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string text(static_cast<size_t>(size - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    return text;
}

// The game is a windowed program: started from a console it has no output of its own. Output
// already redirected to a file or pipe stays there.
bool hasHandle(DWORD which) {
    const HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

void useParentConsole() {
    const bool outSet = hasHandle(STD_OUTPUT_HANDLE);
    const bool errSet = hasHandle(STD_ERROR_HANDLE);
    if ((outSet && errSet) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!outSet) std::freopen("CONOUT$", "w", stdout);
    if (!errSet) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace

std::vector<std::string> CommandLineWords(int argc, char** argv) {
    useParentConsole();
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wideWords = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wideWords) return {argv, argv + argc};
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) words.push_back(utf8(wideWords[i]));
    LocalFree(wideWords);
    return words;
}

void ReportFatalError(const std::string& text) {
    std::fprintf(stderr, "vorlanix: %s\n", text.c_str());
    MessageBoxW(nullptr, toWide(text).c_str(), L"Vorlanix", MB_OK | MB_ICONERROR);
}

}  // namespace vorlanix
