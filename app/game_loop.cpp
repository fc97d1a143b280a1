// SPDX-License-Identifier: GPL-3.0-or-later
// One game: a fresh world, one frame after another until the clock and its grace second have run
// out, then the result page. Control then goes back to the outer loop, which starts over.
#include <cstdio>
#include <exception>

#include "base/log.h"
#include "app/vorlanix.h"

namespace vorlanix {

namespace {
constexpr double kGameTime = 100000;  // ms of game time a game starts with
constexpr double kGrace = 1000;       // the doors close during this last second
constexpr int32_t kLongestStep = 50;  // a slower frame still moves the world by only 50 ms
}  // namespace

void Vorlanix::Schleife() {
    platform_.SetPointerMode(platform::PointerMode::Game);
    // A run-time error anywhere in a game (a refused lock in a hit test, a picture that cannot be
    // reloaded) ends the game the ordinary way, so the player gets the menu back.
    try {
        SetUpGame();
        while (GameFrame()) {
        }
    } catch (const std::exception& e) {
        base::Log("the game ends early: %s", e.what());
    }
    EndGame();
}

bool Vorlanix::GameFrame() {
    platform_.DoEvents();

    if (Pause != False) {
        const uint32_t pauseStart = platform_.GetTickCount();
        const uint32_t startBefore = static_cast<uint32_t>(SpielStartTick);
        PauseBeginn = static_cast<int32_t>(pauseStart);
        while (Pause != False) {
            platform_.DoEvents();
            Zeichne();
        }
        Zeichne();
        const uint32_t pauseEnd = platform_.GetTickCount();
        // Time without focus inside the pause is part of the pause and is taken out once; a focus
        // that comes back only after the pause counts its absence from here.
        SpielStartTick = static_cast<int32_t>(startBefore + (pauseEnd - pauseStart));
        PauseBeginn = static_cast<int32_t>(pauseEnd);
    }

    TickVorher = TickJetzt;
    TickJetzt = static_cast<int32_t>(platform_.GetTickCount());
    FrameDauer = tickDiff(static_cast<uint32_t>(TickJetzt), static_cast<uint32_t>(TickVorher));
    if (FrameDauer > kLongestStep) FrameDauer = kLongestStep;

    // The game clock runs on real time; only the movement step is clamped.
    Spielzeit = tickDiff(static_cast<uint32_t>(TickJetzt), static_cast<uint32_t>(SpielStartTick));
    if (kGameTime - (Zeitversatz + static_cast<double>(Spielzeit)) < -kGrace) return false;

    Schritt = static_cast<float>(FrameDauer * 60 / 1024.0);

    // The pointer's distance from the centre sets the scrolling speed, like a joystick.
    int32_t x = 0, y = 0;
    platform_.GetCursorPos(x, y);
    MausPos[0] = x;
    MausPos[1] = y;
    ScrollX1024 = nearest((MausPos[0] - 320) * static_cast<double>(Schritt) * 21 + ScrollX1024);
    ScrollY1024 = nearest((MausPos[1] - 240) * static_cast<double>(Schritt) * 24 + ScrollY1024);

    const double keyStep = static_cast<double>(Schritt) * 3072;
    if (TasteOben != False) ScrollY1024 = nearest(ScrollY1024 - keyStep);
    if (TasteUnten != False) ScrollY1024 = nearest(ScrollY1024 + keyStep);
    if (TasteLinks != False) ScrollX1024 = nearest(ScrollX1024 - keyStep);
    if (TasteRechts != False) ScrollX1024 = nearest(ScrollX1024 + keyStep);

    // 2^24 keeps the left operand positive; not being a multiple of the world's size, it also
    // puts the view at (256, 1216) when a game starts.
    SichtX = (ScrollX1024 / 1024 + 16777216) % 1920;
    SichtY = (ScrollY1024 / 1024 + 16777216) % 1440;

    AngriffGI(Schritt);
    PlanetenPositionen(Schritt);
    Feindposition(Schritt);

    if (Spielzeit - SchalterZeit > 2500) {
        const int16_t on = Satelit2IroneTot[1] != 0 ? True : False;
        for (int k = 1; k <= 3; ++k) Schalter[k] = on;
    }

    // A shot fired in the grace second scores nothing.
    if (SchussTimer == 16 && kGameTime - (Zeitversatz + static_cast<double>(Spielzeit)) > 0) SchussAuswerten();

    if (RechtsKlickX > 0) {
        RechtsKlickAuswerten();
        RechtsKlickX = -1;
    }

    if (SchussTimer > 0) SchussTimer = static_cast<float>(SchussTimer - 2.0 * Schritt);

    Zeichne();
    return true;
}

void Vorlanix::EndGame() {
    Modus = 2;
    AktMenue = 8;
    platform_.SetPointerMode(platform::PointerMode::Menu);
    if (SpielUngueltig != False) {
        AktMenue = 10;
        ErgebnisOffen = False;
        Punktzahl = 0;
    }
    // Copy 1 of a slot is the one that loops; a game that failed early may never have loaded it.
    auto stopLoop = [this](int slot) {
        if (SoundPuffer[slot][1]) SoundPuffer[slot][1]->Stop();
    };
    if (AlarmLaeuft != False && SoundAn != False && SoundBereit != False) stopLoop(8);
    if (MusikAn != False && SoundBereit != False) stopLoop(2);
    MenuePunktMaus = -111;
    MenuePunktGedrueckt = -111;
    MenuAusblenden(99, AktMenue);
    EndeAnimation();
    spielBeendet_ = true;
}

}  // namespace vorlanix
