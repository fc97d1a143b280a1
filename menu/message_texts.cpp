// SPDX-License-Identifier: GPL-3.0-or-later
// The message texts as the player reads them (written here in UTF-8, held in code page 1252).
#include "menu/message_texts.h"

#include "base/cp1252.h"
#include "score/upload_file.h"

namespace vorlanix {

namespace {

MessageLines fromUtf8(const std::array<const char*, 12>& text) {
    MessageLines lines;
    for (size_t i = 0; i < text.size(); ++i) lines[i + 1] = cp1252::from_utf8(text[i]);
    return lines;
}

}  // namespace

MessageLines InfoText(int32_t page) {
    switch (page) {
        case 4:
            return fromUtf8({"Dies ist dein lokaler High-Score.", "", "Es besteht darüber hinaus die Möglichkeit",
                             "am internationalen High-Score und am", "Gewinnspiel im Internet teilzunehmen.", "",
                             "Weitere Informationen findest du in der", "", "Readme.txt", "",
                             "im Vorlanix Verzeichnis.", ""});
        case 8:
            return fromUtf8({"Auf dieser Seite trägst du dich in", "deiner lokalen High-Score-Liste ein.", "",
                             "Klicke auf JA, um dich auch im", "Internet am High-Score zu beteiligen.", "",
                             "Es besteht keine Möglichkeit die Ergebnisse", "im lokalen High-Score zu einem späterem",
                             "Zeitpunkt im Internet-High-Score", "einzutragen.", "", ""});
        case 9:
            return fromUtf8({"Schicke die hier erzeugte", "Vorlanix-Internet-High-Score-Datei",
                             "als E-Mail-Anhang an:", "", score::upload_address, "", "Unter der Internetadresse:", "",
                             score::world_list_address, "", "findest du die die aktuelle", "weltweite Bestenliste."});
        default: return {};
    }
}

MessageLines FillInEveryFieldText() {
    return fromUtf8({"Bitte alle Felder ausfüllen.", "", "", "", "", "", "", "", "", "", "", ""});
}

}  // namespace vorlanix
