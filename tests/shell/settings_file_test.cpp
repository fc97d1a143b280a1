// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: a new one holds every key at its default, bad lines are named and skipped
// while the rest still counts, and storing a value edits only its own line.
#include <gtest/gtest.h>

#include <fstream>

#include "shell/setting_keys.h"
#include "shell/settings_file.h"
#include "tests/support/temp_dir.h"

using vorlanix::Options;
using vorlanix::SettingsFile;

namespace {

std::string readText(const std::filesystem::path& file) {
    const auto bytes = read_bytes(file);
    return {bytes.begin(), bytes.end()};
}

}  // namespace

TEST(SettingsFile, ANewFileHoldsEveryKeyAtItsDefaultAndReadsBackWithoutComplaint) {
    TempDir dir;
    const auto path = dir / "sub" / "vorlanix.conf";
    Options o;
    std::vector<std::string> warnings;
    SettingsFile::Open(path, o, warnings);
    EXPECT_TRUE(warnings.empty());
    const std::string text = readText(path);
    EXPECT_EQ(text, SettingsFile::DefaultText());
    for (const auto& key : vorlanix::SettingKeys())
        EXPECT_NE(text.find("\n" + std::string(key.name) + " = "), std::string::npos) << key.name;

    Options read;
    SettingsFile::Open(path, read, warnings);
    EXPECT_TRUE(warnings.empty());
    const Options defaults;
    for (const auto& key : vorlanix::SettingKeys()) EXPECT_EQ(key.get(read), key.get(defaults)) << key.name;
    EXPECT_EQ(names_in(path.parent_path()), std::vector<std::string>{"vorlanix.conf"});
}

TEST(SettingsFile, ABadLineIsNamedOnceAndTheRestStillCounts) {
    const std::string text =
        "# mine\n"
        "music_volume = 40\n"
        "scale = 99\n"          // out of range: the default
        "colour = green\n"      // unknown
        "just words\n"          // no "="
        "fullscreen = maybe\n"  // not yes/no
        "  effects_volume=7  \n"
        "scaling = smooth\r\n"  // written on Windows
        "vsync = off\n"
        "screenshot_dir = /tmp/bilder\n";
    Options o;
    o.scale = 5;
    std::vector<std::string> warnings;
    SettingsFile::Parse(text, "v.conf", o, warnings);
    ASSERT_EQ(warnings.size(), 4u);
    EXPECT_EQ(warnings[0].rfind("v.conf:3: scale wants a number from 1 to 16", 0), 0u) << warnings[0];
    EXPECT_EQ(warnings[1].rfind("v.conf:4: unknown key \"colour\"", 0), 0u) << warnings[1];
    EXPECT_EQ(warnings[2].rfind("v.conf:5: ", 0), 0u) << warnings[2];
    EXPECT_EQ(warnings[3].rfind("v.conf:6: fullscreen wants yes or no", 0), 0u) << warnings[3];
    EXPECT_EQ(o.scale, 2);
    EXPECT_FALSE(o.window);
    EXPECT_EQ(o.musicVolume, 40);
    EXPECT_EQ(o.effectsVolume, 7);
    EXPECT_EQ(o.scaling, "smooth");
    EXPECT_FALSE(o.vsync);
    EXPECT_EQ(o.screenshotDir, "/tmp/bilder");
}

TEST(SettingsFile, StoringAValueKeepsCommentsUnknownKeysAndLayout) {
    TempDir dir;
    const auto path = dir / "vorlanix.conf";
    const std::string mine =
        "# my own comment\n"
        "  fullscreen = yes   \n"
        "wishes = more stars\n"
        "\n"
        "fullscreen = yes\n"  // the last one counts, so it is the one that changes
        "# the end";
    std::ofstream(path) << mine;
    Options o;
    std::vector<std::string> warnings;
    SettingsFile file = SettingsFile::Open(path, o, warnings);
    std::string error;
    ASSERT_TRUE(file.Store("fullscreen", "no", error)) << error;
    ASSERT_TRUE(file.Store("music_volume", "30", error)) << error;
    EXPECT_EQ(readText(path),
              "# my own comment\n"
              "  fullscreen = yes   \n"
              "wishes = more stars\n"
              "\n"
              "fullscreen = no\n"
              "# the end\n"
              "music_volume = 30");
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"vorlanix.conf"});
    Options back;
    SettingsFile::Open(path, back, warnings);
    EXPECT_TRUE(back.window);
    EXPECT_EQ(back.musicVolume, 30);
}

TEST(SettingsFile, AnUnwritableFileLeavesTheDefaultsAndSaysSo) {
    TempDir dir;
    std::ofstream(dir / "blocker") << "a file where the directory should be";
    Options o;
    std::vector<std::string> warnings;
    SettingsFile file = SettingsFile::Open(dir / "blocker" / "vorlanix.conf", o, warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("cannot write the settings file"), std::string::npos) << warnings[0];
    std::string error;
    EXPECT_FALSE(file.Store("fullscreen", "no", error));
    EXPECT_FALSE(error.empty());
}

TEST(SettingsFile, WordsAreReadWithoutRegardToCase) {
    struct Case {
        const char* text;
        bool window, vsync;
        const char* scaling;
    };
    for (const Case& c : {Case{"fullscreen = Yes\nvsync = NO\nscaling = Smooth\n", false, false, "smooth"},
                          Case{"fullscreen = OFF\nvsync = True\nscaling = INTEGER\n", true, true, "integer"}}) {
        Options o;
        std::vector<std::string> warnings;
        SettingsFile::Parse(c.text, "v.conf", o, warnings);
        EXPECT_TRUE(warnings.empty()) << c.text << warnings.front();
        EXPECT_EQ(o.window, c.window) << c.text;
        EXPECT_EQ(o.vsync, c.vsync) << c.text;
        EXPECT_EQ(o.scaling, c.scaling) << c.text;
    }
}
