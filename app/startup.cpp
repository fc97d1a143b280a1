// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, display set-up and shutdown: the load event, the display, the busy wait, the check
// for the exclusive display and the two ways the program ends.
#include <algorithm>
#include <chrono>
#include <iterator>
#include <cstdio>
#include <string>

#include "base/log.h"
#include "app/errors.h"
#include "app/program_tables.h"
#include "app/vorlanix.h"

namespace vorlanix {

Vorlanix::Vorlanix(platform::Platform& platform) : platform_(platform) { platform_.SetEventHandler(this); }

float Vorlanix::rnd() {
    // 24 random bits give every float in [0, 1) on a grid of 2^-24, never 1.
    return static_cast<float>(random_() >> 8) * (1.0f / 16777216.0f);
}

void Vorlanix::SetzeFestenStartwert(uint32_t seed) { festerStartwert_ = seed; }

std::string Vorlanix::RandomState() const { return random_.Text(); }

bool Vorlanix::SetRandomState(const std::string& state) { return random_.SetText(state); }

void Vorlanix::SpielAmStart() {
    highscoreGeladen_ = true;
    SurfBack = std::make_unique<platform::Surface>(640, 480);
    InitSurfaces();
    for (int i = 1; i <= 15; ++i)
        for (int j = 1; j <= 10; ++j)
            if (SoundGeladen[i][j] != False) LoadWave(i, j, SoundDatei[i]);
    Schleife();
    StartSchleife();
}

void Vorlanix::Form_Load() {
    ErsterStart = True;
    Modus = 1;
    if (festerStartwert_)
        Randomize(*festerStartwert_);
    else
        Randomize(static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    HighscoreLaden();

    std::copy(std::begin(kPosGross), std::end(kPosGross), PosGross);
    std::copy(std::begin(kPosKlein), std::end(kPosKlein), PosKlein);
    std::copy(std::begin(kPosZeichen), std::end(kPosZeichen), PosZeichen);
    std::copy(std::begin(kFeldX), std::end(kFeldX), FeldX);
    std::copy(std::begin(kFeldY), std::end(kFeldY), FeldY);
    std::copy(std::begin(kFeldBreite), std::end(kFeldBreite), FeldBreite);
    ErgebnisOffen = False;

    InitSound();
    Init();
    StartSchleife();
}

void Vorlanix::Init() {
    try {
        platform_.InitDisplay();
        SurfBack = std::make_unique<platform::Surface>(640, 480);
        DDBereit = True;
    } catch (const platform::DisplayError& e) {
        base::Log("the display cannot be set up: %s", e.what());
        const std::string text = e.exclusiveRefused
                                     ? "Das Programm kann nicht ausgeführt werden. Stellen sie sicher, dass sie die "
                                       "neuesten verfügbaren Treiber für ihre Grafikkarte installiert haben"
                                     : "Dieses Programm benötigt DirectX 7";
        // The game's own text first; the platform's reason follows as a second paragraph, so a
        // player on Linux learns what is actually missing.
        platform_.MessageBox("Vorlanix", text + "\n\n" + e.what());
        platform_.ShowCursor(true);
        throw ProgramExit{1};
    }
}

bool Vorlanix::ExModeActive() { return platform_.TestCooperativeLevel(); }

void Vorlanix::warte(int32_t z) {
    if (z <= 0) return;
    const uint32_t start = platform_.GetTickCount();
    do {
        platform_.DoEvents();
    } while (tickDiff(platform_.GetTickCount(), start) < z);
}

void Vorlanix::EndIt() {
    platform_.ShowCursor(true);
    throw ProgramExit{0};
}

void Vorlanix::EndeDesSpiels() {
    LadeBild(SurfStart, "ende.bmp", 0);
    Modus = 1;
    while (Modus == 1) {
        platform_.DoEvents();
        Zeichne_Ende();
    }
    EndIt();
}

void Vorlanix::Form_Activate() { platform_.ShowCursor(false); }

void Vorlanix::Form_GotFocus() {
    // Time without focus counts from the game's start only: a game started without focus begins
    // its pause at its own start tick, so the menu's time away never runs the clock backwards.
    const uint32_t gameStart = static_cast<uint32_t>(SpielStartTick);
    uint32_t pauseStart = static_cast<uint32_t>(PauseBeginn);
    if (tickDiff(gameStart, pauseStart) > 0) pauseStart = gameStart;
    SpielStartTick = static_cast<int32_t>(gameStart + (platform_.GetTickCount() - pauseStart));
}

void Vorlanix::Form_LostFocus() { PauseBeginn = static_cast<int32_t>(platform_.GetTickCount()); }

void Vorlanix::Form_KeyDown(int16_t keyCode) {
    switch (keyCode) {
        case 37: TasteLinks = True; break;
        case 38: TasteOben = True; break;
        case 39: TasteRechts = True; break;
        case 40: TasteUnten = True; break;
        case 80: Pause = static_cast<int16_t>(~Pause); break;
        default: break;
    }
}

void Vorlanix::Form_KeyUp(int16_t keyCode) {
    switch (keyCode) {
        case 38: TasteOben = False; break;
        case 40: TasteUnten = False; break;
        case 39: TasteRechts = False; break;
        case 37: TasteLinks = False; break;
        default: break;
    }
}

}  // namespace vorlanix
