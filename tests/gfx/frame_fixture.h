// SPDX-License-Identifier: GPL-3.0-or-later
// A game object on the headless backend with a quiet world (every figure off the screen, no
// pictures loaded) and small synthetic pictures whose colours tell which cell was drawn, so the
// frame tests do not depend on the art.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"

namespace frame_test {

using platform::Surface;
using vorlanix::False;
using vorlanix::Surf;
using vorlanix::True;

// A picture of w x h cut into cells of cw x ch; cell (column c, row r) is filled with base + c + 16 r.
inline Surf Sheet(int w, int h, int cw, int ch, uint16_t base) {
    Surf s = std::make_unique<Surface>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s->row(y)[x] = static_cast<uint16_t>(base + x / cw + 16 * (y / ch));
    s->SetColorKey(0);
    return s;
}

inline Surf Solid(int w, int h, uint16_t colour) { return Sheet(w, h, w, h, colour); }

// Where a star with SternX = SternY = 0 lands when the view has not scrolled: every 60 pixels
// from (44, 44). Probes of the other tests keep away from these pixels.
constexpr int kStarGrid = 44;

class FrameTest : public ::testing::Test {
  protected:
    FrameTest() : game(headless) {
        game.DDBereit = True;
        game.SurfBack = std::make_unique<Surface>(640, 480);
        game.SurfTemp = std::make_unique<Surface>(320, 400);
        for (int k = 0; k < 1024; ++k) {
            const double a = 2.0 * k * 3.1415 / 1024;
            game.CosTab1024[k] = vorlanix::nearest(std::cos(a) * 1024);
            game.SinTab1024[k] = vorlanix::nearest(std::sin(a) * 1024);
        }
        game.Spielzeit = 12000;  // the doors are open
        game.Munition = 16;
        game.MausPos[0] = game.MausPos[1] = -1000;
        for (int n = 0; n <= 60; ++n) game.ObjX[n] = game.ObjY[n] = -1000;
        for (int p = 0; p <= 5; ++p) game.PlanetSchirmX[p] = game.PlanetSchirmY[p] = -1000;
        for (int j = 1; j <= 3; ++j) {
            game.MondGroesse[j] = 50;
            for (int i = 1; i <= 5; ++i) {
                game.MondSchirmX[i][j] = game.MondSchirmY[i][j] = -1000;
                for (int k = 1; k <= 3; ++k) game.SplitterSchirmX[i][j][k] = game.SplitterSchirmY[i][j][k] = -1000;
            }
        }
        game.SatelitX = game.SatelitY = game.Satelit2X = game.Satelit2Y = -1000;
        for (int n = 1; n <= 3; ++n) {
            game.SatelitIroneX[n] = game.SatelitIroneY[n] = -1000;
            game.Schalter[n] = True;
        }
        game.Satelit2IroneX[1] = game.Satelit2IroneY[1] = -1000;
    }

    uint16_t At(int x, int y) const { return game.SurfBack->row(y)[x]; }

    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game;
};

}  // namespace frame_test
