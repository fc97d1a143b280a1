// SPDX-License-Identifier: GPL-3.0-or-later
// Message page texts are code page 1252 like every text the font draws; a failed write
// names the reason in the player's words and tells that the form is kept.
#include "score/upload_message.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "base/cp1252.h"
#include "base/utf8_path.h"

namespace score {

namespace {

constexpr int32_t line_width = 290;
constexpr size_t max_lines = 8;
constexpr size_t shown_path_lines = 6;

std::string reason(const std::error_code& code) {
    switch (code.value()) {
        case EACCES:
        case EPERM: return "Keine Schreibrechte im Verzeichnis.";
        case EROFS: return "Das Verzeichnis ist schreibgesch\xFCtzt.";
        case ENOSPC:
        case EDQUOT: return "Der Datentr\xE4ger ist voll.";
        case ENAMETOOLONG: return "Der Dateiname ist zu lang.";
        case ENOENT:
        case ENOTDIR: return "Das Verzeichnis fehlt.";
        case EISDIR: return "Ein Verzeichnis hat diesen Namen.";
        default: return "Schreibfehler Nummer " + std::to_string(code.value()) + ".";
    }
}

}  // namespace

std::vector<std::string> break_into_lines(std::string_view text, const TextWidth& TextLaenge) {
    std::vector<std::string> lines;
    while (!text.empty() && lines.size() < max_lines) {
        size_t n = 1;
        while (n < text.size() && TextLaenge(text.substr(0, n)) < line_width) {
            ++n;
        }
        lines.emplace_back(text.substr(0, n));
        text.remove_prefix(n);
    }
    return lines;
}

std::array<std::string, 13> upload_message(const UploadWrite& write, const TextWidth& TextLaenge) {
    std::string path = cp1252::from_utf8(base::Utf8FromPath(write.path));
    std::replace(path.begin(), path.end(), '\\', '/');
    const auto path_lines = break_into_lines(path, TextLaenge);

    std::array<std::string, 13> MeldungZeile;
    for (size_t k = 0; k < shown_path_lines && k < path_lines.size(); ++k) {
        MeldungZeile[4 + k] = path_lines[k];
    }
    if (write.status.ok()) {
        MeldungZeile[1] = "Deine High-Score-Upload-Datei wurde ";
        MeldungZeile[2] = "unter folgendem Pfad gespeichert:";
        MeldungZeile[10] = "Schicke sie als E-Mail-Anhang an:";
        MeldungZeile[11] = upload_address;
    } else {
        MeldungZeile[1] = "Die High-Score-Upload-Datei konnte";
        MeldungZeile[2] = "nicht gespeichert werden:";
        MeldungZeile[10] = reason(write.status.code);
        MeldungZeile[11] = "Deine Eingaben bleiben erhalten.";
    }
    return MeldungZeile;
}

}  // namespace score
