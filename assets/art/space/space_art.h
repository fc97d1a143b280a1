// SPDX-License-Identifier: GPL-3.0-or-later
// Tools shared by the space pictures (planets, moons, rocks, nebulae, effects, pointer and radar):
// a floating-point image that is written with clean colour keys, smooth noise and sphere shading.
#pragma once

#include "canvas.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace space {

namespace fs = std::filesystem;

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalize(Vec3 a) { return a * (1.0 / length(a)); }

// Turns a vector about a unit axis (Rodrigues), used to tilt planets and tumble rocks.
Vec3 rotate(Vec3 v, Vec3 axis, double angle);

// Colours are 0..1 per channel while we compute; they are clamped when written.
struct Colour {
    double r = 0, g = 0, b = 0;
};
inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour operator*(Colour a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Colour operator*(Colour a, Colour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Colour blend(Colour a, Colour b, double t) { return a * (1.0 - t) + b * t; }
Colour rgb(int r, int g, int b);

double clamp01(double v);
double smoothstep(double edge0, double edge1, double v);

// A colour gradient: stops of (position, colour) in rising order, interpolated linearly.
struct Stop {
    double at;
    Colour colour;
};
Colour ramp(const std::vector<Stop>& stops, double t);

// A picture being computed pixel by pixel. Every pixel is either opaque or transparent when written:
// partial cover is decided at one half, so no pixel fades into the key colour.
class Image {
  public:
    Image(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    Colour& colour(int x, int y) { return colour_[index(x, y)]; }
    const Colour& colour(int x, int y) const { return colour_[index(x, y)]; }
    double& cover(int x, int y) { return cover_[index(x, y)]; }
    double cover(int x, int y) const { return cover_[index(x, y)]; }
    bool opaque(int x, int y) const { return cover_[index(x, y)] >= 0.5; }
    void set(int x, int y, Colour c, double cover = 1.0);

    // Copies another image into this one at (x, y), cover included.
    void place(const Image& part, int x, int y);

  private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
    int width_, height_;
    std::vector<Colour> colour_;
    std::vector<double> cover_;
};

// A picture as a function: the colour at a point of the picture, or false where it stays transparent.
using PictureFn = std::function<bool(double x, double y, Colour* colour)>;

// Averages the function over samples x samples points of every pixel; the share of points it covers
// becomes the pixel's cover. Pixels it does not touch at all keep what they had.
void supersample(Image& image, int samples, const PictureFn& at);

// Reads a cairo drawing back into an image (alpha becomes cover).
Image from_canvas(const art::Canvas& canvas);

// Writes the image as a 24-bit bitmap. The 16-bit display drops the low bits of every channel, so an
// opaque pixel darker than 8 in every channel would turn into the black key (a hole), and one of
// 248 and more in every channel into the white key: both are lifted or lowered out of the key's reach.
void write_picture(const Image& image, const fs::path& dir, const std::string& name, art::Key key);

// Smooth 3-D gradient noise in about -1..1, seeded, so every planet and cloud has its own pattern.
class Noise {
  public:
    explicit Noise(uint64_t seed);
    double at(Vec3 p) const;
    // Sum of octaves, each twice the frequency and half the weight of the one before.
    double fbm(Vec3 p, int octaves) const;
    // Sharp creases where the noise crosses zero, for cracks, ridges and filaments (0..1).
    double ridged(Vec3 p, int octaves) const;

  private:
    int perm_[512];
};

// What a sphere looks like at one point of its surface (given as a unit vector in the body's frame).
struct Surface {
    Colour albedo;
    double height = 0;  // relief, in units of the sphere radius; shaded by its slope
    Colour glow;        // light of its own (lava), seen on the night side too
    double shine = 0;   // specular strength (water, ice)
};

struct SphereLook {
    std::function<Surface(Vec3)> surface;
    Vec3 axis{0, 1, 0};     // the body is turned about this axis ...
    double turn = 0;        // ... by this angle, so that features are not symmetric to the picture
    double bump = 1.0;      // how strongly the relief is shaded
    Colour atmosphere;      // rim glow on the lit side
    double ambient = 0.14;  // light on the night side, so it never reaches black
};

// Shades a sphere of radius `radius` pixels centred at (cx, cy) at any point of the picture,
// so the same body can be drawn at its own size and seen enlarged through a lens.
class Sphere {
  public:
    Sphere(SphereLook look, double cx, double cy, double radius);
    bool inside(double x, double y) const;
    Colour shade(double x, double y) const;
    // The whole disc, supersampled; the rest of the image is left as it is.
    void paint(Image& image, int samples = 3) const;

  private:
    SphereLook look_;
    double cx_, cy_, radius_;
};

// Bowl-shaped craters with raised rims scattered over a sphere; young ones throw bright rays.
class CraterField {
  public:
    CraterField(uint64_t seed, int count, double min_radius, double max_radius);
    // Adds the craters' relief at the unit vector q to *height and shades *albedo.
    void apply(Vec3 q, double* height, Colour* albedo) const;

  private:
    struct Crater {
        Vec3 centre;
        double radius, depth;
        bool young;
    };
    std::vector<Crater> craters_;
    Noise rays_;
};

// The light of the whole world comes from the upper left, in front of the picture.
Vec3 light_direction();

// The six planets: picture i is planet i, 100/200/150/160/120/180 pixels square.
extern const int kPlanetSize[6];
Sphere planet_sphere(int planet);

void draw_planets(const fs::path& dir);
void draw_lens(const fs::path& dir);
void draw_moons(const fs::path& dir);
void draw_meteor(const fs::path& dir);
void draw_nebulae(const fs::path& dir);
void draw_explosion(const fs::path& dir);
void draw_crater(const fs::path& dir);
void draw_interference(const fs::path& dir);
void draw_pointer(const fs::path& dir);
void draw_radar(const fs::path& dir);

}  // namespace space
