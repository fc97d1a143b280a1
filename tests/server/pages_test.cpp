// SPDX-License-Identifier: GPL-3.0-or-later
// The pages and the JSON answers: hostile nicknames stay text, personal data stays out, the HTML
// is well-formed and paged.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "server/html_pages.h"
#include "server/json_answers.h"
#include "tests/server/html_check.h"

namespace {

using bestenliste::ListedEntry;

const std::vector<std::string> hostile = {
    "<script>alert(1)</script>",
    "\"><img src=x onerror=alert(1)>",
    "a&amp;b",
    "'; DROP TABLE entries;--",
};

ListedEntry listed(const std::string& nickname, int64_t rank = 1, bool proved = false) {
    return {rank, rank, nickname, 11565, 1'765'000'000'000, proved};
}

TEST(Pages, HostileNicknamesAreShownAsTextOnEveryPage) {
    for (const auto& nickname : hostile) {
        bestenliste::ListView view;
        view.entries = {listed(nickname)};
        view.total = 1;
        view.search = nickname;
        const auto escaped = bestenliste::escape_html(nickname);
        for (const auto& page : {bestenliste::list_page(view), bestenliste::entry_page(listed(nickname))}) {
            EXPECT_EQ(html_fault(page), "") << nickname;
            EXPECT_EQ(page.find(nickname), std::string::npos) << nickname;
            EXPECT_NE(page.find(escaped), std::string::npos) << nickname;
        }
        const auto json =
            nlohmann::json::parse(bestenliste::list_answer(bestenliste::Listing::Proved, 1, view.entries));
        EXPECT_EQ(json["entries"][0]["nickname"], nickname);
    }
    EXPECT_EQ(bestenliste::escape_html("<a href=\"x\">'&'</a>"),
              "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;");
}

TEST(Pages, TheListShowsRankAgeAndDateAndPagesOnward) {
    bestenliste::ListView view;
    view.entries = {listed("Erster", 51, true), listed("Zweiter", 52, true)};
    view.total = 120;
    view.page = 2;
    view.search = "a b";
    const auto page = bestenliste::list_page(view);
    EXPECT_EQ(html_fault(page), "");
    EXPECT_NE(page.find("<tr><td class=\"rang\">51</td><td class=\"name\"><a href=\"/eintrag/51\">Erster</a></td>"
                        "<td>32</td><td>1</td><td>15</td><td>06.12.2025</td></tr>"),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("href=\"/?seite=1&amp;suche=a%20b\">« Zurück</a> Seite 2 von 3 "
                        "<a rel=\"next\" href=\"/?seite=3&amp;suche=a%20b\">Weiter »</a>"),
              std::string::npos)
        << page;
}

// The world list says that it holds proved results only and where the others are; the unproved
// page says what its results are, lists the uploads still being proved apart, and pages in itself.
TEST(Pages, EachListSaysWhatItHoldsAndWhereTheOtherIs) {
    bestenliste::ListView proved;
    proved.entries = {listed("Bewiesen", 1, true)};
    proved.total = 1;
    bestenliste::ListView unproved;
    unproved.list = bestenliste::Listing::Unproved;
    unproved.entries = {listed("Gemailt", 1, false)};
    unproved.total = 51;
    unproved.waiting = {listed("Wartend", 0, false)};
    unproved.waiting_total = 3;
    struct Case {
        const bestenliste::ListView& view;
        std::vector<std::string> shown, not_shown;
    };
    // clang-format off
    const Case cases[] = {
        {proved,   {"<h1>Die aktuelle weltweite Bestenliste</h1>", "bewiesen: seine Aufzeichnung wurde nachgespielt",
                    "<a href=\"/unbewiesen\">Unbewiesen</a>.", "action=\"/\""},
                   {"Wird geprüft"}},
        {unproved, {"<h1>Unbewiesene Ergebnisse</h1>", "nie über einem bewiesenen Ergebnis",
                    "<h2>Wird geprüft</h2>", "<a href=\"/eintrag/0\">Wartend</a>", "… und 2 weitere.",
                    "<h2>Ohne Aufzeichnung</h2>", "<td class=\"rang\">1</td><td class=\"name\"><a href=\"/eintrag/1\">Gemailt",
                    "action=\"/unbewiesen\"", "href=\"/unbewiesen?seite=2\">Weiter »</a>"},
                   {"<td class=\"rang\">0"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto page = bestenliste::list_page(c.view);
        EXPECT_EQ(html_fault(page), "");
        for (const auto& text : c.shown) EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
        for (const auto& text : c.not_shown) EXPECT_EQ(page.find(text), std::string::npos) << text << "\n" << page;
    }
    EXPECT_NE(bestenliste::entry_page(listed("P", 3, true)).find("<a href=\"/\">Bestenliste</a>: bewiesen"),
              std::string::npos);
    EXPECT_NE(bestenliste::entry_page(listed("U", 3, false)).find("<a href=\"/unbewiesen\">Unbewiesen</a>: ohne"),
              std::string::npos);
}

TEST(Pages, OnlyAProvedEntryOffersItsReplay) {
    EXPECT_NE(bestenliste::entry_page(listed("P", 3, true)).find("/eintrag/3/aufzeichnung"), std::string::npos);
    EXPECT_EQ(bestenliste::entry_page(listed("U", 3, false)).find("aufzeichnung"), std::string::npos);
    EXPECT_NE(bestenliste::entry_page(listed("P")).find("32 Jahre, 1 Monat, 15 Tage"), std::string::npos);
}

TEST(Pages, TheUploadPageIsAFormThatNeedsNoScriptAndSaysWhyAFileWasRefused) {
    const auto blank = bestenliste::upload_page();
    EXPECT_EQ(html_fault(blank), "");
    EXPECT_NE(blank.find("<form method=\"post\" action=\"/hochladen\" enctype=\"multipart/form-data\">"),
              std::string::npos);
    EXPECT_EQ(blank.find("<script"), std::string::npos);
    const auto refused = bestenliste::upload_page(bestenliste::UploadOutcome{bestenliste::Reason::BadCheckSum});
    EXPECT_EQ(html_fault(refused), "");
    EXPECT_NE(refused.find(bestenliste::describe(bestenliste::Reason::BadCheckSum).sentence), std::string::npos);
}

TEST(Pages, TheUploadAnswerHasTheDocumentedFields) {
    const auto accepted =
        nlohmann::json::parse(bestenliste::upload_answer({bestenliste::Reason::Accepted, true, 9, 4}));
    EXPECT_EQ(accepted, nlohmann::json::parse(R"({"accepted": true, "reason": "accepted", "message":
        "Dein Ergebnis wurde in die weltweite Bestenliste eingetragen.", "proved": true, "rank": 4, "id": 9,
        "state": "proved"})"));
    // With a replay: stored and waiting for the proof, under the id its entry will have.
    const auto pending = nlohmann::json::parse(bestenliste::upload_answer({bestenliste::Reason::Pending, false, 12}));
    EXPECT_EQ(pending["state"], "pending");
    EXPECT_EQ(pending["id"], 12);
    EXPECT_TRUE(pending["rank"].is_null());
    const auto refused = nlohmann::json::parse(bestenliste::upload_answer({bestenliste::Reason::Duplicate}));
    EXPECT_EQ(refused["accepted"], false);
    EXPECT_EQ(refused["reason"], "duplicate");
    EXPECT_TRUE(refused["rank"].is_null());
}

}  // namespace
