// SPDX-License-Identifier: GPL-3.0-or-later
// Every picture of the game as a plain 24-bit bitmap of its right size, each in a colour of its
// own, so a menu scenario runs without depending on the art and a test can tell from one pixel
// which picture is on the screen. The two scratch canvases are black; start.bmp is white, as the
// white key is read from it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/surface.h"
#include "tests/support/temp_dir.h"

namespace plain_pictures {

struct Picture {
    const char* name;
    int32_t width, height;
};

inline const std::vector<Picture>& All() {
    // clang-format off
    static const std::vector<Picture> pictures = {
        {"temp.bmp", 320, 400},          {"temptxt.bmp", 640, 20},          {"Burg.bmp", 275, 47},
        {"Irone0.bmp", 640, 640},        {"Irone1.bmp", 52, 1512},          {"irone1_salto.bmp", 108, 432},
        {"Brett1.bmp", 150, 828},        {"Irone2.bmp", 37, 1080},          {"irone2_salto.bmp", 78, 312},
        {"Brett2.bmp", 108, 612},        {"Irone3.bmp", 23, 648},           {"irone3_salto.bmp", 48, 192},
        {"Brett3.bmp", 66, 360},         {"raumtank.bmp", 84, 70},          {"Stoerung.bmp", 64, 640},
        {"oben.bmp", 640, 32},           {"oben_rot.bmp", 208, 64},         {"links.bmp", 98, 320},
        {"rechts.bmp", 98, 320},         {"unten.bmp", 640, 128},           {"altern.bmp", 103, 680},
        {"Score.bmp", 93, 550},          {"radar.bmp", 36, 6},              {"pointer.bmp", 246, 25},
        {"explosion.bmp", 50, 800},      {"krater.bmp", 20, 20},            {"lupe.bmp", 119, 100},
        {"satelit.bmp", 120, 200},       {"satelitirone.bmp", 93, 34},      {"satelit2.bmp", 100, 240},
        {"satelit2irone.bmp", 40, 39},   {"mond.bmp", 50, 150},             {"irone_station.bmp", 50, 1750},
        {"meteor.bmp", 25, 725},         {"irone_meteor.bmp", 25, 725},     {"zahlen.bmp", 220, 20},
        {"menue.bmp", 572, 360},         {"button.bmp", 40, 70},            {"menue_start.bmp", 320, 240},
        {"logo.bmp", 126, 57},           {"ergebniszahlen.bmp", 220, 300},  {"SchriftSatz.bmp", 323, 48},
        {"Stern0.bmp", 100, 100},        {"Stern1.bmp", 200, 200},          {"Stern2.bmp", 150, 150},
        {"Stern3.bmp", 160, 160},        {"Stern4.bmp", 120, 120},          {"Stern5.bmp", 180, 180},
        {"Nebel1.bmp", 375, 420},        {"Nebel2.bmp", 150, 250},          {"Nebel3.bmp", 300, 330},
        {"Nebel4.bmp", 300, 350},        {"start.bmp", 640, 480},           {"ende.bmp", 640, 480},
        {"menue_story.bmp", 320, 240},   {"menue_preferences.bmp", 320, 240}, {"menue_highscore.bmp", 320, 240},
        {"menue_impressum.bmp", 320, 240}, {"menue_hilfe1.bmp", 320, 240}, {"menue_hilfe2.bmp", 320, 240},
        {"menue_hilfe3.bmp", 320, 240},  {"menue_ergebnis.bmp", 320, 240},  {"menue_upload.bmp", 320, 240},
        {"menue_idiot.bmp", 320, 240},   {"menue_msg.bmp", 320, 240},
    };
    // clang-format on
    return pictures;
}

struct Rgb {
    uint8_t r, g, b;
};

// Black for the canvases, white for start.bmp, else a colour that no other picture has.
inline Rgb ColourOf(const std::string& name) {
    if (name == "temp.bmp" || name == "temptxt.bmp") return {0, 0, 0};
    if (name == "start.bmp") return {255, 255, 255};
    const auto& all = All();
    for (size_t i = 0; i < all.size(); ++i)
        if (name == all[i].name)
            return {static_cast<uint8_t>(40 + 8 * (i % 16)), static_cast<uint8_t>(40 + 32 * (i / 16)),
                    static_cast<uint8_t>(200 - 8 * (i % 16))};
    return {128, 128, 128};
}

// The display value a picture's pixels have once loaded.
inline uint16_t DisplayValueOf(const std::string& name) {
    const Rgb c = ColourOf(name);
    return platform::ToRgb565(c.r, c.g, c.b);
}

inline void Write(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    for (const Picture& p : All()) {
        const Rgb c = ColourOf(p.name);
        const uint32_t rowBytes = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
        const uint32_t size = 54 + rowBytes * static_cast<uint32_t>(p.height);
        std::vector<uint8_t> bytes(size, 0);
        auto put32 = [&](size_t at, uint32_t v) {
            for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<uint8_t>(v >> (8 * k));
        };
        bytes[0] = 'B';
        bytes[1] = 'M';
        put32(2, size);
        put32(10, 54);
        put32(14, 40);
        put32(18, static_cast<uint32_t>(p.width));
        put32(22, static_cast<uint32_t>(p.height));
        bytes[26] = 1;
        bytes[28] = 24;
        for (int32_t y = 0; y < p.height; ++y)
            for (int32_t x = 0; x < p.width; ++x) {
                uint8_t* px = bytes.data() + 54 + rowBytes * y + 3 * x;
                px[0] = c.b;
                px[1] = c.g;
                px[2] = c.r;
            }
        std::ofstream(dir / p.name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
}

// A suite whose scenarios all load the plain pictures, written once for the whole suite.
class Suite : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        directory_ = new TempDir;
        Write(directory_->path());
    }
    static void TearDownTestSuite() {
        delete directory_;
        directory_ = nullptr;
    }
    // The setup hook of a headless run that loads them.
    static void UsePictures(platform::HeadlessPlatform& p) { p.SetAssetDirectory(directory_->path()); }

  private:
    static inline TempDir* directory_ = nullptr;
};

}  // namespace plain_pictures
