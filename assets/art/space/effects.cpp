// SPDX-License-Identifier: GPL-3.0-or-later
// The big explosion, the crater stamp punched into planets and the interference strip that dissolves
// dying figures and score numbers.
#include "space_art.h"

#include <algorithm>

namespace space {

void draw_explosion(const fs::path& dir) {
    constexpr int kCell = 50, kFrames = 16;
    constexpr double kMid = 25.0;  // the explosion is drawn 25 pixels up and left of its centre
    const Noise n(7007);
    Image image(kCell, kCell * kFrames);

    struct Spark {
        double angle, speed, size;
    };
    std::vector<Spark> sparks;
    art::Rng rng(7008);
    for (int i = 0; i < 18; ++i) sparks.push_back({rng.range(0, 6.2832), rng.range(1.3, 2.0), rng.range(0.7, 1.3)});

    const std::vector<Stop> fire = {{0.0, rgb(92, 40, 52)},   {0.2, rgb(150, 40, 32)},  {0.4, rgb(226, 80, 30)},
                                    {0.6, rgb(252, 150, 40)}, {0.8, rgb(255, 222, 90)}, {1.0, rgb(255, 252, 225)}};
    // The ball swells fast for six frames, then keeps spreading slowly while it cools and tears apart.
    auto radius = [](int f) { return f < 6 ? 6.0 + 16.0 * std::pow(f / 6.0, 0.7) : 22.0 + 0.25 * (f - 6); };
    auto heat = [](int f) { return f < 4 ? 1.0 : std::max(0.0, 1.0 - (f - 4) / 10.5); };
    auto tear = [](int f) { return f < 6 ? 0.0 : (f - 6) / 9.0; };
    supersample(image, 2, [&](double x, double y, Colour* out) {
        const int f = static_cast<int>(y) / kCell;
        const double px = x - kMid, py = y - f * kCell - kMid;
        const double r = std::sqrt(px * px + py * py) / radius(f);
        const Vec3 p{px * 0.16, py * 0.16, f * 0.3};
        const double turb = n.fbm(p, 4);
        const double density = 1.0 - r + 0.4 * turb;
        // As it tears apart, the body thins from inside out into smoke wisps.
        const double rip = tear(f);
        const double cut = 0.06 + 0.7 * rip * rip - 0.35 * rip * n.fbm(p * 1.7 + Vec3{5, 5, 5}, 3);
        if (density < cut) return false;
        double t = heat(f) * (0.45 + 0.75 * (density - cut) + 0.25 * turb);
        if (f < 3) t = std::max(t, 1.0 - r * 0.6);
        Colour c = ramp(fire, clamp01(t));
        const Colour smoke = blend(rgb(70, 54, 78), rgb(132, 118, 134), clamp01(turb * 1.6 + 0.5));
        *out = blend(c, smoke, smoothstep(0.3, 1.0, rip) * smoothstep(0.4, 0.0, t) * 0.8);
        return true;
    });
    // Sparks fly out from the fourth frame on and die out before the last.
    for (int f = 3; f <= 13; ++f)
        for (const Spark& s : sparks) {
            const double dist = 8.0 + s.speed * (f - 3) * 1.9;
            if (dist > 24.0) continue;
            const int sx = static_cast<int>(kMid + std::cos(s.angle) * dist);
            const int sy = static_cast<int>(kMid + std::sin(s.angle) * dist);
            const Colour c = ramp(fire, clamp01(1.05 - (f - 3) * 0.06));
            image.set(sx, f * kCell + sy, c);
            if (s.size > 1.0 && f < 10) image.set(sx + 1, f * kCell + sy, c * 0.85);
        }
    // A four-pointed flash in the first three frames.
    const int mid = static_cast<int>(kMid);
    for (int f = 0; f < 3; ++f) {
        const int len = 10 + 5 * f;
        for (int k = -len; k <= len; ++k) {
            const Colour c = ramp(fire, 0.6 + 0.4 * (1.0 - std::abs(k) / static_cast<double>(len + 1)));
            image.set(mid + k, f * kCell + mid, c);
            image.set(mid, f * kCell + mid + k, c);
        }
    }
    write_picture(image, dir, "explosion.bmp", art::Key::Black);
}

void draw_crater(const fs::path& dir) {
    // Pixel (10, 10) of the stamp lands on the hit point; the black hole must cover the middle 5 x 5 pixels,
    // so that a second shot into the crater passes through.
    constexpr int kSize = 20;
    constexpr double kMid = 10.5;
    const Noise n(8008);
    Image image(kSize, kSize);
    const Vec3 light = light_direction();
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double dx = x + 0.5 - kMid, dy = y + 0.5 - kMid;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double wobble = 0.7 * n.at({dx * 0.45, dy * 0.45, 0.5});
            const double hole = 4.6 + wobble, crest = 7.0 + wobble * 0.6, outer = 9.3 + wobble;
            if (r >= outer) continue;  // stays white: the planet is left as it was
            if (r < hole) {
                image.set(x, y, Colour{0, 0, 0});
                continue;
            }
            // Inner wall falls towards the hole, outer slope away from it; both lit from the upper left.
            const Vec3 out{dx / r, dy / r, 0};
            const double rise = r < crest ? 1.1 : -0.8;
            const Vec3 normal = normalize(out * (-rise) + Vec3{0, 0, 1});
            const double lit = clamp01(dot(normal, light));
            const double g = 52 + 125 * lit + 12 * n.at({dx * 1.3, dy * 1.3, 3.0});
            const double edge = r < crest ? smoothstep(hole, hole + 1.0, r) : 1.0;
            const double shade = g * (0.55 + 0.45 * edge);
            image.set(x, y, rgb(static_cast<int>(shade), static_cast<int>(shade), static_cast<int>(shade + 4)));
        }
    write_picture(image, dir, "krater.bmp", art::Key::White);
}

void draw_interference(const fs::path& dir) {
    // Pure black dots on the white key; the share of black rises evenly from one in six in the top row
    // to every pixel in the bottom row, so a window sliding down eats its figure away.
    constexpr int kWidth = 64, kHeight = 640;
    art::Rng rng(9009);
    Image image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        const double share = 1.0 / 6.0 + (5.0 / 6.0) * y / (kHeight - 1);
        for (int x = 0; x < kWidth; ++x)
            if (rng.uniform() < share) image.set(x, y, Colour{0, 0, 0});
    }
    write_picture(image, dir, "Stoerung.bmp", art::Key::White);
}

}  // namespace space
