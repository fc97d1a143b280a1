// SPDX-License-Identifier: GPL-3.0-or-later
// The live elements drawn over the page pictures: settings lamps, the high-score list, the help
// dots, the result with the name, the upload form and the message lines. Positions are screen
// positions; on the page canvas they are taken relative to the page's corner (166, 82).
#include "app/vorlanix.h"
#include "score/age_digits.h"

namespace vorlanix {

namespace {

constexpr int32_t kPageX = 166, kPageY = 82;

struct Piece {
    int32_t left, top, width, height;
};

// The pieces of button.bmp.
Piece pieceOf(Vorlanix::ButtonPiece piece) {
    switch (piece) {
        case Vorlanix::ButtonPiece::BigLit: return {0, 0, 30, 30};
        case Vorlanix::ButtonPiece::SmallLit: return {0, 30, 20, 20};
        case Vorlanix::ButtonPiece::SmallDimmed: return {20, 30, 20, 20};
        case Vorlanix::ButtonPiece::InfoLit: return {0, 50, 36, 20};
    }
    return {};
}

std::string twoDigits(int32_t tens, int32_t ones) { return std::to_string(tens) + std::to_string(ones); }

}  // namespace

void Vorlanix::DrawButtonPiece(ButtonPiece piece, int32_t x, int32_t y, PageTarget target) {
    const Piece p = pieceOf(piece);
    if (target == PageTarget::Screen)
        ddBitBltAlles(x, y, p.width, p.height, SurfButton, p.left, p.top);
    else
        ddBitBltTemp2(x - kPageX, y - kPageY, p.width, p.height, SurfButton, p.left, p.top);
}

void Vorlanix::PageText(PageTarget target, int32_t x, int32_t y, std::string_view txt, int32_t Laenge, int32_t Start) {
    if (target == PageTarget::Screen)
        SchriftAusgabe(x, y, txt, Laenge, Start);
    else
        SchriftAusgabeMenueAusblenden(x - kPageX, y - kPageY, txt, Laenge, Start);
}

void Vorlanix::DrawSettingsLamps(PageTarget target) {
    struct Row {
        int16_t setting;
        int32_t y, left, right;  // the numbers of the AN (True) and AUS (False) lamps
    };
    const Row rows[3] = {{SoundAn, 157, 31, 32}, {MusikAn, 218, 33, 34}, {NebelAn, 281, 35, 36}};
    // The option in force keeps the bright lamp of the picture; the other one is dimmed and
    // lights up under the mouse.
    for (const Row& r : rows) {
        const bool on = r.setting != False;
        const int32_t x = on ? 336 : 253;
        DrawButtonPiece(ButtonPiece::SmallDimmed, x, r.y, target);
        if (target == PageTarget::Screen && MenuePunktMaus == (on ? r.right : r.left))
            DrawButtonPiece(ButtonPiece::SmallLit, x, r.y, target);
    }
}

void Vorlanix::DrawHighscoreList(PageTarget target) {
    HighscoreLaden();
    for (int i = 1; i <= 8; ++i) {
        const int32_t t = HSTage[i] == 0 ? score::worst_age : HSTage[i];
        const auto Z = score::age_digits(t);
        const int32_t y = 22 * i + 117;
        PageText(target, 198, y, HSName[i], -1, 0);
        PageText(target, 358, y, twoDigits(Z[0], Z[1]), -1, 0);
        PageText(target, 401, y, twoDigits(Z[2], Z[3]), -1, 0);
        PageText(target, 441, y, twoDigits(Z[4], Z[5]), -1, 0);
    }
}

void Vorlanix::DrawHelpDots() {
    // The dot of the picture shown never lights up.
    for (int32_t k = 1; k <= 3; ++k)
        if (MenuePunktMaus == 60 + k && HilfeSeite != k)
            DrawButtonPiece(ButtonPiece::SmallLit, 253 + 28 * k, 93, PageTarget::Screen);
}

void Vorlanix::DrawResultButtonLamps() {
    if (MenuePunktMaus == 81) DrawButtonPiece(ButtonPiece::SmallLit, 233, 295, PageTarget::Screen);
    if (MenuePunktMaus == 82) DrawButtonPiece(ButtonPiece::SmallLit, 358, 295, PageTarget::Screen);
    if (MenuePunktMaus == 83) DrawButtonPiece(ButtonPiece::InfoLit, 416, 94, PageTarget::Screen);
}

void Vorlanix::DrawResultDigits(int32_t t) {
    // Six counter wheels: each digit is a 23 x 30 cell of its own column of the sheet.
    constexpr int32_t columns[6] = {0, 36, 83, 116, 164, 197};
    const auto Z = score::age_digits(t);
    for (int k = 0; k < 6; ++k)
        ddBitBltAllesOCK(215 + columns[k], 131, 23, 30, SurfErgebnisZahlen, columns[k], 30 * Z[k]);
}

void Vorlanix::DrawResultPage() {
    DrawResultDigits(Ergebnis / kScoreScale);
    if (NeuerRang <= 8) {
        const bool cursor = CursorPhaseOn() && SpielerName.size() < 8;
        SchriftAusgabe(260, 220, cursor ? SpielerName + "_" : SpielerName, -1, 0);
    } else {
        SchriftAusgabe(260, 220, "Nicht gut genug", -1, 0);
    }
    SchriftAusgabe(190, 260, "High-Score-Upload-Datei erzeugen", -1, 0);
}

void Vorlanix::DrawUploadFields(PageTarget target) {
    for (int i = 1; i <= 8; ++i) {
        if (i != AktFeld) {
            PageText(target, FeldX[i], FeldY[i], FeldText[i], FeldBreite[i], 0);
            continue;
        }
        // Measured with the cursor always, so the text does not jump as the cursor blinks; a
        // text wider than its field keeps its end and the cursor in view.
        const std::string s = CursorPhaseOn() ? FeldText[i] + "_" : FeldText[i];
        const int32_t w = TextLaenge(FeldText[i] + "_");
        if (w > FeldBreite[i])
            PageText(target, FeldX[i], FeldY[i], s, FeldBreite[i], w - FeldBreite[i]);
        else
            PageText(target, FeldX[i], FeldY[i], s, -1, 0);
    }
}

void Vorlanix::DrawMessageLines(PageTarget target) {
    for (int i = 1; i <= 12; ++i) PageText(target, 176, 16 * i + 80, MeldungZeile[i], -1, 0);
}

}  // namespace vorlanix
