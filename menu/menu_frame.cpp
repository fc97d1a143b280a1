// SPDX-License-Identifier: GPL-3.0-or-later
// One pass of the menu: the panel, the page with its live elements, the lit buttons, and the
// cockpit frame with the pointer, presented by one flip. START and QUIT act from here.
#include <exception>

#include "app/vorlanix.h"
#include "gfx/frame_copies.h"

namespace vorlanix {

void Vorlanix::Zeichne_Menue() {
    if (DDBereit == False) return;
    // An error while a frame is drawn ends that frame unpresented; the next pass draws afresh.
    try {
        if (WarteAufAnzeige()) {
            InitSurfaces();
            Init_AktMenue(AktMenue);
        }
        CopyUnclipped(SurfBack, 34, 30, SurfMenue, platform::Rect{0, 0, 572, 360}, false);
        CopyUnclipped(SurfBack, 166, 82, SurfMenueSeite, platform::Rect{0, 0, 320, 240}, false);
        if (MenuePunktMaus >= 1 && MenuePunktMaus <= 7) DrawMainButtonLamp(MenuePunktMaus, MenuePunktMaus);
        // The mouse handlers keep both equal while a button is held, so this lights the same lamp.
        if (MenuePunktGedrueckt >= 1 && MenuePunktGedrueckt <= 7 && MenuePunktMaus >= 1 && MenuePunktMaus <= 7)
            DrawMainButtonLamp(MenuePunktGedrueckt, MenuePunktMaus);
    } catch (const std::exception&) {
        return;
    }

    // The frame in which a game starts is never presented; the game returns here when it ends.
    if (AktMenue == 1) {
        AktMenue = 0;
        Schleife();
        return;
    }

    try {
        switch (AktMenue) {
            case 3: DrawSettingsLamps(PageTarget::Screen); break;
            case 4:
                if (MenuePunktMaus == 41) DrawButtonPiece(ButtonPiece::InfoLit, 416, 94, PageTarget::Screen);
                DrawHighscoreList(PageTarget::Screen);
                break;
            case 6: DrawHelpDots(); break;
            case 7: EndeDesSpiels();
            case 8:
                DrawResultButtonLamps();
                DrawResultPage();
                break;
            case 9:
                DrawResultButtonLamps();
                DrawUploadFields(PageTarget::Screen);
                break;
            case 11:
                if (MenuePunktMaus == 11) DrawButtonPiece(ButtonPiece::SmallLit, 317, 295, PageTarget::Screen);
                DrawMessageLines(PageTarget::Screen);
                break;
            default: break;
        }
        ZeichneMenueRand();
    } catch (const std::exception&) {
    }
}

void Vorlanix::DrawMainButtonLamp(int32_t piece, int32_t place) {
    int32_t x = 111, y = 42 * place + 47;  // STORY ... HILFE
    if (place == 1) {
        x = 106;
        y = 80;
    } else if (place == 7) {
        x = 531;
        y = 299;
    }
    DrawButtonPiece(piece == 1 ? ButtonPiece::BigLit : ButtonPiece::SmallLit, x, y, PageTarget::Screen);
}

void Vorlanix::ZeichneMenueRand() {
    int32_t x = 0, y = 0;
    platform_.GetCursorPos(x, y);
    MausPos[0] = x;
    MausPos[1] = y;
    ddBitBltAlles(MausPos[0] - 20, MausPos[1] - 12, 41, 25, SurfPointer, 0, 0);
    // The bars come after the pointer and cover it at the screen's edges.
    ddBitBltAllesOCK(0, 0, 640, 32, SurfOben, 0, 0);
    ddBitBltAlles(0, 32, 98, 320, SurfLinks, 0, 0);
    ddBitBltAlles(542, 32, 98, 320, SurfRechts, 0, 0);
    ddBitBltAlles(0, 352, 640, 128, SurfUnten, 0, 0);
    ddBitBltAlles(258, 383, 126, 57, SurfLogo, 0, 0);
    UpdateTimeCounter();
    if (Punktzahl < 0) Punktzahl = 0;
    if (Punktzahl != PunktzahlAnzeige) {
        // Unlike the game frame's counter, the menu's cuts its last digit at 93 + BildVersatzX:
        // the fade after a game still carries that game's last shake.
        PaintScoreCounter(Punktzahl / kScoreScale, 93 + BildVersatzX);
        PunktzahlAnzeige = Punktzahl;
    }
    Flip();
}

bool Vorlanix::CursorPhaseOn() { return (platform_.GetTickCount() / 150) % 2 == 0; }

}  // namespace vorlanix
