// SPDX-License-Identifier: GPL-3.0-or-later
// The four nebulae behind the starfield: soft gas clouds on black. Three of them are copied opaque, so
// every border pixel is black; the small drifting one is keyed. Where the gas thins out it stops at a
// visible brightness instead of fading into dark specks that would look dirty on the 16-bit display.
#include "space_art.h"

#include <algorithm>

namespace space {

namespace {

struct Blob {
    double x, y, rx, ry;  // in 0..1 of the picture
    double weight;
};

struct NebulaLook {
    const char* name;
    int width, height;
    uint64_t seed;
    std::vector<Blob> blobs;
    std::vector<Stop> palette;  // by a second noise field, so one cloud shows several hues
    Colour core;                // the densest parts glow towards this
    double stretch_y;           // > 1 draws the wisps out vertically
};

// Removes specks and islands smaller than `least` pixels, so the cut edge stays clean.
void drop_specks(Image& image, int least) {
    const int w = image.width(), h = image.height();
    std::vector<int> label(static_cast<size_t>(w) * h, -1);
    std::vector<int> stack, members;
    for (int start = 0; start < w * h; ++start) {
        if (label[start] >= 0 || !image.opaque(start % w, start / w)) continue;
        members.clear();
        stack.push_back(start);
        label[start] = start;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            members.push_back(at);
            const int x = at % w, y = at / w;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& p : next) {
                if (p[0] < 0 || p[1] < 0 || p[0] >= w || p[1] >= h) continue;
                const int k = p[1] * w + p[0];
                if (label[k] >= 0 || !image.opaque(p[0], p[1])) continue;
                label[k] = start;
                stack.push_back(k);
            }
        }
        if (static_cast<int>(members.size()) < least)
            for (int k : members) image.cover(k % w, k / w) = 0;
    }
}

void draw_nebula(const NebulaLook& look, const fs::path& dir) {
    const Noise n(look.seed), hue(look.seed + 1);
    art::Rng rng(look.seed + 2);
    Image image(look.width, look.height);
    const double scale = 1.0 / 90.0;  // noise features of roughly 90 pixels
    for (int y = 0; y < look.height; ++y)
        for (int x = 0; x < look.width; ++x) {
            const double u = (x + 0.5) / look.width, v = (y + 0.5) / look.height;
            const Vec3 p{x * scale, y * scale / look.stretch_y, 0.37};
            const Vec3 warp{n.fbm(p * 0.8 + Vec3{3, 1, 0}, 3), n.fbm(p * 0.8 + Vec3{8, 5, 0}, 3), 0};
            const Vec3 q = p + warp * 0.9;
            double envelope = 0;
            for (const Blob& b : look.blobs) {
                const double dx = (u - b.x) / b.rx, dy = (v - b.y) / b.ry;
                envelope += b.weight * std::exp(-(dx * dx + dy * dy) * 3.0);
            }
            // Nothing reaches the border (the opaque copies must not show a frame), and a round
            // vignette keeps the outline from following the picture's edges.
            const double ex = (u - 0.5) / 0.5, ey = (v - 0.5) / 0.5;
            envelope *= smoothstep(1.0, 0.7, ex * ex + ey * ey);
            // The noise, not the envelope, decides where the gas ends, so the outline is ragged and wispy.
            const double gas = std::max(0.0, 0.3 + 1.3 * n.fbm(q * 1.3, 5));
            const double filaments = n.ridged(q * 2.2 + Vec3{1, 1, 1}, 4);
            const double density = envelope * (gas + 0.35 * filaments * filaments);
            constexpr double kCut = 0.1;
            if (density < kCut) continue;
            const double t = clamp01((density - kCut) / 0.8);
            Colour c = ramp(look.palette, clamp01(0.5 + 0.9 * hue.fbm(q * 0.9 + Vec3{0, 0, 4}, 3)));
            c = c * (0.08 + 0.92 * std::pow(t, 1.25));
            c = blend(c, look.core, smoothstep(0.6, 1.0, t) * 0.55);
            image.set(x, y, c);
        }
    drop_specks(image, 30);

    // A few young stars shine inside the densest gas.
    for (int i = 0; i < 6; ++i) {
        const int x = rng.int_range(look.width / 5, look.width * 4 / 5);
        const int y = rng.int_range(look.height / 5, look.height * 4 / 5);
        if (!image.opaque(x, y)) continue;
        const Colour star = blend(look.core, rgb(255, 255, 255), 0.7);
        image.set(x, y, rgb(255, 255, 255));
        for (int k = 1; k <= 2; ++k) {
            const double fade = k == 1 ? 0.7 : 0.35;
            for (const auto& d : {std::pair{k, 0}, {-k, 0}, {0, k}, {0, -k}}) {
                const int sx = x + d.first, sy = y + d.second;
                if (sx < 0 || sy < 0 || sx >= look.width || sy >= look.height || !image.opaque(sx, sy)) continue;
                image.set(sx, sy, blend(image.colour(sx, sy), star, fade));
            }
        }
    }
    write_picture(image, dir, look.name, art::Key::Black);
}

}  // namespace

void draw_nebulae(const fs::path& dir) {
    // clang-format off
    const std::vector<NebulaLook> looks = {
        {"Nebel1.bmp", 375, 420, 15015,
         {{0.45, 0.42, 0.45, 0.38, 1.1}, {0.62, 0.62, 0.36, 0.32, 0.9}, {0.33, 0.7, 0.28, 0.24, 0.7}},
         {{0.0, rgb(110, 60, 230)}, {0.45, rgb(220, 70, 190)}, {0.75, rgb(255, 110, 150)}, {1.0, rgb(255, 150, 110)}},
         rgb(255, 220, 240), 1.0},
        {"Nebel2.bmp", 150, 250, 16016,
         {{0.5, 0.35, 0.42, 0.34, 1.0}, {0.45, 0.68, 0.4, 0.3, 0.9}},
         {{0.0, rgb(40, 200, 170)}, {0.5, rgb(70, 230, 120)}, {1.0, rgb(40, 160, 230)}},
         rgb(220, 255, 240), 1.6},
        {"Nebel3.bmp", 300, 330, 17017,
         {{0.5, 0.45, 0.44, 0.38, 1.1}, {0.33, 0.64, 0.28, 0.26, 0.75}, {0.67, 0.3, 0.26, 0.26, 0.7}},
         {{0.0, rgb(200, 40, 40)}, {0.4, rgb(240, 110, 40)}, {0.8, rgb(255, 190, 70)}, {1.0, rgb(255, 230, 120)}},
         rgb(255, 245, 210), 1.0},
        {"Nebel4.bmp", 300, 350, 18018,
         {{0.5, 0.5, 0.44, 0.4, 1.1}, {0.36, 0.33, 0.28, 0.26, 0.75}, {0.64, 0.68, 0.3, 0.26, 0.75}},
         {{0.0, rgb(50, 90, 240)}, {0.4, rgb(60, 180, 250)}, {0.75, rgb(140, 90, 240)}, {1.0, rgb(200, 120, 255)}},
         rgb(225, 240, 255), 1.2},
    };
    // clang-format on
    for (const NebulaLook& look : looks) draw_nebula(look, dir);
}

}  // namespace space
