// SPDX-License-Identifier: GPL-3.0-or-later
// The thirteen sound slots: ten copies each, created from the slot's wave file the first time a
// copy is needed; a request plays the first copy that is not playing once.
#include <cstdio>
#include <exception>

#include "base/log.h"
#include "app/errors.h"
#include "app/vorlanix.h"
#include "base/utf8_path.h"

namespace vorlanix {

namespace {
const char* const kSlotFiles[14] = {"",          "daneben.wav", "back.wav",    "bruzel.wav",   "Squash.wav",
                                    "motor.wav", "leer.wav",    "powerup.wav", "absaugen.wav", "Planet.wav",
                                    "Mond.wav",  "meteor.wav",  "fenster.wav", "squish.wav"};
}  // namespace

void Vorlanix::InitSound() {
    SoundBereit = True;
    // Fields hold text as UTF-8; the platform gets the path back whole on every system.
    SoundPfad = base::Utf8FromPath(platform_.SoundDirectory()) + "/";
    for (int i = 1; i <= 13; ++i) SoundDatei[i] = SoundPfad + kSlotFiles[i];
    for (int i = 1; i <= 15; ++i)
        for (int j = 1; j <= 10; ++j) SoundGeladen[i][j] = False;
    if (!platform_.CreateSoundDevice()) SoundBereit = False;
}

void Vorlanix::SpieleKopie(int32_t i, int32_t PosX, bool musik) {
    if (SoundBereit == False || (musik ? MusikAn : SoundAn) == False) return;
    int32_t k = 1;
    if (SoundGeladen[i][1] != False) {
        // A copy that loops reports another status than "playing once" and is taken over.
        while (SoundPuffer[i][k]->GetStatus() == platform::SoundBuffer::kPlaying) {
            if (++k > 10) return;  // all ten copies sound: the request is dropped
            if (SoundGeladen[i][k] == False) break;
        }
    }
    if (SoundGeladen[i][k] == False) {
        SoundGeladen[i][k] = True;
        LoadWave(i, k, SoundDatei[i]);
    }
    SoundPuffer[i][k]->SetPan(PosX);
    SoundPuffer[i][k]->Play(false);
}

void Vorlanix::SoundSpielen(int32_t i, int32_t PosX) { SpieleKopie(i, PosX, false); }

void Vorlanix::MusikSpielen(int32_t i, int32_t PosX) { SpieleKopie(i, PosX, true); }

void Vorlanix::LoadWave(int32_t i, int32_t j, const std::string& Datei) {
    try {
        SoundPuffer[i][j] = platform_.CreateSoundBuffer(base::PathFromUtf8(Datei), i, j);
    } catch (const std::exception& e) {
        base::Log("%s", e.what());
        platform_.MessageBox("Vorlanix", "unable to find " + Datei);
        platform_.ShowCursor(true);
        throw ProgramExit{1};
    }
}

}  // namespace vorlanix
