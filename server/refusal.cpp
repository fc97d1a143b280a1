// SPDX-License-Identifier: GPL-3.0-or-later
// The reason codes are public API: they may gain members, but a code never changes its meaning.
#include "server/refusal.h"

#include <array>

namespace bestenliste {

namespace {

constexpr std::array<ReasonText, 21> texts = {{
    {"accepted", "Dein Ergebnis wurde in die weltweite Bestenliste eingetragen.", 201},
    {"missing_file", "Es wurde keine Upload-Datei mitgeschickt.", 422},
    {"wrong_size", "Eine Upload-Datei ist genau 332 Bytes lang, diese Datei nicht.", 422},
    {"bad_checksum", "Die Prüfsumme der Datei stimmt nicht, die Datei wurde verändert oder ist beschädigt.", 422},
    {"out_of_range", "Das Ergebnis der Datei liegt nicht zwischen 0 und 28800 Tagen.", 422},
    {"bad_encoding", "Die Einträge der Datei enthalten Zeichen, die keine Textzeichen sind.", 422},
    {"empty_nickname", "Die Datei enthält keinen Nickname.", 422},
    {"duplicate", "Diese Upload-Datei ist bereits in der Bestenliste eingetragen.", 409},
    {"replay_mismatch", "Das Nachspielen der Aufzeichnung ergibt nicht genau diese Upload-Datei.", 422},
    {"replay_unreadable", "Die Aufzeichnung ist beschädigt oder stammt nicht von dieser Version des Spiels.", 422},
    {"replay_timeout", "Die Aufzeichnung ließ sich nicht in der erlaubten Zeit nachspielen.", 422},
    {"too_large", "Die Anfrage ist größer, als eine Upload-Datei mit Aufzeichnung sein kann.", 413},
    {"length_required", "Die Anfrage muss ihre Länge angeben.", 411},
    {"rate_limited", "Von dieser Adresse kamen zu viele Uploads, bitte versuche es in einer Minute noch einmal.", 429},
    {"storage_failed", "Die Datei konnte gerade nicht gespeichert werden, bitte versuche es später noch einmal.", 503},
    {"bad_request", "Die Anfrage ist nicht richtig aufgebaut.", 400},
    {"replay_not_played",
     "Die Aufzeichnung enthält direkte Eingriffe eines Testprogramms in den Spielstand und ist kein gespieltes Spiel.",
     422},
    {"replay_unhashed", "Der Aufzeichnung fehlen die Prüfwerte des Spielstands, ohne die sie nichts beweist.", 422},
    {"replay_reused", "Dieses Spiel beweist bereits einen anderen Eintrag der Bestenliste.", 409},
    {"replay_bad_start", "Der Spielstand am START der Aufzeichnung ist keiner, den das Spiel dort haben kann.", 422},
    {"pending", "Dein Ergebnis ist gespeichert, seine Aufzeichnung wird geprüft.", 202},
}};

}  // namespace

const ReasonText& describe(Reason reason) {
    // Checked: a reason added without its text throws instead of reading past the table.
    return texts.at(static_cast<size_t>(reason));
}

std::optional<Reason> reason_of_code(std::string_view code) {
    for (size_t k = 0; k < texts.size(); ++k) {
        if (texts[k].code == code) return static_cast<Reason>(k);
    }
    return std::nullopt;
}

}  // namespace bestenliste
