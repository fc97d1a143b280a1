// SPDX-License-Identifier: GPL-3.0-or-later
// Reloading the pictures when one of them cannot be loaded: the loading stops there, and no
// picture of the load before it, the nebulae included, is left behind to be drawn.
#include <gtest/gtest.h>

#include "app/vorlanix.h"
#include "tests/support/plain_pictures.h"
#include "tests/support/temp_dir.h"

using vorlanix::True;

TEST(AssetReload, AFailedReloadReleasesTheOldNebulae) {
    TempDir art;
    plain_pictures::Write(art.path());
    platform::HeadlessPlatform headless;
    headless.SetAssetDirectory(art.path());
    vorlanix::Vorlanix game(headless);
    game.NebelAn = True;

    game.InitSurfaces();
    ASSERT_TRUE(game.SurfSchriftSatz && game.SurfNebel1 && game.SurfNebel4);

    // The menu panel comes late in the load order, after the cockpit and before the nebulae.
    std::filesystem::remove(art.path() / "menue.bmp");
    game.InitSurfaces();
    EXPECT_TRUE(game.SurfOben);
    EXPECT_FALSE(game.SurfMenue);
    EXPECT_FALSE(game.SurfSchriftSatz);
    EXPECT_FALSE(game.SurfNebel1);
    EXPECT_FALSE(game.SurfNebel2);
    EXPECT_FALSE(game.SurfNebel3);
    EXPECT_FALSE(game.SurfNebel4);
}
