// SPDX-License-Identifier: GPL-3.0-or-later
// The clipped blit family: eight members, one per target, window and keying the game needs.
// Every member clips against its fixed window and moves the source rectangle by what it cut off
// on the left and top, so a partly hidden sprite shows the right part of its frame.
#include "app/vorlanix.h"

namespace vorlanix {

namespace {
// Play window: the view into the world, framed by the cockpit.
constexpr int32_t kPlayL = 34, kPlayT = 30, kPlayR = 606, kPlayB = 390;
// Scratch canvases are 320 x 400, but only their upper 320 rows are ever written.
constexpr int32_t kTempR = 320, kTempB = 320;
}  // namespace

void Vorlanix::ddBitBltClipped(platform::Surface* target, int32_t L, int32_t T, int32_t R, int32_t B, int32_t sx,
                               int32_t sy, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy,
                               bool keyed) {
    if (!target || !Bild) return;
    int32_t w = DX, h = DY, u = qx, v = qy;
    if (sx > R || sy > B || sx + w < L || sy + h < T) return;
    if (sx < L) {
        u += L - sx;
        w = (sx + w) - L;
        sx = L;
    }
    if (sy < T) {
        v += T - sy;
        h = (sy + h) - T;
        sy = T;
    }
    if (sx + w > R) w = R - sx;
    if (sy + h > B) h = B - sy;
    if (w <= 0 || h <= 0) return;
    // A refused copy (source rectangle outside the picture) simply draws nothing.
    target->BltFast(sx, sy, *Bild, platform::Rect{u, v, u + w, v + h}, keyed);
}

void Vorlanix::ddBitBlt(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy) {
    ddBitBltClipped(SurfBack.get(), kPlayL, kPlayT, kPlayR, kPlayB, X + BildVersatzX, Y + BildVersatzY, DX, DY, Bild,
                    qx, qy, true);
}

void Vorlanix::ddBitBltOCK(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy) {
    ddBitBltClipped(SurfBack.get(), kPlayL, kPlayT, kPlayR, kPlayB, X + BildVersatzX, Y + BildVersatzY, DX, DY, Bild,
                    qx, qy, false);
}

void Vorlanix::ddBitBltAlles(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy) {
    ddBitBltClipped(SurfBack.get(), 0, 0, 640, 480, X + BildVersatzX, Y + BildVersatzY, DX, DY, Bild, qx, qy, true);
}

void Vorlanix::ddBitBltAllesOCK(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx,
                                int32_t qy) {
    ddBitBltClipped(SurfBack.get(), 0, 0, 640, 480, X + BildVersatzX, Y + BildVersatzY, DX, DY, Bild, qx, qy, false);
}

void Vorlanix::ddBitBltTemp(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy) {
    ddBitBltClipped(SurfTemp.get(), 0, 0, kTempR, kTempB, X, Y, DX, DY, Bild, qx, qy, true);
}

void Vorlanix::ddBitBltTempOCK(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy) {
    ddBitBltClipped(SurfTemp.get(), 0, 0, kTempR, kTempB, X, Y, DX, DY, Bild, qx, qy, false);
}

void Vorlanix::ddBitBltTemp2(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy) {
    ddBitBltClipped(SurfTemp2.get(), 0, 0, kTempR, kTempB, X, Y, DX, DY, Bild, qx, qy, true);
}

void Vorlanix::ddBitBltTempTxt(int32_t X, int32_t Y, int32_t DX, int32_t DY, const Surf& Bild, int32_t qx, int32_t qy) {
    ddBitBltClipped(SurfTempTxt.get(), 0, 0, 640, 20, X, Y, DX, DY, Bild, qx, qy, true);
}

}  // namespace vorlanix
