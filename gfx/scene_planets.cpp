// SPDX-License-Identifier: GPL-3.0-or-later
// The layers of the world's fixed stars: moons and Irone stations behind and in front of their
// planets, the planets with the lens, castles and flags, moon fragments and both satellites.
#include <cmath>
#include <cstdlib>

#include "app/vorlanix.h"
#include "gfx/frame_copies.h"

namespace vorlanix {

void Vorlanix::DrawMoons(int16_t behind) {
    for (int32_t j = 1; j <= 3; ++j)
        for (int32_t i = 1; i <= 5; ++i)
            if ((MondHinten[i][j] != False) == (behind != False)) DrawMoon(i, j);
}

void Vorlanix::DrawMoon(int32_t i, int32_t j) {
    const int32_t x = MondSchirmX[i][j], y = MondSchirmY[i][j], g = MondGroesse[j];
    if (MondTot[i][j] == 0) {
        // Scaling costs a copy through the scratch canvas, so only moons that show are scaled.
        if (!(x - 25 + g > 34 && x - 25 < 606 && y - 25 + g > 30 && y - 25 < 390)) return;
        if (MondArt[i][j] != 0) {
            CopyScaled(SurfTemp, platform::Rect{0, 0, g, g}, SurfMond,
                       platform::Rect{0, (MondArt[i][j] - 1) * 50, 50, MondArt[i][j] * 50});
        } else {
            // The stations turn on the platform clock, so they go on turning during a pause.
            const int32_t c = static_cast<int32_t>(platform_.GetTickCount() / 100 % 35);
            CopyScaled(SurfTemp, platform::Rect{0, 0, g, g}, SurfIroneStation,
                       platform::Rect{0, c * 50, 50, c * 50 + 50});
        }
        // A smaller moon shrinks towards its upper-left corner.
        ddBitBlt(x - 25, y - 25, g, g, SurfTemp, 0, 0);
        return;
    }
    MondSterben(nearest(MondTot[i][j]), x, y);
    // The fragments fly on after the moon's own explosion is over.
    if (MondTot[i][j] > 0) DrawFragments(i, j, MondArt[i][j] != 0 ? SurfMeteor : SurfIroneMeteor);
}

void Vorlanix::DrawFragments(int32_t i, int32_t j, const Surf& picture) {
    for (int32_t k = 1; k <= 3; ++k) {
        const int32_t p = SplitterSchirmX[i][j][k], q = SplitterSchirmY[i][j][k];
        if (SplitterTot[i][j][k] == 0)
            ddBitBlt(p - 12, q - 12, 25, 25, picture, 0, MeteorBild * 25);
        else
            MeteorSterben(nearest(SplitterTot[i][j][k]), p, q);
    }
}

void Vorlanix::DrawPlanets() {
    const int32_t* X = PlanetSchirmX;
    const int32_t* Y = PlanetSchirmY;
    ddBitBlt(X[0] - 50, Y[0] - 50, 100, 100, SurfStern0, 0, 0);
    if (LupeZerstoert == False) ddBitBlt(X[0] - 74, Y[0] - 47, 119, 100, SurfLupe, 0, 0);
    ddBitBlt(X[1] - 100, Y[1] - 100, 200, 200, SurfStern1, 0, 0);
    DrawCastleAndFlag(1, 140, 187);
    ddBitBlt(X[2] - 75, Y[2] - 75, 150, 150, SurfStern2, 0, 0);
    ddBitBlt(X[3] - 80, Y[3] - 80, 160, 160, SurfStern3, 0, 0);
    DrawCastleAndFlag(3, 120, 167);
    ddBitBlt(X[4] - 60, Y[4] - 60, 120, 120, SurfStern4, 0, 0);
    ddBitBlt(X[5] - 90, Y[5] - 90, 180, 180, SurfStern5, 0, 0);
    DrawCastleAndFlag(5, 130, 177);
}

void Vorlanix::DrawCastleAndFlag(int32_t p, int32_t castleHeight, int32_t flagHeight) {
    const int32_t X = PlanetSchirmX[p], Y = PlanetSchirmY[p];
    if (BurgTot[p] == 0) ddBitBlt(X - 27, Y - castleHeight, 55, 47, SurfBurg, BurgBlitz[p] > 0 ? 220 : 0, 0);
    // The flag waves while one of the planet's three stations still stands, castle or not.
    if (MondTot[p][1] == 0 || MondTot[p][2] == 0 || MondTot[p][3] == 0)
        ddBitBlt(X - 3, Y - flagHeight, 55, 47, SurfBurg, ((Spielzeit / 300) % 3 + 1) * 55, 0);
}

void Vorlanix::DrawFragmentsInFront() {
    // A first pass, always with the Irone fragment picture; the moons in front draw the same
    // fragments once more over it with their own picture.
    for (int32_t j = 1; j <= 3; ++j)
        for (int32_t i = 1; i <= 5; ++i)
            if (MondHinten[i][j] == False && MondTot[i][j] > 0) DrawFragments(i, j, SurfIroneMeteor);
}

void Vorlanix::DrawFirstSatellite() {
    if (SatelitWeg != False) return;
    ddBitBlt(nearest(SatelitX), nearest(SatelitY), 120, 100, SurfSatelit, 0, SatelitZerstoert != False ? 100 : 0);
    for (int32_t n = 1; n <= 3; ++n) {
        if (SatelitIroneTot[n] == 0)
            ddBitBlt(SatelitIroneX[n], SatelitIroneY[n], 31, 34, SurfSatelitIrone, (n - 1) * 31, 0);
        else
            Sterben_SatelitIrone(n);
    }
}

void Vorlanix::DrawSecondSatellite() {
    if (Satelit2Weg != False) return;
    // The Irone first, so that the satellite's body hides its lower part.
    if (Satelit2IroneTot[1] != 0) {
        Sterben_Satelit2Irone(1);
    } else {
        int32_t x = Satelit2IroneX[1], y = Satelit2IroneY[1];
        if (Schalter[1] == 0 || Schalter[2] == 0 || Schalter[3] == 0) {
            // With a switch off it ducks away from the cursor, down and to the left.
            const double dx = std::abs(x - MausPos[0] + 15), dy = std::abs(y - MausPos[1] + 20);
            const int32_t d = nearest(std::sqrt(dx * dx + dy * dy));
            if (d < 80) {
                const int32_t e = nearest(40 - d / 2.0);
                x -= e / 2;
                y += e;
            }
        }
        ddBitBlt(x, y, 30, 39, SurfSatelit2Irone, 0, 0);
    }
    ddBitBlt(nearest(Satelit2X), nearest(Satelit2Y), 100, 120, SurfSatelit2, 0, Satelit2Zerstoert != False ? 120 : 0);
    if (Schalter[1] != 0) ddBitBlt(nearest(Satelit2X + 27), nearest(Satelit2Y), 10, 10, SurfSatelit2Irone, 30, 0);
    if (Schalter[2] != 0)
        ddBitBlt(nearest(Satelit2X + 45), nearest(Satelit2Y + 110), 10, 10, SurfSatelit2Irone, 30, 10);
    if (Schalter[3] != 0) ddBitBlt(nearest(Satelit2X + 90), nearest(Satelit2Y + 63), 10, 10, SurfSatelit2Irone, 30, 20);
}

}  // namespace vorlanix
