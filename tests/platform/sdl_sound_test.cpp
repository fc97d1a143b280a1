// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL backend's sound copies on SDL2_mixer: status while playing once and looping, one
// channel per copy, a missing file named in the error, no device, real sound in the mix, and
// each copy going on from where it stood after a stop.
#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sdl/sdl_platform.h"
#include "tests/support/wave_writer.h"
#include "tests/support/scoped_env.h"

namespace {

using testing_support::ScopedEnv;

namespace fs = std::filesystem;

// A stereo 16-bit wave with the same sample on both sides.
void writeWave(const fs::path& file, uint32_t rate, const std::vector<int16_t>& mono) {
    std::vector<int16_t> samples;
    for (int16_t v : mono) {
        samples.push_back(v);
        samples.push_back(v);
    }
    testing_support::WriteStereoWave(file, rate, samples);
}

// A 22050 Hz sine wave, the format of the game's sounds.
void writeWave(const fs::path& file, int milliseconds) {
    const uint32_t frames = 22050u * static_cast<uint32_t>(milliseconds) / 1000u;
    std::vector<int16_t> mono;
    for (uint32_t i = 0; i < frames; ++i)
        mono.push_back(static_cast<int16_t>(12000 * std::sin(2 * 3.14159265 * 440 * i / 22050.0)));
    writeWave(file, 22050, mono);
}

constexpr int kRampFrames = 22050;
constexpr int kFirst = 1000;
constexpr int kLast = kFirst + kRampFrames - 1;

// SDL's disk audio driver, which writes the mix to a file at the pace of a real device.
class DiskMix {
  public:
    explicit DiskMix(const fs::path& file)
        : file_(file), driver_("SDL_AUDIODRIVER", "disk"), output_("SDL_DISKAUDIOFILE", file.string()) {}

    // Waits until `ms` more milliseconds of mix (44.1 kHz, 16-bit stereo) are on disk.
    void Wait(int ms) const {
        const uintmax_t target = size() + 44100u * 4u * static_cast<unsigned>(ms) / 1000u;
        const Uint32 start = SDL_GetTicks();
        while (size() < target && SDL_GetTicks() - start < 5000) SDL_Delay(5);
    }

    // The stretches of the ramp in the mix, as (first value, last value): runs of frames that
    // follow each other, split where the mix falls silent or jumps.
    std::vector<std::pair<int, int>> Pieces() const {
        std::vector<std::pair<int, int>> pieces;
        std::ifstream f(file_, std::ios::binary);
        int16_t frame[2];
        bool open = false;
        while (f.read(reinterpret_cast<char*>(frame), sizeof frame)) {
            const int v = frame[0];
            if (v == 0) {
                open = false;
            } else if (open && v == pieces.back().second + 1) {
                pieces.back().second = v;
            } else {
                pieces.emplace_back(v, v);
                open = true;
            }
        }
        return pieces;
    }

  private:
    uintmax_t size() const {
        std::error_code ec;
        const uintmax_t n = fs::file_size(file_, ec);
        return ec ? 0 : n;
    }

    fs::path file_;
    ScopedEnv driver_, output_;
};

void waitUntilIdle(platform::SoundBuffer& copy) {
    const Uint32 start = SDL_GetTicks();
    while (copy.GetStatus() != 0 && SDL_GetTicks() - start < 5000) SDL_Delay(5);
}

// Every piece goes on from where the one before stopped, or from the start after the end.
void expectOneWalkThroughTheSound(const std::vector<std::pair<int, int>>& pieces) {
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces.front().first, kFirst);
    for (size_t i = 1; i < pieces.size(); ++i) {
        const int expected = pieces[i - 1].second == kLast ? kFirst : pieces[i - 1].second + 1;
        EXPECT_EQ(pieces[i].first, expected) << "piece " << i;
    }
}

class SdlSound : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vorlanix_sound_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        shortWave_ = dir_ / "kurz.wav";
        writeWave(shortWave_, 150);
        // Long enough that a status read right after Play cannot miss it on a busy machine.
        longWave_ = dir_ / "lang.wav";
        writeWave(longWave_, 1500);
        // Half a second at the mixer's own rate, so it is mixed unchanged, whose every frame
        // holds its own number plus kFirst: the mix tells which frame sounded when.
        rampWave_ = dir_ / "rampe.wav";
        std::vector<int16_t> ramp;
        for (int i = 0; i < kRampFrames; ++i) ramp.push_back(static_cast<int16_t>(kFirst + i));
        writeWave(rampWave_, 44100, ramp);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_, shortWave_, longWave_, rampWave_;
};

using Status = platform::SoundBuffer;

TEST_F(SdlSound, StatusTellsOnceFromLoopingFromIdle) {
    auto p = platform::CreateSdlPlatform({});
    ASSERT_TRUE(p->CreateSoundDevice());
    auto copy = p->CreateSoundBuffer(shortWave_, 1, 1);
    EXPECT_EQ(copy->GetStatus(), 0);
    copy->SetPan(0);
    copy->Play(true);
    EXPECT_EQ(copy->GetStatus(), Status::kPlayingLooping);
    SDL_Delay(400);
    EXPECT_EQ(copy->GetStatus(), Status::kPlayingLooping);
    copy->Stop();
    EXPECT_EQ(copy->GetStatus(), 0);

    auto longCopy = p->CreateSoundBuffer(longWave_, 2, 1);
    longCopy->Play(false);
    EXPECT_EQ(longCopy->GetStatus(), Status::kPlaying);
    // Played once, the sound ends by itself.
    copy->Play(false);
    const Uint32 start = SDL_GetTicks();
    while (copy->GetStatus() != 0 && SDL_GetTicks() - start < 3000) SDL_Delay(10);
    EXPECT_EQ(copy->GetStatus(), 0);
}

TEST_F(SdlSound, EveryCopyOfEverySlotPlaysOnItsOwn) {
    auto p = platform::CreateSdlPlatform({});
    ASSERT_TRUE(p->CreateSoundDevice());
    std::vector<std::unique_ptr<platform::SoundBuffer>> copies;
    for (int copy = 1; copy <= 10; ++copy) copies.push_back(p->CreateSoundBuffer(shortWave_, 1, copy));
    auto otherSlot = p->CreateSoundBuffer(longWave_, 13, 10);
    for (auto& c : copies) c->Play(true);
    otherSlot->Play(false);
    for (auto& c : copies) EXPECT_EQ(c->GetStatus(), Status::kPlayingLooping);
    EXPECT_EQ(otherSlot->GetStatus(), Status::kPlaying);
    copies[4]->Stop();
    EXPECT_EQ(copies[4]->GetStatus(), 0);
    EXPECT_EQ(copies[3]->GetStatus(), Status::kPlayingLooping);
    EXPECT_EQ(copies[5]->GetStatus(), Status::kPlayingLooping);
    EXPECT_EQ(otherSlot->GetStatus(), Status::kPlaying);
}

TEST_F(SdlSound, AFileThatCannotBeLoadedIsNamed) {
    auto p = platform::CreateSdlPlatform({});
    ASSERT_TRUE(p->CreateSoundDevice());
    const fs::path broken = dir_ / "kaputt.wav";
    std::ofstream(broken) << "RIFF but nothing more";
    for (const fs::path& file : {dir_ / "fehlt.wav", broken}) {
        try {
            p->CreateSoundBuffer(file, 2, 1);
            ADD_FAILURE() << file;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
        }
    }
}

TEST_F(SdlSound, NoAudioDeviceMeansNoSound) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no_such_driver");
    auto p = platform::CreateSdlPlatform({});
    EXPECT_FALSE(p->CreateSoundDevice());
}

TEST_F(SdlSound, MuteOpensNoDeviceAndTheVolumesScaleEffectsAndMusic) {
    platform::SdlOptions muted;
    muted.mute = true;
    EXPECT_FALSE(platform::CreateSdlPlatform(muted)->CreateSoundDevice());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);

    platform::SdlOptions quiet;
    quiet.effectsVolume = 50;
    quiet.musicVolume = 0;
    auto p = platform::CreateSdlPlatform(quiet);
    ASSERT_TRUE(p->CreateSoundDevice());
    auto effect = p->CreateSoundBuffer(shortWave_, 1, 3);
    auto music = p->CreateSoundBuffer(shortWave_, 2, 1);
    EXPECT_EQ(Mix_Volume(2, -1), MIX_MAX_VOLUME / 2);  // slot 1, copy 3
    EXPECT_EQ(Mix_Volume(10, -1), 0);                  // slot 2, copy 1: the music
}

TEST_F(SdlSound, PlayedSoundReachesTheMix) {
    const fs::path mixed = dir_ / "mix.raw";
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv output("SDL_DISKAUDIOFILE", mixed.string());
    {
        auto p = platform::CreateSdlPlatform({});
        ASSERT_TRUE(p->CreateSoundDevice());
        auto copy = p->CreateSoundBuffer(shortWave_, 1, 1);
        copy->Play(false);
        // Half a second of mix on disk holds the whole tone.
        const Uint32 start = SDL_GetTicks();
        std::error_code ec;
        while (fs::file_size(mixed, ec) < 44100 * 4 / 2 && SDL_GetTicks() - start < 5000) SDL_Delay(20);
    }
    std::ifstream f(mixed, std::ios::binary);
    std::vector<int16_t> samples;
    int16_t s;
    while (f.read(reinterpret_cast<char*>(&s), 2)) samples.push_back(s);
    ASSERT_FALSE(samples.empty());
    int loud = 0;
    for (int16_t v : samples) loud += std::abs(v) > 4000;
    // 150 ms of a loud tone in stereo at 44.1 kHz: thousands of loud samples.
    EXPECT_GT(loud, 2000) << samples.size() << " samples";
}

TEST_F(SdlSound, AStoppedCopyPlaysOnWhereItStoodAndAFinishedOneStartsOver) {
    DiskMix mix(dir_ / "mix.raw");
    {
        auto p = platform::CreateSdlPlatform({});
        ASSERT_TRUE(p->CreateSoundDevice());
        auto copy = p->CreateSoundBuffer(rampWave_, 8, 1);
        copy->Play(false);
        mix.Wait(150);
        copy->Stop();
        mix.Wait(100);
        copy->Play(false);
        waitUntilIdle(*copy);
        mix.Wait(50);
        copy->Play(false);
        waitUntilIdle(*copy);
        mix.Wait(50);
    }
    const auto pieces = mix.Pieces();
    ASSERT_EQ(pieces.size(), 3u);
    expectOneWalkThroughTheSound(pieces);
    EXPECT_LT(pieces[0].second, kLast);
    EXPECT_EQ(pieces[1].second, kLast);
    EXPECT_EQ(pieces[2], std::make_pair(kFirst, kLast));
}

TEST_F(SdlSound, LoopingGoesOnFromThePositionAndRoundFromTheStart) {
    DiskMix mix(dir_ / "mix.raw");
    {
        auto p = platform::CreateSdlPlatform({});
        ASSERT_TRUE(p->CreateSoundDevice());
        auto copy = p->CreateSoundBuffer(rampWave_, 2, 1);
        // As the music starts: played once, then switched to looping while it sounds.
        copy->Play(false);
        mix.Wait(150);
        copy->Play(true);
        mix.Wait(1000);
        copy->Stop();
        mix.Wait(100);
        copy->Play(false);
        waitUntilIdle(*copy);
        mix.Wait(50);
    }
    const auto pieces = mix.Pieces();
    expectOneWalkThroughTheSound(pieces);
    // Looping from 0.15 s for 1 s more, the half-second sound came round to its start twice; the
    // stop fell inside a round, from where the last play went on to the end.
    const auto rounds =
        std::count_if(pieces.begin() + 1, pieces.end(), [](auto piece) { return piece.first == kFirst; });
    EXPECT_GE(rounds, 2);
    ASSERT_GE(pieces.size(), 2u);
    EXPECT_EQ(pieces.back().second, kLast);
    EXPECT_NE(pieces.back().first, kFirst);
}

}  // namespace
