#include "platform/cp1252.h"

namespace platform {

namespace {
// Code points of 0x80..0x9F in code page 1252 (0 where the page leaves the code undefined).
constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

std::optional<uint8_t> CodePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<uint8_t>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<uint8_t>(0x80 + i);
    return std::nullopt;
}

std::string Utf8ToCp1252(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > utf8.size()) {  // stray byte: skip it
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? c : c & (0x7F >> len);
        bool valid = true;
        for (int k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(utf8[i + k]);
            if ((cc & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        i += valid ? len : 1;
        if (!valid) continue;
        if (auto code = CodePointToCp1252(cp)) out.push_back(static_cast<char>(*code));
    }
    return out;
}

std::string Cp1252ToUtf8(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char32_t cp = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
        if (cp == 0) cp = 0xFFFD;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace platform
