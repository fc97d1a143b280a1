// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the generated wave files: the format the game's sound buffers ask for, lengths and
// levels that suit each sound, and loops (music, alarm) whose end runs on into their start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct ExpectedFile {
    const char* name;
    double min_seconds, max_seconds;
    bool loops;
};

// The slot table's file names, exactly as the game asks for them (case matters on Linux).
constexpr ExpectedFile kExpected[] = {
    {"daneben.wav", 0.1, 1.5, false}, {"back.wav", 30.0, 120.0, true},  {"bruzel.wav", 0.1, 1.5, false},
    {"Squash.wav", 0.1, 1.5, false},  {"motor.wav", 0.1, 1.5, false},   {"leer.wav", 0.1, 1.5, false},
    {"powerup.wav", 0.1, 1.5, false}, {"absaugen.wav", 0.1, 1.5, true}, {"Planet.wav", 0.1, 1.5, false},
    {"Mond.wav", 0.1, 1.5, false},    {"meteor.wav", 0.1, 1.5, false},  {"fenster.wav", 0.1, 1.5, false},
    {"squish.wav", 0.1, 1.5, false},
};
constexpr const char* kMusic = "back.wav";

struct WaveFile {
    uint16_t format = 0, channels = 0, block_align = 0, bits = 0;
    uint32_t rate = 0, byte_rate = 0;
    std::vector<int16_t> samples;  // interleaved, left first

    std::size_t frames() const { return channels ? samples.size() / channels : 0; }
    double seconds() const { return rate ? static_cast<double>(frames()) / rate : 0.0; }
    int sample(std::size_t frame, int channel) const { return samples[frame * channels + channel]; }
    int peak() const {
        int p = 0;
        for (int16_t s : samples) p = std::max(p, std::abs(static_cast<int>(s)));
        return p;
    }
};

uint32_t little_endian(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

// Walks the RIFF chunks as any wave loader would, skipping chunks it does not know.
testing::AssertionResult read_wave(const std::filesystem::path& path, WaveFile& wave) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return testing::AssertionFailure() << "cannot open " << path;
    const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto tag = [&](std::size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); };
    if (b.size() < 12 || tag(0) != "RIFF" || tag(8) != "WAVE") return testing::AssertionFailure() << "not RIFF/WAVE";
    if (little_endian(b, 4, 4) != b.size() - 8)
        return testing::AssertionFailure() << "RIFF size does not match the file";
    bool have_format = false, have_data = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id = tag(at);
        const std::size_t size = little_endian(b, at + 4, 4), body = at + 8;
        if (body + size > b.size()) return testing::AssertionFailure() << "chunk " << id << " runs past the end";
        if (id == "fmt " && size >= 16) {
            wave.format = static_cast<uint16_t>(little_endian(b, body, 2));
            wave.channels = static_cast<uint16_t>(little_endian(b, body + 2, 2));
            wave.rate = little_endian(b, body + 4, 4);
            wave.byte_rate = little_endian(b, body + 8, 4);
            wave.block_align = static_cast<uint16_t>(little_endian(b, body + 12, 2));
            wave.bits = static_cast<uint16_t>(little_endian(b, body + 14, 2));
            have_format = true;
        } else if (id == "data") {
            if (size % 4 != 0) return testing::AssertionFailure() << "data is not whole 16-bit stereo frames";
            for (std::size_t i = 0; i < size; i += 2)
                wave.samples.push_back(static_cast<int16_t>(little_endian(b, body + i, 2)));
            have_data = true;
        }
        at = body + size + size % 2;
    }
    if (!have_format || !have_data) return testing::AssertionFailure() << "missing fmt or data chunk";
    return testing::AssertionSuccess();
}

const WaveFile& load(const std::string& name) {
    static std::map<std::string, WaveFile> cache;
    auto found = cache.find(name);
    if (found == cache.end()) {
        WaveFile wave;
        EXPECT_TRUE(read_wave(std::filesystem::path(VORLANIX_SOUND_DIR) / name, wave)) << name;
        found = cache.emplace(name, std::move(wave)).first;
    }
    return found->second;
}

double dbfs(int peak) { return 20.0 * std::log10(peak / 32768.0); }

TEST(WaveFiles, DirectoryHoldsExactlyTheSlotFiles) {
    std::set<std::string> found, wanted;
    for (const auto& entry : std::filesystem::directory_iterator(VORLANIX_SOUND_DIR))
        if (entry.path().extension() == ".wav") found.insert(entry.path().filename().string());
    for (const ExpectedFile& e : kExpected) wanted.insert(e.name);
    EXPECT_EQ(found, wanted);
}

TEST(WaveFiles, EveryFileIsStereo16BitPcmAt22050Hz) {
    for (const ExpectedFile& e : kExpected) {
        SCOPED_TRACE(e.name);
        const WaveFile& w = load(e.name);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.channels, 2);
        EXPECT_EQ(w.rate, 22050u);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.block_align, 4);
        EXPECT_EQ(w.byte_rate, 88200u);
    }
}

TEST(WaveFiles, LengthsSuitEachSound) {
    for (const ExpectedFile& e : kExpected) {
        SCOPED_TRACE(e.name);
        const double seconds = load(e.name).seconds();
        EXPECT_GE(seconds, e.min_seconds);
        EXPECT_LE(seconds, e.max_seconds);
    }
}

// Nothing clips, nothing is near silence, and the music sits below every effect.
TEST(WaveFiles, LevelsLeaveTheMusicUnderTheEffects) {
    const int music_peak = load(kMusic).peak();
    for (const ExpectedFile& e : kExpected) {
        SCOPED_TRACE(e.name);
        const int peak = load(e.name).peak();
        EXPECT_LT(peak, 32767);
        EXPECT_GT(dbfs(peak), -12.0);
        if (std::string(e.name) != kMusic) {
            EXPECT_GT(peak, music_peak);
        }
    }
}

// A one-shot that starts or stops away from zero clicks on every play.
TEST(WaveFiles, OneShotsStartAndEndInSilence) {
    constexpr int kQuiet = 328;  // 1 % of full scale
    for (const ExpectedFile& e : kExpected) {
        if (e.loops) continue;
        SCOPED_TRACE(e.name);
        const WaveFile& w = load(e.name);
        ASSERT_GT(w.frames(), 0u);
        for (int c = 0; c < 2; ++c) {
            EXPECT_LE(std::abs(w.sample(0, c)), kQuiet);
            EXPECT_LE(std::abs(w.sample(w.frames() - 1, c)), kQuiet);
        }
    }
}

// Looping plays the last frame and then the first: that step must look like any other step
// of the sound, not like a jump.
TEST(WaveFiles, LoopsRunOnWithoutAClick) {
    for (const ExpectedFile& e : kExpected) {
        if (!e.loops) continue;
        SCOPED_TRACE(e.name);
        const WaveFile& w = load(e.name);
        ASSERT_GT(w.frames(), 1u);
        for (int c = 0; c < 2; ++c) {
            double sum = 0.0;
            for (std::size_t i = 1; i < w.frames(); ++i) {
                const double step = w.sample(i, c) - w.sample(i - 1, c);
                sum += step * step;
            }
            const double typical_step = std::sqrt(sum / static_cast<double>(w.frames() - 1));
            const int seam_step = std::abs(w.sample(0, c) - w.sample(w.frames() - 1, c));
            EXPECT_LE(seam_step, 1.5 * typical_step) << "channel " << c;
        }
    }
}

}  // namespace
