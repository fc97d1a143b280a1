// SPDX-License-Identifier: GPL-3.0-or-later
// What a whole busy game frame costs: a real Zeichne on the headless backend with the embedded
// pictures, nebulae on, every figure on the screen, a third of them dissolving, and eight
// floating numbers. Compare with BM_OurBlitFamily, the plain list of copies such a frame makes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "app/vorlanix.h"
#include "platform/headless/headless_platform.h"

namespace {

using vorlanix::False;
using vorlanix::nearest;
using vorlanix::True;

// Spreads figure n of a group of `count` over the play window.
int SpreadX(int n, int count) { return 40 + (n * 523 / count) % 520; }
int SpreadY(int n, int count) { return 40 + (n * 331 / count + 37 * n) % 320; }

void SetUpBusyFrame(vorlanix::Vorlanix& g) {
    g.DDBereit = True;
    g.FarbeWeiss = 0xFFFF;
    g.NebelAn = True;
    g.SurfBack = std::make_unique<platform::Surface>(640, 480);
    g.InitSurfaces();
    g.InitPlanetSurfaces();
    for (int k = 0; k < 1024; ++k) {
        const double a = 2.0 * k * 3.1415 / 1024;
        g.CosTab1024[k] = nearest(std::cos(a) * 1024);
        g.SinTab1024[k] = nearest(std::sin(a) * 1024);
    }
    for (int k = 0; k < 2000; ++k) {
        g.SternX[k] = static_cast<uint8_t>(k * 37 % 61);
        g.SternY[k] = static_cast<uint8_t>(k * 53 % 61);
    }
    g.Spielzeit = 42000;
    g.SichtX = 90;  // the view where the nebulae cover most of it: one whole, one drifting
    g.SichtY = 1190;
    g.ScrollX1024 = 123456;
    g.ScrollY1024 = -65432;
    g.MausPos[0] = 300;
    g.MausPos[1] = 200;
    g.Munition = 7;
    g.SchussTimer = 9;
    g.Kombi = 1;

    for (int p = 0; p <= 5; ++p) {
        g.PlanetSchirmX[p] = 80 + 95 * p;
        g.PlanetSchirmY[p] = 120 + 50 * (p % 3);
    }
    g.BurgBlitz[3] = 5;
    for (int j = 1; j <= 3; ++j) {
        g.MondGroesse[j] = 40 + 5 * j;
        for (int i = 1; i <= 5; ++i) {
            g.MondArt[i][j] = i % 2 == 0 ? i / 2 + 1 : 0;  // stations around 1, 3, 5
            g.MondHinten[i][j] = j == 2 ? True : False;
            g.MondSchirmX[i][j] = g.PlanetSchirmX[i] + 60 * (j - 2);
            g.MondSchirmY[i][j] = g.PlanetSchirmY[i] + 20 * j;
            for (int k = 1; k <= 3; ++k) {
                g.SplitterSchirmX[i][j][k] = g.MondSchirmX[i][j] + 30 * (k - 2);
                g.SplitterSchirmY[i][j][k] = g.MondSchirmY[i][j] + 25 * (k - 2);
            }
        }
    }
    g.MondTot[2][1] = 20;  // two moons exploding, their fragments flying, one fragment dying
    g.MondTot[5][3] = 70;
    g.SplitterTot[5][3][2] = 12;
    g.MeteorBild = 7;

    g.SatelitX = 150;
    g.SatelitY = 60;
    g.SatelitIroneX[1] = 196;
    g.SatelitIroneY[1] = 50;
    g.SatelitIroneX[2] = 218;
    g.SatelitIroneY[2] = 118;
    g.SatelitIroneX[3] = 250;
    g.SatelitIroneY[3] = 145;
    g.SatelitIroneTot[2] = 60;
    g.Satelit2X = 420;
    g.Satelit2Y = 180;
    g.Satelit2IroneX[1] = 468;
    g.Satelit2IroneY[1] = 180;
    g.Schalter[1] = g.Schalter[3] = True;  // one switch off: the Irone ducks

    const struct { int first, last; } groups[] = {{1, 15}, {16, 27}, {31, 38}, {46, 54}};
    for (const auto& grp : groups)
        for (int n = grp.first; n <= grp.last; ++n) {
            const int count = grp.last - grp.first + 1, m = n - grp.first;
            g.ObjX[n] = SpreadX(m, count);
            g.ObjY[n] = SpreadY(m, count);
            g.ObjWeltX[n] = g.SichtX + 640 + nearest(g.ObjX[n] / 1.4);
            g.ObjWeltY[n] = g.SichtY + 480 + nearest(g.ObjY[n] / 1.4);
            g.ObjBild[n] = grp.last == 54 ? n % 3 : (n * 7) % 36;
            g.ObjZeit[n] = g.Spielzeit - 600;
            if (m % 3 == 1) g.ObjTot[n] = 40 + m;  // dissolving, with the dots on
        }
    g.AngriffUhr = 120;  // the big Irone waits and shakes the picture
    g.ObjX[0] = 320;
    g.ObjY[0] = 230;
    g.ExplosionZeit = 20;
    g.ExplosionSchirmX = 400;
    g.ExplosionSchirmY = 300;
    g.PunktzahlAnzeige = -1;
    g.RestSekundenAnzeige = 1000;
    g.AlterStufeAnzeige = 100;
}

// Eight floating numbers of every age, half of them dissolving; renewed every frame so that
// they never run out.
void KeepNumbersFloating(vorlanix::Vorlanix& g) {
    for (int k = 1; k <= 8; ++k) {
        g.PunktAktiv[k] = True;
        g.PunktZeit[k] = g.Spielzeit - 180 * k;
        g.PunktWert[k] = k % 3 == 0 ? -50 : 50 << k;
        g.PunktX[k] = g.SichtX + 60 * k;
        g.PunktY[k] = g.SichtY + 100 + 20 * k;
    }
}

void BM_ZeichneBusyFrame(benchmark::State& state) {
    platform::HeadlessPlatform headless;
    vorlanix::Vorlanix game(headless);
    SetUpBusyFrame(game);
    if (!game.SurfIrone0 || !game.SurfNebel4) {
        state.SkipWithError("the embedded pictures are missing");
        return;
    }
    int32_t points = 0;
    for (auto _ : state) {
        // The score and the clock move as in a game: the counters are repainted now and then.
        game.Punktzahl = (points += 50) * 3632;
        game.Spielzeit += 16;
        KeepNumbersFloating(game);
        game.Zeichne();
        benchmark::DoNotOptimize(game.SurfBack->data());
    }
    state.counters["frames"] = static_cast<double>(headless.frames());
}

}  // namespace

BENCHMARK(BM_ZeichneBusyFrame)->Unit(benchmark::kMicrosecond);
