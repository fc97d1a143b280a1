// SPDX-License-Identifier: GPL-3.0-or-later
// The sound generator the build runs as `sound_synth OUTPUT_DIR`: writes the game's thirteen
// wave files there and prints each one's length and levels.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "effects.h"
#include "mixer.h"
#include "music.h"
#include "wave_file.h"

namespace {

struct SoundFile {
    const char* name;
    synth::Stereo (*make)();
    double peak_dbfs;
};

// Effects peak just under full scale; the alarm, which sounds on and on, a little lower;
// the music well below, so that every effect stands out of it.
constexpr SoundFile kSoundFiles[] = {
    {"daneben.wav", synth::laser_shot, -1.0},   {"back.wav", synth::space_tune, -6.0},
    {"bruzel.wav", synth::sizzling_hit, -1.0},  {"Squash.wav", synth::heavy_wet_thud, -1.0},
    {"motor.wav", synth::engine_hum, -1.0},     {"leer.wav", synth::empty_gun_click, -1.0},
    {"powerup.wav", synth::power_up, -1.0},     {"absaugen.wav", synth::suction_alarm, -3.0},
    {"Planet.wav", synth::deep_impact, -1.0},   {"Mond.wav", synth::rocky_explosion, -1.0},
    {"meteor.wav", synth::crackle, -1.0},       {"fenster.wav", synth::glass_chime, -1.0},
    {"squish.wav", synth::death_squelch, -1.0},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound_synth OUTPUT_DIR\n");
        return 2;
    }
    try {
        const std::filesystem::path dir = argv[1];
        std::filesystem::create_directories(dir);
        for (const SoundFile& file : kSoundFiles) {
            synth::Stereo sound = file.make();
            synth::normalise_peak(sound, file.peak_dbfs);
            synth::write_wave_file(dir / file.name, sound);
            const synth::Levels levels = synth::measure(sound);
            std::printf("%-13s %6.2f s   peak %6.1f dBFS   RMS %6.1f dBFS\n", file.name,
                        static_cast<double>(sound.frames()) / synth::kSampleRate, levels.peak_dbfs, levels.rms_dbfs);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sound_synth: %s\n", e.what());
        return 1;
    }
    return 0;
}
