// SPDX-License-Identifier: GPL-3.0-or-later
// The thirteen sound slots on the headless backend: which copy a request takes, the ten-copy
// limit, the settings, the path of each slot's file and a missing file.
#include <gtest/gtest.h>

#include "app/errors.h"
#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/temp_dir.h"

using vorlanix::False;
using vorlanix::True;

namespace {

class SoundSlots : public ::testing::Test {
  protected:
    SoundSlots() : game(headless) {
        headless.SetDirectories("/nowhere", "/nowhere", VORLANIX_SOUND_DIR);
        game.SoundAn = True;
        game.MusikAn = True;
        game.InitSound();
    }
    // The copies played so far with the given operation, in order.
    std::vector<int> copies(int slot, const std::string& op) const {
        std::vector<int> out;
        for (const auto& e : headless.soundLog())
            if (e.slot == slot && e.op == op) out.push_back(e.copy);
        return out;
    }

    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;
};

}  // namespace

TEST_F(SoundSlots, TheSlotPathIsTheSoundDirectoryAndTheFileName) {
    EXPECT_EQ(game.SoundPfad, std::string(VORLANIX_SOUND_DIR) + "/");
    EXPECT_EQ(game.SoundDatei[1], std::string(VORLANIX_SOUND_DIR) + "/daneben.wav");
    EXPECT_EQ(game.SoundDatei[13], std::string(VORLANIX_SOUND_DIR) + "/squish.wav");
    EXPECT_EQ(game.SoundBereit, True);
}

TEST_F(SoundSlots, TenCopiesPlayAtOnceAndTheEleventhRequestIsDropped) {
    for (int i = 0; i < 11; ++i) game.SoundSpielen(3, 0);
    EXPECT_EQ(copies(3, "play"), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int j = 1; j <= 10; ++j) EXPECT_EQ(game.SoundGeladen[3][j], True);
}

TEST_F(SoundSlots, AnIdleFirstCopyIsReusedBeforeANewOneIsMade) {
    game.SoundSpielen(1, 0);                              // copy 1: a short shot
    for (int t = 0; t < 2000; ++t) headless.DoEvents();   // copy 1 has ended
    for (int i = 0; i < 3; ++i) game.SoundSpielen(1, 0);  // copies 1, 2, 3
    game.SoundPuffer[1][1]->Stop();
    game.SoundSpielen(1, 0);
    EXPECT_EQ(copies(1, "play"), (std::vector<int>{1, 1, 2, 3, 1}));
    EXPECT_EQ(game.SoundGeladen[1][4], False);
}

TEST_F(SoundSlots, ALoopingCopyCountsAsFreeAndIsTakenOver) {
    game.SoundSpielen(8, 0);
    game.SoundPuffer[8][1]->Play(true);  // the alarm loops on copy 1
    game.SoundSpielen(8, 0);
    EXPECT_EQ(copies(8, "play"), (std::vector<int>{1, 1}));
}

TEST_F(SoundSlots, TheSettingsGateEffectsAndMusicApart) {
    game.SoundAn = False;
    game.SoundSpielen(1, 0);
    game.MusikSpielen(2, 0);
    EXPECT_TRUE(copies(1, "play").empty());
    EXPECT_EQ(game.SoundGeladen[1][1], False);
    EXPECT_EQ(copies(2, "play"), std::vector<int>{1});

    game.SoundAn = True;
    game.MusikAn = False;
    game.SoundSpielen(1, 0);
    game.MusikSpielen(2, 0);
    EXPECT_EQ(copies(1, "play"), std::vector<int>{1});
    EXPECT_EQ(copies(2, "play"), std::vector<int>{1});

    game.SoundBereit = False;  // no audio device: nothing is touched
    game.SoundAn = True;
    game.SoundSpielen(4, 0);
    EXPECT_TRUE(copies(4, "play").empty());
}

TEST(SoundSlotsWithoutDevice, NoDeviceMeansSilence) {
    platform::HeadlessPlatform headless;
    headless.SetSoundDevice(false);
    vorlanix::Vorlanix game(headless);
    game.SoundAn = True;
    game.InitSound();
    EXPECT_EQ(game.SoundBereit, False);
    game.SoundSpielen(1, 0);
    EXPECT_TRUE(headless.soundLog().empty());
}

TEST(SoundSlotsWithoutFiles, AMissingFileEndsTheProgramWithTheMessage) {
    TempDir empty;
    platform::HeadlessPlatform headless;
    headless.SetDirectories("/nowhere", "/nowhere", empty.path());
    vorlanix::Vorlanix game(headless);
    game.SoundAn = True;
    game.InitSound();
    EXPECT_THROW(game.SoundSpielen(1, 0), vorlanix::ProgramExit);
    ASSERT_EQ(headless.messageBoxes().size(), 1u);
    EXPECT_EQ(headless.messageBoxes()[0], "unable to find " + (empty.path() / "daneben.wav").string());
}
