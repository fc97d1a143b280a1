// SPDX-License-Identifier: GPL-3.0-or-later
// A game object on the headless platform for the shot tests: small synthetic pictures of the
// figures' real sizes (solid, black only where a test makes it so), every figure far off the
// screen until a test places it, and the wave files so the sounds of a hit can be watched.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"

namespace shot_tests {

using platform::Surface;
using vorlanix::False;
using vorlanix::Surf;
using vorlanix::True;

constexpr uint16_t kSolid = 0x39E7;      // any colour but black counts
constexpr uint16_t kCraterRim = 0x8410;  // the grey rim of the crater stamp
constexpr uint16_t kWhite = 0xFFFF;      // the crater stamp's colour key
constexpr int kFar = -5000;              // a screen position no shot reaches

inline Surf Solid(int w, int h) {
    auto s = std::make_unique<Surface>(w, h);
    s->BltColorFill(platform::Rect{0, 0, w, h}, kSolid);
    return s;
}

// A planet picture: a solid disc of radius r in a 2r square, black (space) around it.
inline Surf Disc(int r) {
    auto s = std::make_unique<Surface>(2 * r, 2 * r);
    for (int y = 0; y < 2 * r; ++y)
        for (int x = 0; x < 2 * r; ++x) s->row(y)[x] = (x - r) * (x - r) + (y - r) * (y - r) < r * r ? kSolid : 0;
    return s;
}

// The crater stamp: a black hole of radius 4 (its middle 5 x 5 pixels), a grey rim out to 8,
// white (unchanged planet) around; white-keyed.
inline Surf Crater() {
    auto s = std::make_unique<Surface>(20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const int d = (x - 10) * (x - 10) + (y - 10) * (y - 10);
            s->row(y)[x] = d < 16 ? 0 : d < 64 ? kCraterRim : kWhite;
        }
    s->SetColorKey(kWhite);
    return s;
}

inline uint16_t& PixelOf(Surf& s, int x, int y) { return s->row(y)[x]; }

// One world per test (tables build a fresh one per case).
class ShotWorld {
  public:
    ShotWorld() : game(headless) {
        headless.SetDirectories(".", ".", VORLANIX_SOUND_DIR);
        game.InitSound();
        game.SoundAn = True;
        game.DDBereit = True;
        game.Randomize(7);
        game.FarbeWeiss = kWhite;

        game.SurfBack = std::make_unique<Surface>(640, 480);
        game.SurfTemp = std::make_unique<Surface>(320, 400);
        game.SurfIrone0 = Solid(640, 640);
        game.SurfIrone1 = Solid(52, 1512);
        game.SurfBrett1 = Solid(150, 828);
        game.SurfIrone2 = Solid(37, 1080);
        game.SurfBrett2 = Solid(108, 612);
        game.SurfIrone3 = Solid(23, 648);
        game.SurfBrett3 = Solid(66, 360);
        game.SurfSatelit = Solid(120, 200);
        game.SurfSatelit2 = Solid(100, 240);
        game.SurfLupe = Solid(119, 100);
        game.SurfStern0 = Disc(50);
        game.SurfStern1 = Disc(100);
        game.SurfStern2 = Disc(75);
        game.SurfStern3 = Disc(80);
        game.SurfStern4 = Disc(60);
        game.SurfStern5 = Disc(90);
        game.SurfKrater = Crater();

        // Everything alive, everything far away; the big Irone waits off stage.
        for (int i = 0; i <= 60; ++i) {
            game.ObjX[i] = kFar;
            game.ObjY[i] = kFar;
        }
        game.AngriffUhr = -1000;
        game.SatelitX = game.SatelitY = game.Satelit2X = game.Satelit2Y = kFar;
        for (int k = 1; k <= 3; ++k) {
            game.SatelitIroneX[k] = game.SatelitIroneY[k] = kFar;
            game.Satelit2IroneX[k] = game.Satelit2IroneY[k] = kFar;
        }
        const int planetY[6] = {1200, 240, 960, 630, 1200, 720};
        const float burgTot[6] = {0, 0, 100, 0, 100, 0};
        const int mondArt[6] = {0, 0, 3, 0, 2, 0};
        for (int i = 0; i <= 5; ++i) {
            game.PlanetX[i] = 320 * i;
            game.PlanetY[i] = planetY[i];
            game.PlanetSchirmX[i] = game.PlanetSchirmY[i] = kFar;
            game.BurgTot[i] = burgTot[i];
            for (int j = 1; j <= 3; ++j) {
                game.MondArt[i][j] = mondArt[i];
                game.MondSchirmX[i][j] = game.MondSchirmY[i][j] = kFar;
                for (int k = 1; k <= 3; ++k) game.SplitterSchirmX[i][j][k] = game.SplitterSchirmY[i][j][k] = kFar;
            }
        }
        game.RaumtanksUebrig = 9;
        game.Munition = 16;
        game.Kombi = 1;
        game.Spielzeit = 50000;
        game.SichtX = 256;
        game.SichtY = 1216;
    }

    void Shoot(float x, float y) {
        game.SchussX = x;
        game.SchussY = y;
        game.SchussTimer = 16;
        game.SchussAuswerten();
    }

    int Points() const { return game.Punktzahl / 3632; }

    // The slots played since the last call, in order.
    std::vector<int> SoundsPlayed() {
        std::vector<int> slots;
        const auto& log = headless.soundLog();
        for (; soundMark < log.size(); ++soundMark)
            if (std::string(log[soundMark].op) == "play") slots.push_back(log[soundMark].slot);
        return slots;
    }

    bool AlarmStopped() const {
        for (const auto& e : headless.soundLog())
            if (e.slot == 8 && e.copy == 1 && std::string(e.op) == "stop") return true;
        return false;
    }

    // The alarm as the big Irone starts it: slot 8's first copy looping.
    void SoundAlarm() {
        game.SoundSpielen(8, 0);
        game.SoundPuffer[8][1]->Play(true);
        game.AlarmLaeuft = True;
        SoundsPlayed();
    }

    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;
    size_t soundMark = 0;
};

class ShotFixture : public ::testing::Test, public ShotWorld {};

}  // namespace shot_tests
