// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, display set-up and shutdown: the load event, the display, the busy wait, the check
// for the exclusive display and the two ways the program ends.
#include <algorithm>
#include <chrono>
#include <iterator>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

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

// The generator's state as text, in one form on every build, so that a replay moves between them:
// the 624 words of the block and the position in it. GCC's library writes exactly that; LLVM's
// (the browser build) writes the 624 words before the next draw, which is the same as a block
// used up, position 624.
namespace {

std::vector<std::string> randomWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::string joined(const std::vector<std::string>& words, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i) text += ' ';
        text += words[i];
    }
    return text;
}

constexpr size_t kWords = std::mt19937::state_size;

// Whether this build's library writes the position after the words.
bool libraryWritesPosition() {
    static const bool writes = [] {
        std::ostringstream out;
        out << std::mt19937{};
        return randomWords(out.str()).size() == kWords + 1;
    }();
    return writes;
}

}  // namespace

std::string Vorlanix::RandomState() const {
    std::ostringstream out;
    out << random_;
    return libraryWritesPosition() ? out.str() : out.str() + " " + std::to_string(kWords);
}

bool Vorlanix::SetRandomState(const std::string& state) {
    std::vector<std::string> words = randomWords(state);
    // Written by LLVM's library before the position was added: a block used up.
    if (words.size() == kWords) words.push_back(std::to_string(kWords));
    if (words.size() != kWords + 1) return false;
    std::string text = joined(words, kWords + 1);
    if (!libraryWritesPosition()) {
        // LLVM's library takes the words before the next draw: a used-up block's words are those.
        if (words[kWords] != std::to_string(kWords)) return false;
        text = joined(words, kWords);
    }
    std::istringstream in(text);
    std::mt19937 restored;
    in >> restored;
    if (in.fail()) return false;
    random_ = restored;
    return true;
}

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
