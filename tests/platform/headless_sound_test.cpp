// SPDX-License-Identifier: GPL-3.0-or-later
// The headless backend's sound copies keep their position in virtual time as a real one does:
// stopped, a copy plays on from where it stood; one that ran to its end starts over.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wave_writer.h"

namespace {

// A silent second of the game's sound format.
void writeOneSecondWave(const std::filesystem::path& file) {
    testing_support::WriteStereoWave(file, 22050, std::vector<int16_t>(22050 * 2, 0));
}

enum class Op { Play, Loop, Stop, Wait };
struct Step {
    Op op;
    int ms = 0;
};

}  // namespace

TEST(HeadlessSound, ACopyGoesOnFromWhereItStood) {
    TempDir dir;
    writeOneSecondWave(dir.path() / "eins.wav");
    const struct {
        const char* what;
        std::vector<Step> steps;
        int rest;  // how long a last play once then sounds
    } cases[] = {
        {"stopped part-way", {{Op::Play}, {Op::Wait, 300}, {Op::Stop}, {Op::Wait, 500}}, 700},
        {"stopped twice", {{Op::Play}, {Op::Wait, 300}, {Op::Stop}, {Op::Play}, {Op::Wait, 200}, {Op::Stop}}, 500},
        {"played to its end", {{Op::Play}, {Op::Wait, 300}, {Op::Stop}, {Op::Play}, {Op::Wait, 900}}, 1000},
        {"looped round twice", {{Op::Loop}, {Op::Wait, 2300}, {Op::Stop}}, 700},
        {"switched to looping while it played",
         {{Op::Play}, {Op::Wait, 400}, {Op::Loop}, {Op::Wait, 700}, {Op::Stop}},
         900},
        {"taken over while looping", {{Op::Loop}, {Op::Wait, 1600}}, 400},
    };
    for (const auto& c : cases) {
        platform::HeadlessPlatform headless;
        auto copy = headless.CreateSoundBuffer(dir.path() / "eins.wav", 8, 1);
        auto wait = [&](int ms) {
            for (int t = 0; t < ms; ++t) headless.DoEvents();  // 1 ms each
        };
        for (const Step& s : c.steps) {
            switch (s.op) {
                case Op::Play: copy->Play(false); break;
                case Op::Loop: copy->Play(true); break;
                case Op::Stop: copy->Stop(); break;
                case Op::Wait: wait(s.ms); break;
            }
        }
        copy->Play(false);
        int sounded = 0;
        while (copy->GetStatus() == platform::SoundBuffer::kPlaying && sounded < 5000) {
            wait(1);
            ++sounded;
        }
        EXPECT_EQ(sounded, c.rest) << c.what;
    }
}
