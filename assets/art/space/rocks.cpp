// SPDX-License-Identifier: GPL-3.0-or-later
// The moons (grey, sulphur and ice; the gas giant's moons use the ice one, the lava world's the sulphur
// one) and the tumbling rock that a shot moon breaks into.
#include "space_art.h"

#include <algorithm>
#include <memory>

namespace space {

namespace {

SphereLook grey_moon() {
    Noise n(11011);
    auto craters = std::make_shared<CraterField>(11012, 40, 0.08, 0.42);
    SphereLook look;
    look.surface = [n, craters](Vec3 q) {
        Colour albedo = blend(rgb(206, 204, 210), rgb(128, 126, 146), smoothstep(-0.05, 0.2, n.fbm(q * 1.8, 4)));
        double h = 0;
        craters->apply(q, &h, &albedo);
        return Surface{albedo, h, {}, 0};
    };
    look.turn = 0.3;
    look.bump = 0.9;
    return look;
}

SphereLook sulphur_moon() {
    Noise n(12012);
    auto craters = std::make_shared<CraterField>(12013, 14, 0.06, 0.2);
    SphereLook look;
    look.surface = [n, craters](Vec3 q) {
        Colour albedo =
            ramp({{-0.4, rgb(250, 236, 150)}, {0.0, rgb(238, 206, 84)}, {0.25, rgb(222, 140, 52)}}, n.fbm(q * 2.2, 4));
        const double vent = smoothstep(0.3, 0.42, n.fbm(q * 4.0 + Vec3{7, 1, 3}, 3));
        albedo = blend(albedo, rgb(120, 66, 40), vent);
        albedo = blend(albedo, rgb(250, 248, 232), smoothstep(0.28, 0.4, n.fbm(q * 3.0 + Vec3{2, 9, 4}, 3)) * 0.8);
        double h = 0;
        craters->apply(q, &h, &albedo);
        return Surface{albedo, h * 0.6, {}, 0};
    };
    look.turn = 1.1;
    look.bump = 0.7;
    look.atmosphere = rgb(255, 220, 120) * 0.15;
    return look;
}

SphereLook ice_moon() {
    Noise n(13013);
    SphereLook look;
    look.surface = [n](Vec3 q) {
        Colour albedo = blend(rgb(246, 238, 226), rgb(176, 202, 226), smoothstep(-0.15, 0.25, n.fbm(q * 2.0, 4)));
        const Vec3 warp{n.at(q * 2.0), n.at(q * 2.0 + Vec3{4, 4, 1}), 0};
        const double line1 = 1.0 - std::abs(n.at(q * 1.6 + warp * 0.2));
        const double line2 = 1.0 - std::abs(n.at(q * 2.6 + Vec3{5, 2, 2}));
        const double lines = std::max(smoothstep(0.94, 0.985, line1), 0.7 * smoothstep(0.96, 0.99, line2));
        albedo = blend(albedo, rgb(176, 100, 72), lines * 0.85);
        return Surface{albedo, -0.02 * lines, {}, 0.3};
    };
    look.turn = -0.6;
    look.bump = 0.6;
    look.atmosphere = rgb(170, 220, 255) * 0.25;
    return look;
}

}  // namespace

void draw_moons(const fs::path& dir) {
    // Three 50 x 50 cells one below the other; the moon's middle is the cell's middle and it is scaled
    // down to 40 pixels towards the cell's upper left corner, so it keeps a margin of black.
    const SphereLook looks[3] = {grey_moon(), sulphur_moon(), ice_moon()};
    Image image(50, 150);
    for (int cell = 0; cell < 3; ++cell) Sphere(looks[cell], 25.0, 25.0 + 50.0 * cell, 21.0).paint(image);
    write_picture(image, dir, "mond.bmp", art::Key::Black);
}

void draw_meteor(const fs::path& dir) {
    constexpr int kCell = 25, kFrames = 29;
    constexpr double kMid = 12.5, kScale = 8.0;  // pixels per unit of the rock's radius
    const Noise n(14014);
    const CraterField pits(14015, 9, 0.22, 0.45);
    const Vec3 axis = normalize({0.35, 1.0, 0.5});

    // The rock: a lumpy, elongated ball (radius by direction from its middle) with a few dents.
    auto radius = [&](Vec3 way) {
        double h = 0;
        Colour unused;
        pits.apply(way, &h, &unused);
        const double stretch = 1.0 / length({way.x / 1.3, way.y / 0.82, way.z / 0.9});
        return stretch * (1.0 + 0.2 * n.at(way * 1.3) + 0.06 * n.at(way * 3.1 + Vec3{4, 4, 4}) + 0.5 * h);
    };
    auto albedo = [&](Vec3 way) {
        double h = 0;
        Colour c = blend(rgb(176, 150, 120), rgb(118, 104, 100), smoothstep(-0.2, 0.25, n.fbm(way * 1.6, 3)));
        pits.apply(way, &h, &c);
        return c;
    };

    Image image(kCell, kCell * kFrames);
    const Vec3 light = light_direction();
    supersample(image, 2, [&](double x, double y, Colour* out) {
        const int f = static_cast<int>(y) / kCell;
        const double angle = 2.0 * 3.14159265358979 * f / kFrames;  // one whole turn, so the loop is seamless
        auto to_body = [&](Vec3 p) { return rotate(p, axis, -angle); };
        auto field = [&](Vec3 p) {
            const Vec3 b = to_body(p);
            const double len = length(b);
            return len < 1e-9 ? -1.0 : len - radius(b * (1.0 / len));
        };
        const double X = (x - kMid) / kScale, Y = (y - f * kCell - kMid) / kScale;
        if (X * X + Y * Y > 2.0) return false;
        // March from the viewer into the picture until we enter the rock, then refine.
        double z = 1.6;
        const double step = 0.03;
        while (z > -1.6 && field({X, Y, z}) > 0) z -= step;
        if (z <= -1.6) return false;
        double outside = z + step, inside = z;
        for (int i = 0; i < 8; ++i) {
            const double mid = (outside + inside) / 2;
            (field({X, Y, mid}) > 0 ? outside : inside) = mid;
        }
        const Vec3 p{X, Y, inside};
        const double e = 0.01;
        const Vec3 normal = normalize({field(p + Vec3{e, 0, 0}) - field(p - Vec3{e, 0, 0}),
                                       field(p + Vec3{0, e, 0}) - field(p - Vec3{0, e, 0}),
                                       field(p + Vec3{0, 0, e}) - field(p - Vec3{0, 0, e})});
        const Vec3 b = to_body(p);
        const Colour base = albedo(b * (1.0 / length(b)));
        const double diffuse = std::max(0.0, dot(normal, light));
        const Vec3 half = normalize(light + Vec3{0, 0, 1});
        const double spec = std::pow(std::max(0.0, dot(normal, half)), 20.0) * 0.25;
        Colour c = base * (0.2 + 0.95 * diffuse) + Colour{1, 0.95, 0.9} * spec;
        if (normal.z < 0.2) c = c * (0.6 + 2.0 * std::max(0.0, normal.z));  // outline
        *out = c;
        return true;
    });
    write_picture(image, dir, "meteor.bmp", art::Key::Black);
}

}  // namespace space
