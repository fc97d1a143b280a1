// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel image, key-safe writing and gradient noise for the space pictures.
#include "space_art.h"

#include <algorithm>
#include <numeric>

namespace space {

Vec3 rotate(Vec3 v, Vec3 axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return v * c + cross(axis, v) * s + axis * (dot(axis, v) * (1.0 - c));
}

Colour rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double smoothstep(double edge0, double edge1, double v) {
    const double t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

Colour ramp(const std::vector<Stop>& stops, double t) {
    if (t <= stops.front().at) return stops.front().colour;
    for (size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].at)
            return blend(stops[i - 1].colour, stops[i].colour, (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    return stops.back().colour;
}

Image::Image(int width, int height)
    : width_(width), height_(height), colour_(static_cast<size_t>(width) * height), cover_(colour_.size(), 0.0) {}

void Image::set(int x, int y, Colour c, double cover) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    colour_[index(x, y)] = c;
    cover_[index(x, y)] = cover;
}

void Image::place(const Image& part, int x, int y) {
    for (int py = 0; py < part.height(); ++py)
        for (int px = 0; px < part.width(); ++px) set(x + px, y + py, part.colour(px, py), part.cover(px, py));
}

void supersample(Image& image, int samples, const PictureFn& at) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            Colour sum;
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    Colour c;
                    if (!at(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples, &c)) continue;
                    sum = sum + c;
                    ++hits;
                }
            if (hits > 0) image.set(x, y, sum * (1.0 / hits), static_cast<double>(hits) / (samples * samples));
        }
}

Image from_canvas(const art::Canvas& canvas) {
    Image image(canvas.width(), canvas.height());
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const art::Rgb p = canvas.pixel(x, y);
            image.set(x, y, rgb(p.r, p.g, p.b), canvas.alpha(x, y) / 255.0);
        }
    return image;
}

void write_picture(const Image& image, const fs::path& dir, const std::string& name, art::Key key) {
    art::Canvas canvas(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (!image.opaque(x, y)) continue;
            const Colour c = image.colour(x, y);
            auto channel = [](double v) { return static_cast<uint8_t>(std::lround(clamp01(v) * 255.0)); };
            art::Rgb p{channel(c.r), channel(c.g), channel(c.b)};
            const bool keeps_black = key == art::Key::White;  // black is a solid colour in white-keyed pictures
            if (!keeps_black && std::max({p.r, p.g, p.b}) < 8) p = {8, 8, 8};
            if (key == art::Key::White && std::min({p.r, p.g, p.b}) >= 248) p = {240, 240, 240};
            canvas.set_pixel(x, y, p, 255);
        }
    canvas.write_bmp(dir, name, key);
}

Noise::Noise(uint64_t seed) {
    art::Rng rng(seed);
    std::iota(perm_, perm_ + 256, 0);
    for (int i = 255; i > 0; --i) std::swap(perm_[i], perm_[rng.int_range(0, i)]);
    for (int i = 0; i < 256; ++i) perm_[256 + i] = perm_[i];
}

namespace {

double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

double gradient(int hash, double x, double y, double z) {
    const int h = hash & 15;
    const double u = h < 8 ? x : y;
    const double v = h < 4 ? y : (h == 12 || h == 14 ? x : z);
    return ((h & 1) ? -u : u) + ((h & 2) ? -v : v);
}

double lerp(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

double Noise::at(Vec3 p) const {
    const double fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const int X = static_cast<int>(fx) & 255, Y = static_cast<int>(fy) & 255, Z = static_cast<int>(fz) & 255;
    const double x = p.x - fx, y = p.y - fy, z = p.z - fz;
    const double u = fade(x), v = fade(y), w = fade(z);
    const int A = perm_[X] + Y, AA = perm_[A] + Z, AB = perm_[A + 1] + Z;
    const int B = perm_[X + 1] + Y, BA = perm_[B] + Z, BB = perm_[B + 1] + Z;
    return lerp(
        lerp(lerp(gradient(perm_[AA], x, y, z), gradient(perm_[BA], x - 1, y, z), u),
             lerp(gradient(perm_[AB], x, y - 1, z), gradient(perm_[BB], x - 1, y - 1, z), u), v),
        lerp(lerp(gradient(perm_[AA + 1], x, y, z - 1), gradient(perm_[BA + 1], x - 1, y, z - 1), u),
             lerp(gradient(perm_[AB + 1], x, y - 1, z - 1), gradient(perm_[BB + 1], x - 1, y - 1, z - 1), u), v),
        w);
}

double Noise::fbm(Vec3 p, int octaves) const {
    double sum = 0, weight = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += at(p) * weight;
        norm += weight;
        p = p * 2.03;
        weight *= 0.5;
    }
    return sum / norm;
}

double Noise::ridged(Vec3 p, int octaves) const {
    double sum = 0, weight = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        const double r = 1.0 - std::abs(at(p));
        sum += r * r * weight;
        norm += weight;
        p = p * 2.07;
        weight *= 0.5;
    }
    return sum / norm;
}

}  // namespace space
