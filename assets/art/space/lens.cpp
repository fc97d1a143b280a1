// SPDX-License-Identifier: GPL-3.0-or-later
// The magnifying glass lying on planet 0. Its glass shows the planet's own surface enlarged; the whole
// glass (radius 35 around picture point (79, 41)) is the spot that voids a game, the brass rim and the
// handle are what a shot can break in the final phase.
#include "space_art.h"

#include <algorithm>

namespace space {

namespace {

constexpr int kWidth = 119, kHeight = 100;
constexpr double kCentreX = 79.5, kCentreY = 41.5;  // middle of pixel (79, 41)
constexpr double kGlass = 35.0, kRimOuter = 39.4;
// The lens is drawn 74 pixels left of and 47 above planet 0's centre, whose picture is 100 square.
constexpr double kToPlanetX = 50.0 - 74.0, kToPlanetY = 50.0 - 47.0;
constexpr double kMagnify = 1.7;

const Vec3 kHandleDir = normalize({-1.25, 1.0, 0.0});
constexpr double kFerruleStart = 38.0, kFerruleEnd = 48.0, kGripEnd = 79.0;

// Shading of a round bar seen from the side: t runs across it from -1 to 1, `across` is its sideways direction.
double bar_light(double t, Vec3 across, double shininess, double* spec) {
    const Vec3 normal = normalize(across * t + Vec3{0, 0, std::sqrt(std::max(0.0, 1.0 - t * t))});
    const Vec3 light = light_direction();
    const Vec3 half = normalize(light + Vec3{0, 0, 1});
    *spec = std::pow(std::max(0.0, dot(normal, half)), shininess);
    return std::max(0.0, dot(normal, light));
}

Colour brass(double t, Vec3 across) {
    double spec = 0;
    const double diffuse = bar_light(t, across, 24.0, &spec);
    Colour c = ramp({{0.0, rgb(104, 64, 24)}, {0.5, rgb(196, 142, 52)}, {1.0, rgb(248, 208, 110)}}, diffuse);
    c = c + rgb(255, 244, 200) * (spec * 0.8);
    if (std::abs(t) > 0.82) c = c * 0.62;  // crisp dark edge
    return c;
}

Colour glass(const Sphere& planet, double x, double y) {
    const double dx = x - kCentreX, dy = y - kCentreY;
    const double r = std::sqrt(dx * dx + dy * dy);
    const double scale = (1.0 - 0.12 * (r / kGlass) * (r / kGlass)) / kMagnify;
    const double px = kCentreX + kToPlanetX + dx * scale, py = kCentreY + kToPlanetY + dy * scale;
    Colour c = planet.shade(px, py) * 1.06 + rgb(6, 14, 20);
    // The thick edge of the glass bends the light away: a bluish ring inside the rim.
    c = blend(c, rgb(40, 80, 130), smoothstep(29.0, 35.0, r) * 0.55);
    // Reflections of the light: a crescent at the upper left, a spark, a faint one at the lower right.
    const double angle = std::atan2(dy, dx);
    const double upper_left = std::cos(angle - (-2.35));
    const double crescent = smoothstep(0.55, 0.9, upper_left) * smoothstep(21.0, 24.0, r) * smoothstep(30.0, 27.5, r);
    c = blend(c, rgb(250, 252, 255), crescent * 0.75);
    const double sx = dx + 9.0, sy = dy + 13.0;
    c = blend(c, rgb(255, 255, 255), smoothstep(3.5, 1.5, std::sqrt(sx * sx + sy * sy)) * 0.9);
    const double lower_right = std::cos(angle - 0.75);
    c = blend(c, rgb(210, 235, 255),
              smoothstep(0.8, 0.97, lower_right) * smoothstep(25.0, 28.0, r) * smoothstep(32.0, 30.0, r) * 0.45);
    return c;
}

// Colour of the lens at a point, or false where the picture stays transparent.
bool lens_at(const Sphere& planet, double x, double y, Colour* out) {
    const double dx = x - kCentreX, dy = y - kCentreY;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r < kGlass) {
        *out = glass(planet, x, y);
        return true;
    }
    if (r < kRimOuter) {
        const double t = (r - (kGlass + kRimOuter) / 2) / ((kRimOuter - kGlass) / 2);
        *out = brass(t, Vec3{dx / r, dy / r, 0});
        return true;
    }
    // The handle: distance along it (s) and across it (w).
    const Vec3 d{dx, dy, 0};
    const Vec3 across{-kHandleDir.y, kHandleDir.x, 0};
    const double s = dot(d, kHandleDir), w = dot(d, across);
    if (s >= kFerruleStart && s < kFerruleEnd) {
        const double half = 5.0;
        if (std::abs(w) >= half) return false;
        Colour c = brass(w / half, across);
        if (std::fmod(s - kFerruleStart, 3.4) < 0.8) c = c * 0.72;  // rings of the collar
        *out = c;
        return true;
    }
    if (s >= kFerruleEnd) {
        const double half = 6.0 + 0.6 * std::sin((s - kFerruleEnd) / (kGripEnd - kFerruleEnd) * 3.14159);
        const double over = s - kGripEnd;  // the rounded end
        const double width = over > 0 ? std::sqrt(std::max(0.0, half * half - over * over)) : half;
        if (std::abs(w) >= width) return false;
        double spec = 0;
        const double diffuse = bar_light(w / half, across, 30.0, &spec);
        Colour c = ramp({{0.0, rgb(80, 16, 28)}, {0.5, rgb(168, 36, 50)}, {1.0, rgb(226, 84, 88)}}, diffuse);
        c = c + rgb(255, 225, 225) * (spec * 0.7);
        if (std::abs(w) > width - 1.0) c = c * 0.6;
        if (s > kFerruleEnd + 22.0 && s < kFerruleEnd + 24.0) c = brass(w / half, across);  // gold band
        *out = c;
        return true;
    }
    return false;
}

}  // namespace

void draw_lens(const fs::path& dir) {
    const Sphere planet = planet_sphere(0);
    Image image(kWidth, kHeight);
    supersample(image, 3, [&planet](double x, double y, Colour* c) { return lens_at(planet, x, y, c); });
    write_picture(image, dir, "lupe.bmp", art::Key::Black);
}

}  // namespace space
