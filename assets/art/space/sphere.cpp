// SPDX-License-Identifier: GPL-3.0-or-later
// Shading of planets and moons: a lit sphere with relief, shine, own glow and an atmosphere rim.
#include "space_art.h"

#include <algorithm>

namespace space {

Vec3 light_direction() { return normalize({-0.55, -0.62, 0.56}); }

CraterField::CraterField(uint64_t seed, int count, double min_radius, double max_radius) : rays_(seed + 1) {
    art::Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const Vec3 c = normalize({rng.range(-1, 1), rng.range(-1, 1), rng.range(-1, 1)});
        const double u = rng.uniform();
        const double r = min_radius + (max_radius - min_radius) * u * u * u;  // many small, few large
        craters_.push_back({c, r, r * rng.range(0.35, 0.55), i % 13 == 0});
    }
}

void CraterField::apply(Vec3 q, double* height, Colour* albedo) const {
    for (const Crater& c : craters_) {
        const double d = length(q - c.centre) / c.radius;
        if (d > 2.6) continue;
        if (d < 1.0) {
            *height += c.depth * (d * d - 1.0) * 0.8;
            *albedo = *albedo * (0.9 + 0.06 * d);
        }
        const double rim = std::exp(-((d - 1.0) / 0.2) * ((d - 1.0) / 0.2));
        *height += c.depth * 0.35 * rim;
        *albedo = *albedo * (1.0 + 0.12 * rim);
        if (c.young && d > 1.0) {
            // Noise on the direction away from the crater is constant along each ray.
            const double rays = smoothstep(0.05, 0.4, rays_.at(normalize(q - c.centre) * 5.0 + c.centre * 7.0));
            *albedo = *albedo * (1.0 + 0.3 * rays * smoothstep(2.6, 1.1, d));
        }
    }
}

Sphere::Sphere(SphereLook look, double cx, double cy, double radius)
    : look_(std::move(look)), cx_(cx), cy_(cy), radius_(radius) {}

bool Sphere::inside(double x, double y) const {
    const double nx = (x - cx_) / radius_, ny = (y - cy_) / radius_;
    return nx * nx + ny * ny < 1.0;
}

Colour Sphere::shade(double x, double y) const {
    const double nx = (x - cx_) / radius_, ny = (y - cy_) / radius_;
    const double d2 = nx * nx + ny * ny;
    const Vec3 n{nx, ny, std::sqrt(std::max(0.0, 1.0 - d2))};
    auto body = [&](Vec3 v) { return rotate(v, look_.axis, look_.turn); };
    const Surface s = look_.surface(body(n));

    // Relief: the slope of the height field tilts the normal.
    Vec3 normal = n;
    if (look_.bump > 0) {
        Vec3 t1 = std::abs(n.y) < 0.999 ? normalize(cross({0, 1, 0}, n)) : Vec3{1, 0, 0};
        Vec3 t2 = cross(n, t1);
        const double eps = 0.7 / radius_;
        const double h1 = look_.surface(body(normalize(n + t1 * eps))).height;
        const double h2 = look_.surface(body(normalize(n + t2 * eps))).height;
        const double g1 = (h1 - s.height) / eps, g2 = (h2 - s.height) / eps;
        normal = normalize(n - (t1 * g1 + t2 * g2) * look_.bump);
    }

    const Vec3 light = light_direction();
    const double day = smoothstep(-0.12, 0.22, dot(n, light));
    const double direct = std::max(0.0, dot(normal, light)) * day;
    const double a = look_.ambient;
    const Colour lit = Colour{a * 0.85, a * 0.9, a * 1.15} + Colour{1.0, 0.98, 0.94} * (direct * (1.0 - a) * 1.08);
    Colour c = s.albedo * lit;

    if (s.shine > 0) {
        const Vec3 half = normalize(light + Vec3{0, 0, 1});
        const double spec = std::pow(std::max(0.0, dot(normal, half)), 36.0) * s.shine * day;
        c = c + Colour{1.0, 1.0, 0.95} * spec;
    }
    c = c + s.glow;

    const double rim = std::pow(1.0 - n.z, 2.2);
    c = c + look_.atmosphere * (rim * (0.2 + 0.8 * clamp01(dot(n, light) + 0.35)));

    // A slightly darker last pixel gives the disc a clean outline against the nebulae.
    const double edge = radius_ * (1.0 - std::sqrt(d2));
    if (edge < 1.3) c = c * (0.6 + 0.4 * edge / 1.3);
    return c;
}

void Sphere::paint(Image& image, int samples) const {
    supersample(image, samples, [this](double x, double y, Colour* c) {
        if (!inside(x, y)) return false;
        *c = shade(x, y);
        return true;
    });
}

}  // namespace space
