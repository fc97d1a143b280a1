// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the browser build and answering requests for its files.
#include "server/web_build.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace bestenliste {

namespace {

// A bound far above the build's own files (the program is a few megabytes), so a wrong folder
// cannot fill the memory.
constexpr std::uintmax_t largest_file = 256u << 20;

std::string gzip(const std::string& plain) {
    z_stream z{};
    // 15 bits of window plus 16: a gzip header instead of a zlib one.
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("zlib cannot start");
    std::string out(deflateBound(&z, plain.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (result != Z_STREAM_END) throw std::runtime_error("zlib cannot compress");
    return out;
}

bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

std::string_view trim(std::string_view s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Accept-Encoding lists codings with optional weights: "gzip", "deflate, gzip;q=1.0", "*;q=0.5".
// A weight of zero refuses the coding.
bool accepts_gzip(std::string_view header) {
    while (!header.empty()) {
        const size_t comma = header.find(',');
        std::string_view item = trim(header.substr(0, comma));
        header = comma == std::string_view::npos ? std::string_view() : header.substr(comma + 1);
        const size_t semicolon = item.find(';');
        const std::string_view coding = trim(item.substr(0, semicolon));
        if (coding != "gzip" && coding != "*") continue;
        if (semicolon == std::string_view::npos) return true;
        const std::string_view weight = trim(item.substr(semicolon + 1));
        if (!weight.starts_with("q=")) return true;
        return weight.substr(2).find_first_not_of("0.") != std::string_view::npos;
    }
    return false;
}

}  // namespace

std::string web_type(std::string_view name) {
    const size_t dot = name.rfind('.');
    const std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (ext == "html") return "text/html; charset=utf-8";
    if (ext == "js") return "text/javascript; charset=utf-8";
    if (ext == "css") return "text/css; charset=utf-8";
    if (ext == "wasm") return "application/wasm";
    if (ext == "png") return "image/png";
    if (ext == "svg") return "image/svg+xml";
    return "application/octet-stream";
}

bool named_by_content(std::string_view name) {
    // base.HASH.ext with twelve hexadecimal digits.
    const size_t first = name.find('.');
    if (first == std::string_view::npos) return false;
    const size_t second = name.find('.', first + 1);
    if (second == std::string_view::npos || second - first - 1 != 12) return false;
    for (size_t k = first + 1; k < second; ++k)
        if (!is_hex(name[k])) return false;
    return true;
}

std::unique_ptr<WebBuild> WebBuild::load(const std::filesystem::path& dir) {
    auto build = std::make_unique<WebBuild>();
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    if (ec) throw std::runtime_error("cannot read the browser build in " + dir.string() + ": " + ec.message());
    for (const auto& entry : it) {
        if (!entry.is_regular_file(ec)) continue;
        const std::string name = entry.path().filename().string();
        if (name.starts_with('.')) continue;
        if (entry.file_size(ec) > largest_file) throw std::runtime_error(entry.path().string() + " is too large");
        std::ifstream in(entry.path(), std::ios::binary);
        File file;
        file.body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in && !in.eof()) throw std::runtime_error("cannot read " + entry.path().string());
        file.type = web_type(name);
        file.named_by_content = named_by_content(name);
        // Pictures are compressed already; everything else shrinks to a fraction.
        if (file.type != "image/png") {
            std::string packed = gzip(file.body);
            if (packed.size() < file.body.size()) file.gzip = std::move(packed);
        }
        build->files_.emplace(name, std::move(file));
    }
    if (!build->files_.contains("index.html"))
        throw std::runtime_error(dir.string() + " holds no index.html: build it with scripts/build-web.sh");
    return build;
}

WebAnswer WebBuild::answer(std::string_view name, std::string_view accept_encoding) const {
    if (name.empty()) name = "index.html";
    const auto it = files_.find(name);
    if (it == files_.end()) return {};
    const File& file = it->second;
    WebAnswer a;
    a.status = 200;
    a.type = file.type;
    // Hashed names never change, so a browser keeps them for a year; the page and its small
    // helpers are asked for again each time, so a new build is seen at once.
    a.cache_control = file.named_by_content ? "public, max-age=31536000, immutable" : "no-cache";
    a.gzip = !file.gzip.empty() && accepts_gzip(accept_encoding);
    a.body = a.gzip ? file.gzip : file.body;
    return a;
}

}  // namespace bestenliste
