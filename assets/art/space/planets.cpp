// SPDX-License-Identifier: GPL-3.0-or-later
// The six planets: an ocean world (under the lens), a cratered rock, a banded gas giant, an ice world,
// a lava world and a violet jungle world. Shots test their pixels and craters are punched into them.
#include "space_art.h"

#include <algorithm>
#include <memory>

namespace space {

const int kPlanetSize[6] = {100, 200, 150, 160, 120, 180};

namespace {

// Turquoise seas with sandy islands and swirling clouds.
SphereLook ocean_world() {
    Noise n(1001);
    SphereLook look;
    look.surface = [n](Vec3 q) {
        const Vec3 warp{n.at(q * 2.5), n.at(q * 2.5 + Vec3{5, 1, 2}), n.at(q * 2.5 + Vec3{3, 7, 1})};
        const double h = n.fbm(q * 2.2 + warp * 0.35, 6);
        Surface s;
        const double coast = 0.06;
        if (h < coast) {
            s.albedo = ramp({{0.0, rgb(90, 215, 215)}, {0.05, rgb(40, 160, 205)}, {0.3, rgb(22, 78, 165)}}, coast - h);
            s.shine = 0.55;
        } else {
            const double t = h - coast;
            s.albedo = ramp({{0.0, rgb(238, 220, 150)},
                             {0.03, rgb(200, 205, 110)},
                             {0.06, rgb(95, 185, 80)},
                             {0.16, rgb(45, 125, 65)},
                             {0.26, rgb(150, 125, 90)}},
                            t);
            s.height = t * 0.35;
        }
        const double cloud = n.fbm(q * 3.2 + warp * 0.9 + Vec3{11, 3, 7}, 5);
        const double cover = smoothstep(0.1, 0.32, cloud) * 0.92;
        s.albedo = blend(s.albedo, rgb(248, 250, 255), cover);
        s.shine *= 1.0 - cover;
        s.height += cover * 0.02;
        return s;
    };
    look.axis = normalize({0.3, 1, 0.2});
    look.turn = 0.7;
    look.bump = 0.6;
    look.atmosphere = rgb(70, 150, 255) * 0.75;
    return look;
}

// Sandstone and grey-lilac rock covered with craters of every size.
SphereLook cratered_world() {
    Noise n(2002);
    auto craters = std::make_shared<CraterField>(2003, 110, 0.035, 0.265);
    SphereLook look;
    look.surface = [n, craters](Vec3 q) {
        const double m = n.fbm(q * 1.6, 4);
        Colour albedo = blend(rgb(226, 190, 140), rgb(150, 128, 162), smoothstep(-0.05, 0.22, m));
        albedo = albedo * (0.9 + 0.2 * n.fbm(q * 14, 3));
        double h = 0.012 * n.fbm(q * 9, 3);
        craters->apply(q, &h, &albedo);
        Surface s;
        s.albedo = albedo;
        s.height = h;
        return s;
    };
    look.axis = normalize({1, 0.4, 0});
    look.turn = 0.5;
    look.bump = 1.1;
    look.atmosphere = rgb(200, 170, 140) * 0.18;
    return look;
}

// Cream, orange and rust bands with a great storm.
SphereLook gas_giant() {
    Noise n(3003);
    SphereLook look;
    const Vec3 storm = normalize({0.38, 0.28, 0.88});
    look.surface = [n, storm](Vec3 q) {
        const double lat = q.y + 0.07 * n.fbm({q.x * 2.0, q.y * 9.0, q.z * 2.0}, 5);
        const double t = 0.5 + 0.5 * std::sin(lat * 10.0 + 0.8 * std::sin(lat * 23.0));
        Colour c = ramp({{0.0, rgb(165, 82, 52)},
                         {0.25, rgb(222, 128, 62)},
                         {0.5, rgb(232, 182, 118)},
                         {0.75, rgb(246, 226, 186)},
                         {1.0, rgb(252, 240, 214)}},
                        t);
        c = c * (0.93 + 0.14 * n.fbm({q.x * 3.0, q.y * 45.0, q.z * 3.0}, 3));
        // The storm: an oval turning on itself, with a pale collar.
        const Vec3 east = normalize(cross({0, 1, 0}, storm));
        const Vec3 north = cross(storm, east);
        const Vec3 d = q - storm;
        const double ex = dot(d, east) / 0.2, ey = dot(d, north) / 0.11;
        const double e = std::sqrt(ex * ex + ey * ey);
        if (e < 1.5 && dot(q, storm) > 0) {
            const double swirl = 0.5 + 0.5 * std::sin(std::atan2(ey, ex) * 2.0 + e * 9.0);
            const Colour eye = blend(rgb(200, 78, 48), rgb(232, 120, 80), swirl * 0.7);
            c = blend(c, rgb(250, 226, 196), smoothstep(1.45, 1.15, e) * 0.8);
            c = blend(c, eye, smoothstep(1.05, 0.85, e));
        }
        Surface s;
        s.albedo = c;
        return s;
    };
    look.axis = {0, 0, 1};
    look.turn = 0.28;
    look.bump = 0;
    look.atmosphere = rgb(255, 200, 140) * 0.35;
    return look;
}

// Bluish ice cut by deep cracks, with white polar caps.
SphereLook ice_world() {
    Noise n(4004);
    SphereLook look;
    look.surface = [n](Vec3 q) {
        const Vec3 warp{n.at(q * 2.0), n.at(q * 2.0 + Vec3{4, 2, 9}), n.at(q * 2.0 + Vec3{8, 5, 3})};
        Colour c = blend(rgb(232, 244, 255), rgb(162, 200, 236), smoothstep(-0.2, 0.3, n.fbm(q * 2.0, 4)));
        // Long thin cracks follow the zero lines of two warped noise fields.
        const double r1 = 1.0 - std::abs(n.at(q * 1.7 + warp * 0.25));
        const double r2 = 1.0 - std::abs(n.at(q * 3.6 + warp * 0.2 + Vec3{3, 3, 3}));
        const double crack = std::max(smoothstep(0.955, 0.99, r1), 0.8 * smoothstep(0.965, 0.992, r2));
        c = blend(c, rgb(58, 108, 190), crack * 0.9);
        c = blend(c, rgb(120, 180, 235), smoothstep(0.85, 0.95, r1) * 0.25);
        const double cap = smoothstep(0.62, 0.78, std::abs(q.y) + 0.08 * n.fbm(q * 4, 3));
        c = blend(c, rgb(250, 252, 255), cap);
        Surface s;
        s.albedo = c;
        s.height = -0.025 * crack * (1.0 - cap) + 0.01 * n.fbm(q * 7, 3);
        s.shine = 0.35;
        return s;
    };
    look.axis = normalize({0.2, 0.1, 1});
    look.turn = -0.35;
    look.bump = 0.8;
    look.atmosphere = rgb(150, 220, 255) * 0.5;
    return look;
}

// Dark basalt split by glowing lava, which still shines on the night side.
SphereLook lava_world() {
    Noise n(5005);
    SphereLook look;
    look.surface = [n](Vec3 q) {
        const Vec3 warp{n.at(q * 2.2), n.at(q * 2.2 + Vec3{6, 1, 4}), n.at(q * 2.2 + Vec3{2, 8, 5})};
        const Colour rock = blend(rgb(112, 82, 78), rgb(64, 48, 62), smoothstep(-0.2, 0.2, n.fbm(q * 3.0, 5)));
        // Fissures along the zero lines of warped noise; a few lava lakes.
        const double r1 = 1.0 - std::abs(n.at(q * 2.4 + warp * 0.7));
        const double r2 = 1.0 - std::abs(n.at(q * 5.0 + warp * 0.5 + Vec3{4, 4, 4}));
        const double lake = smoothstep(0.3, 0.36, n.fbm(q * 1.5 + Vec3{9, 9, 9}, 3));
        const double lava = std::max({smoothstep(0.94, 0.99, r1), 0.75 * smoothstep(0.95, 0.99, r2), lake});
        Surface s;
        s.albedo = blend(rock, rgb(120, 50, 30), lava);
        s.glow =
            ramp({{0.0, rgb(0, 0, 0)}, {0.3, rgb(190, 40, 14)}, {0.7, rgb(255, 138, 30)}, {1.0, rgb(255, 226, 120)}},
                 lava * (0.85 + 0.15 * n.at(q * 12)));
        s.height = 0.03 * n.fbm(q * 6, 4) - 0.02 * lava;
        return s;
    };
    look.axis = normalize({0.5, 1, 0});
    look.turn = 1.9;
    look.bump = 0.9;
    look.atmosphere = rgb(255, 90, 30) * 0.45;
    look.ambient = 0.16;
    return look;
}

// Purple and magenta lands, teal seas, lilac clouds.
SphereLook violet_world() {
    Noise n(6006);
    SphereLook look;
    look.surface = [n](Vec3 q) {
        const Vec3 warp{n.at(q * 1.8), n.at(q * 1.8 + Vec3{3, 3, 8}), n.at(q * 1.8 + Vec3{7, 2, 1})};
        const double h = n.fbm(q * 1.9 + warp * 0.4, 6);
        Surface s;
        if (h < 0.0) {
            s.albedo = ramp({{0.0, rgb(80, 210, 200)}, {0.06, rgb(40, 150, 175)}, {0.3, rgb(30, 80, 150)}}, -h);
            s.shine = 0.45;
        } else {
            s.albedo = ramp({{0.0, rgb(190, 150, 215)},
                             {0.03, rgb(150, 88, 190)},
                             {0.14, rgb(112, 58, 150)},
                             {0.24, rgb(205, 112, 182)},
                             {0.32, rgb(245, 185, 220)}},
                            h);
            s.height = h * 0.3;
        }
        const double cap = smoothstep(0.72, 0.84, std::abs(q.y) + 0.06 * n.fbm(q * 5, 3));
        s.albedo = blend(s.albedo, rgb(240, 236, 255), cap);
        const double cloud = n.fbm(q * 2.8 + warp * 1.1 + Vec3{2, 13, 5}, 5);
        const double cover = smoothstep(0.12, 0.34, cloud) * 0.85;
        s.albedo = blend(s.albedo, rgb(246, 236, 255), cover);
        s.shine *= 1.0 - cover;
        return s;
    };
    look.axis = normalize({0.1, 1, 0.3});
    look.turn = 2.6;
    look.bump = 0.5;
    look.atmosphere = rgb(200, 130, 255) * 0.6;
    return look;
}

}  // namespace

Sphere planet_sphere(int planet) {
    static const std::function<SphereLook()> looks[6] = {ocean_world, cratered_world, gas_giant,
                                                         ice_world,   lava_world,     violet_world};
    const double half = kPlanetSize[planet] / 2.0;
    return Sphere(looks[planet](), half, half, half - 0.25);
}

void draw_planets(const fs::path& dir) {
    for (int i = 0; i < 6; ++i) {
        Image image(kPlanetSize[i], kPlanetSize[i]);
        planet_sphere(i).paint(image);
        write_picture(image, dir, "Stern" + std::to_string(i) + ".bmp", art::Key::Black);
    }
}

}  // namespace space
