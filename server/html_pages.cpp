// SPDX-License-Identifier: GPL-3.0-or-later
// Every text that came from a file or a request passes escape_html on its way into a page.
#include "server/html_pages.h"

#include <algorithm>

#include "server/age_text.h"
#include "server/time_text.h"

namespace bestenliste {

namespace {

std::string url_encode(std::string_view text) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<uint8_t>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += digits[b >> 4];
            out += digits[b & 15];
        }
    }
    return out;
}

std::string document(std::string_view title, const std::string& body) {
    return "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
           escape_html(title) +
           " – Vorlanix</title>\n<link rel=\"stylesheet\" href=\"/stil.css\">\n</head>\n<body>\n"
           "<header><p class=\"spiel\">Vorlanix</p><nav><a href=\"/\">Bestenliste</a> "
           "<a href=\"/unbewiesen\">Unbewiesen</a> <a href=\"/hochladen\">Hochladen</a></nav></header>\n"
           "<main>\n" +
           body + "</main>\n</body>\n</html>\n";
}

std::string proof_mark(bool proved) {
    return proved ? "<span class=\"bewiesen\">bewiesen</span>" : "<span class=\"unbewiesen\">unbewiesen</span>";
}

std::string list_link(Listing list, int64_t page, const std::string& search) {
    std::string link = std::string(list_path(list)) + "?seite=" + std::to_string(page);
    if (!search.empty()) link += "&amp;suche=" + url_encode(search);
    return link;
}

std::string entry_link(int64_t id) { return "/eintrag/" + std::to_string(id); }

// The game's list: rank, nickname, the age in years, months and days, and when it came.
std::string entry_table(const std::vector<ListedEntry>& entries, bool ranked) {
    std::string table = "<table class=\"liste\">\n<thead><tr>";
    if (ranked) table += "<th scope=\"col\">Rang</th>";
    table +=
        "<th scope=\"col\">Nickname</th><th scope=\"col\">Jahre</th><th scope=\"col\">Monate</th>"
        "<th scope=\"col\">Tage</th><th scope=\"col\">Hoch&shy;geladen</th></tr></thead>\n<tbody>\n";
    for (const auto& entry : entries) {
        const Age age = age_of(entry.days);
        // The first three places stand out, as on a game's high-score table.
        table += ranked && entry.rank <= 3 ? "<tr class=\"spitze\">" : "<tr>";
        if (ranked) table += "<td class=\"rang\">" + std::to_string(entry.rank) + "</td>";
        table += "<td class=\"name\"><a href=\"" + entry_link(entry.id) + "\">" + escape_html(entry.nickname) +
                 "</a></td><td>" + std::to_string(age.years) + "</td><td>" + std::to_string(age.months) + "</td><td>" +
                 std::to_string(age.days) + "</td><td>" + date_text(entry.uploaded_ms) + "</td></tr>\n";
    }
    return table + "</tbody>\n</table>\n";
}

}  // namespace

std::string escape_html(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string_view list_path(Listing list) { return list == Listing::Proved ? "/" : "/unbewiesen"; }

std::string list_page(const ListView& view) {
    const bool proved = view.list == Listing::Proved;
    const std::string path(list_path(view.list));
    const int64_t pages = std::max<int64_t>(1, (view.total + entries_per_page - 1) / entries_per_page);
    std::string body;
    if (proved) {
        body +=
            "<h1>Die aktuelle weltweite Bestenliste</h1>\n<p class=\"hinweis\">Hier steht jedes Ergebnis "
            "bewiesen: seine Aufzeichnung wurde nachgespielt und ergab genau dieses Ergebnis. Ergebnisse ohne "
            "Aufzeichnung und solche, die noch geprüft werden, stehen unter <a href=\"/unbewiesen\">Unbewiesen</a>."
            "</p>\n";
    } else {
        body +=
            "<h1>Unbewiesene Ergebnisse</h1>\n<p class=\"hinweis\">Diese Ergebnisse kamen ohne Aufzeichnung "
            "(etwa per E-Mail) und sind nicht nachgeprüft. Sie haben eine eigene Rangfolge und stehen nie über "
            "einem bewiesenen Ergebnis der <a href=\"/\">Bestenliste</a>.</p>\n";
    }
    body += "<form class=\"suche\" method=\"get\" action=\"" + path +
            "\"><label for=\"suche\">Nickname</label> "
            "<input id=\"suche\" name=\"suche\" type=\"search\" maxlength=\"40\" value=\"" +
            escape_html(view.search) + "\"> <button type=\"submit\">Suchen</button></form>\n";
    if (!view.waiting.empty()) {
        body += "<h2>Wird geprüft</h2>\n" + entry_table(view.waiting, false);
        if (view.waiting_total > static_cast<int64_t>(view.waiting.size())) {
            body += "<p>… und " + std::to_string(view.waiting_total - static_cast<int64_t>(view.waiting.size())) +
                    " weitere.</p>\n";
        }
        body += "<h2>Ohne Aufzeichnung</h2>\n";
    }
    if (view.entries.empty()) {
        body += !view.search.empty() ? "<p>Kein Nickname enthält diesen Suchtext.</p>\n"
                : proved             ? "<p>Noch ist kein Ergebnis bewiesen.</p>\n"
                                     : "<p>Kein unbewiesenes Ergebnis.</p>\n";
    } else {
        body += entry_table(view.entries, true);
    }
    body += "<nav class=\"seiten\">";
    if (view.page > 1) {
        body += "<a rel=\"prev\" href=\"" + list_link(view.list, std::min(view.page - 1, pages), view.search) +
                "\">« Zurück</a> ";
    }
    body += "Seite " + std::to_string(view.page) + " von " + std::to_string(pages);
    if (view.page < pages) {
        body += " <a rel=\"next\" href=\"" + list_link(view.list, view.page + 1, view.search) + "\">Weiter »</a>";
    }
    body += "</nav>\n";
    return document(proved ? "Weltweite Bestenliste" : "Unbewiesene Ergebnisse", body);
}

std::string upload_page(const std::optional<UploadOutcome>& outcome) {
    std::string body = "<h1>Ergebnis hochladen</h1>\n";
    if (outcome) {
        const auto& text = describe(outcome->reason);
        if (outcome->reason == Reason::Pending) {
            body += "<p class=\"meldung angenommen\">" + escape_html(text.sentence) + " <a href=\"" +
                    entry_link(outcome->id) + "\">Zum Eintrag</a> (wird geprüft).</p>\n";
        } else if (outcome->reason == Reason::Accepted) {
            body += "<p class=\"meldung angenommen\">" + escape_html(text.sentence) + " <a href=\"" +
                    entry_link(outcome->id) + "\">Rang " + std::to_string(outcome->rank) + "</a>, " +
                    proof_mark(outcome->proved) + ".</p>\n";
        } else {
            body += "<p class=\"meldung abgelehnt\">" + escape_html(text.sentence) + "</p>\n";
        }
    }
    body +=
        "<p>Nach einem Spiel speichert Vorlanix deine High-Score-Upload-Datei (Endung .qhs). "
        "Lade sie hier hoch, um in die weltweite Bestenliste zu kommen.</p>\n"
        "<form method=\"post\" action=\"/hochladen\" enctype=\"multipart/form-data\">\n"
        "<p><label for=\"qhs\">Upload-Datei (.qhs)</label> "
        "<input id=\"qhs\" name=\"qhs\" type=\"file\" accept=\".qhs\" required></p>\n"
        "<p><label for=\"replay\">Aufzeichnung des Spiels (freiwillig)</label> "
        "<input id=\"replay\" name=\"replay\" type=\"file\"></p>\n"
        "<p><button type=\"submit\">Hochladen</button></p>\n</form>\n"
        "<p>In der Liste stehen nur dein Nickname und dein Ergebnis. Name, Anschrift, Geburtsdatum und "
        "E-Mail-Adresse der Datei werden nirgends gezeigt.</p>\n";
    return document("Ergebnis hochladen", body);
}

std::string entry_page(const ListedEntry& entry, bool watchable) {
    std::string body = "<h1>" + escape_html(entry.nickname) + "</h1>\n<dl>\n";
    body += "<dt>Rang</dt><dd>" + std::to_string(entry.rank) + "</dd>\n";
    // Which list the rank counts in.
    body += entry.proved ? "<dt>Liste</dt><dd><a href=\"/\">Bestenliste</a>: bewiesen, die Aufzeichnung ergab "
                           "genau dieses Ergebnis</dd>\n"
                         : "<dt>Liste</dt><dd><a href=\"/unbewiesen\">Unbewiesen</a>: ohne Aufzeichnung "
                           "eingesandt, nicht nachgeprüft</dd>\n";
    body += "<dt>Alter</dt><dd>" + age_text(entry.days) + "</dd>\n";
    body += "<dt>Hochgeladen</dt><dd>" + date_text(entry.uploaded_ms) + "</dd>\n";
    body += "</dl>\n";
    if (entry.proved) {
        body += "<p>";
        if (watchable) body += "<a href=\"/spielen/?ansehen=" + std::to_string(entry.id) + "\">Ansehen</a> · ";
        body += "<a href=\"" + entry_link(entry.id) + "/aufzeichnung\">Aufzeichnung herunterladen</a></p>\n";
    }
    return document(entry.nickname, body);
}

std::string proof_page(int64_t id, const ProofStatus& proof) {
    std::string body = "<h1>Eintrag " + std::to_string(id) + "</h1>\n";
    if (proof.state == ProofState::Refused) {
        const auto reason = reason_of_code(proof.reason);
        body += "<p class=\"meldung abgelehnt\">Die Prüfung hat das Ergebnis abgelehnt: " +
                escape_html(reason ? describe(*reason).sentence : proof.reason) + " (" + escape_html(proof.reason) +
                ")</p>\n";
    } else {
        body +=
            "<p class=\"meldung\">Wird geprüft: die Aufzeichnung wird gerade nachgespielt. Bis dahin steht "
            "das Ergebnis unter <a href=\"/unbewiesen\">Unbewiesen</a>; ist es bewiesen, steht es hier und in der "
            "Bestenliste.</p>\n";
    }
    return document(proof.state == ProofState::Refused ? "Abgelehnt" : "Wird geprüft", body);
}

std::string error_page(int status) {
    if (status == 404) {
        return document("Nicht gefunden", "<h1>Nicht gefunden</h1>\n<p>Diese Seite gibt es nicht.</p>\n");
    }
    if (status == 429) {
        return document("Zu viele Anfragen",
                        "<h1>Zu viele Anfragen</h1>\n<p>Von dieser Adresse kamen zu viele Suchen, bitte versuche "
                        "es in einer Minute noch einmal.</p>\n");
    }
    if (status == 503) {
        return document("Gerade nicht erreichbar",
                        "<h1>Gerade nicht erreichbar</h1>\n<p>Die Bestenliste ist gerade "
                        "nicht erreichbar, bitte versuche es gleich noch einmal.</p>\n");
    }
    return document("Fehler", "<h1>Fehler " + std::to_string(status) +
                                  "</h1>\n<p>Die Anfrage konnte nicht bearbeitet werden.</p>\n");
}

std::string_view style_sheet() {
    // The game's night sky and colours: a list to be read at a glance on a desk and on a phone.
    // Long nicknames break anywhere rather than widen a column past the screen.
    return R"(body { margin: 0; background: radial-gradient(ellipse at top, #1c2650, #090d1c 70%) fixed #090d1c;
  color: #dee6f2; font-family: "DejaVu Sans", sans-serif; line-height: 1.4; }
header { display: flex; flex-wrap: wrap; justify-content: space-between; align-items: baseline; gap: 0.3em 1em;
  padding: 0.6em 1.2em; border-bottom: 2px solid #40aadc; background: rgba(9, 13, 28, 0.8); }
.spiel { margin: 0; color: #ffce40; font-weight: bold; letter-spacing: 0.2em; text-transform: uppercase;
  text-shadow: 0 0 0.4em rgba(255, 206, 64, 0.6); }
nav a { margin-right: 1em; }
header nav a:last-child { margin-right: 0; }
main { max-width: 56em; margin: 0 auto; padding: 1em; }
h1 { color: #ffce40; font-size: 1.4em; text-shadow: 0 0 0.5em rgba(255, 206, 64, 0.35); }
h1, h2, dd, .name { overflow-wrap: anywhere; }
h2 { color: #96acc8; font-size: 1.1em; margin-top: 1.5em; }
a { color: #78e6ff; }
.hinweis { color: #96acc8; }
table { width: 100%; border-collapse: collapse; font-variant-numeric: tabular-nums; }
th { color: #96acc8; text-align: left; border-bottom: 1px solid #40aadc; font-weight: normal; }
th, td { padding: 0.3em 0.5em; }
td { text-align: right; }
td.name { text-align: left; font-weight: bold; }
td.rang { color: #ffce40; }
tbody tr:nth-child(even) { background: rgba(64, 170, 220, 0.08); }
tbody tr:hover { background: rgba(64, 170, 220, 0.2); }
.spitze td.rang { color: #ffe680; font-size: 1.15em; }
.spitze td.name a { color: #ffe680; }
.meldung { padding: 0.5em; border: 1px solid #40aadc; }
.abgelehnt { border-color: #ff5c40; color: #ff5c40; }
.seiten { margin-top: 1em; color: #96acc8; }
.suche { display: flex; flex-wrap: wrap; gap: 0.4em; align-items: center; margin-bottom: 1em; }
.suche input { flex: 1 1 8em; min-width: 0; }
input, button { font: inherit; max-width: 100%; }
dt { color: #96acc8; }
@media (max-width: 34em) {
  header { padding: 0.5em 0.7em; }
  main { padding: 0.6em; }
  table { font-size: 0.85em; }
  th, td { padding: 0.25em 0.2em; }
}
)";
}

}  // namespace bestenliste
