// SPDX-License-Identifier: GPL-3.0-or-later
// The menu's share of the mouse: the move lights the button under the pointer, the press marks
// a main button as held, and the release acts: it leaves the title and closing pictures,
// changes the page, switches the settings, answers the result page and runs the upload form.
#include <cstdio>
#include <exception>

#include "base/log.h"
#include "app/vorlanix.h"
#include "menu/hit_areas.h"
#include "menu/message_texts.h"

namespace vorlanix {

namespace {

void setLines(std::string (&MeldungZeile)[13], const MessageLines& lines) {
    for (int i = 1; i <= 12; ++i) MeldungZeile[i] = lines[i];
}

}  // namespace

void Vorlanix::MenueMausBewegt(float x, float y) {
    if (Modus == 2) {
        MenuePunktMaus = MainPanelButton(x, y);
        // Holding a button only lights it; what a click does depends on the release alone.
        if (MenuePunktGedrueckt != MenuePunktMaus) MenuePunktGedrueckt = 0;
    }
    if (const int32_t n = PageButton(AktMenue, x, y)) MenuePunktMaus = n;
}

void Vorlanix::MenueMausGedrueckt(float x, float y) {
    if (Modus != 2) return;
    MenuePunktGedrueckt = MainPanelButton(x, y);
}

int32_t Vorlanix::EntryFieldAt(float x, float y) const {
    for (int32_t i = 1; i <= 8; ++i)
        if (FeldX[i] < x && x < FeldX[i] + FeldBreite[i] && FeldY[i] < y && y < FeldY[i] + 18) return i;
    return 0;
}

void Vorlanix::OpenMessagePage(int32_t Alt, int32_t zurueck) {
    MeldungZurueck = zurueck;
    MenuAusblenden(Alt, 11);
    AktMenue = 11;
}

// The button pressed does not matter: right and middle act like left.
void Vorlanix::Form_MouseUp(int16_t /*button*/, int16_t /*shift*/, float x, float y) {
    if (Modus == -1) return;
    if (Modus == 1) {
        Modus = 2;
        return;
    }
    // During the count-down the result and its rank are not known yet: an entry made now would
    // write a stale result into the list, so clicks are ignored until it is over.
    if (EndeAnimationLaeuft != False) return;

    // After a game the main buttons are dead until the result page has been answered.
    if (ErgebnisOffen == 0) {
        const int32_t n = MainPanelButton(x, y);
        if (n >= 1 && n <= 6) {
            // The help opens on its first picture. Clicked while the help is shown, nothing
            // changes on the screen, so the dots must keep telling which picture is shown.
            if (n == 6 && AktMenue != 6) HilfeSeite = 1;
            MenuAusblenden(AktMenue, n);
            AktMenue = n;
        } else if (n == 7) {
            AktMenue = 7;  // the next menu pass shows the closing picture
        }
    }

    // The areas of the main panel and of the pages do not overlap: at most one of these acts.
    const int32_t button = PageButton(AktMenue, x, y);
    if (AktMenue == 6 && button != 0) {
        const int32_t k = button - 60;
        MenuAusblenden(60 + HilfeSeite, 60 + k);
        HilfeSeite = k;
    }

    if (AktMenue == 3 && button != 0) {
        const int16_t value = button % 2 == 1 ? True : False;  // the left lamp of a row is AN
        if (button <= 32)
            SoundAn = value;
        else if (button <= 34)
            MusikAn = value;
        else {
            NebelAn = value;
            try {
                InitNebelSurfaces();
            } catch (const std::exception& e) {
                base::Log("%s; the nebulae are not shown", e.what());
            }
        }
        // Saved even when nothing changed.
        HighscoreSpeichern();
    }

    if (AktMenue == 4 && button == 41) {
        setLines(MeldungZeile, InfoText(4));
        OpenMessagePage(4, 4);
        return;
    }

    if (AktMenue == 8 && (button == 81 || button == 82)) {
        ErgebnisOffen = 0;
        if (NeuerRang <= 8) HighscoreEintragen();
        // JA leads to the upload form whether or not the result entered the local list.
        const int32_t next = button == 81 ? 4 : 9;
        MenuAusblenden(8, next);
        AktMenue = next;
        return;
    }
    if (AktMenue == 8 && button == 83) {
        setLines(MeldungZeile, InfoText(8));
        OpenMessagePage(8, 8);
        return;
    }

    if (AktMenue == 9) {
        if (const int32_t field = EntryFieldAt(x, y)) {
            AktFeld = field;
            return;
        }
        if (button == 81) {
            for (int i = 1; i <= 8; ++i) FeldText[i].clear();
            AktFeld = 1;
            HighscoreSpeichern();
            return;
        }
        if (button == 82) {
            // Walking down from 8 leaves the cursor in the first empty field.
            bool empty = false;
            for (int32_t i = 8; i >= 1; --i) {
                if (FeldText[i].empty()) {
                    AktFeld = i;
                    empty = true;
                }
            }
            if (empty) {
                setLines(MeldungZeile, FillInEveryFieldText());
                OpenMessagePage(9, 9);
            } else {
                SaveUploadFile();
            }
            return;
        }
        if (button == 83) {
            setLines(MeldungZeile, InfoText(9));
            OpenMessagePage(9, 9);
            return;
        }
    }

    if (AktMenue == 11 && button == 11) {
        MenuAusblenden(11, MeldungZurueck);
        AktMenue = MeldungZurueck;
    }
}

}  // namespace vorlanix
