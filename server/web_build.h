// SPDX-License-Identifier: GPL-3.0-or-later
// The browser game's files, served at /spielen: read once at start, kept in memory with a gzip
// copy of each, and answered with their type and how long a browser may keep them.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace bestenliste {

struct WebAnswer {
    int status = 404;
    std::string_view body;
    std::string type;
    std::string cache_control;
    bool gzip = false;  // the body is the gzip copy (Content-Encoding: gzip)
};

class WebBuild {
  public:
    // Reads the plain files of `dir` (no sub-folders). Throws std::runtime_error with a clear
    // message when the folder cannot be read or holds no index.html.
    static std::unique_ptr<WebBuild> load(const std::filesystem::path& dir);

    // `name` is the part of the path after /spielen/ ("" for the page itself).
    WebAnswer answer(std::string_view name, std::string_view accept_encoding) const;

  private:
    struct File {
        std::string body, gzip, type;
        bool named_by_content = false;
    };
    std::map<std::string, File, std::less<>> files_;
};

// The type a file of the build is served with, by its extension.
std::string web_type(std::string_view name);
// True for names that carry a hash of their content (vorlanix.0123456789ab.wasm): they never change.
bool named_by_content(std::string_view name);

}  // namespace bestenliste
