// SPDX-License-Identifier: GPL-3.0-or-later
// What each settings key means, its default (a default Options), its comment and its reader.
#include "shell/setting_keys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "base/utf8_path.h"

namespace vorlanix {

bool ReadWholeNumber(std::string_view text, long long min, long long max, long long& out) {
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || v < min || v > max) return false;
    out = v;
    return true;
}

namespace {

// Words in the settings file are read without regard to case: Yes, NO and Smooth are meant too.
bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool ReadYesNo(std::string_view text, bool& out) {
    for (std::string_view word : {"yes", "true", "on", "1", "no", "false", "off", "0"}) {
        if (!SameWord(text, word)) continue;
        out = word == "yes" || word == "true" || word == "on" || word == "1";
        return true;
    }
    return false;
}

namespace {

std::string yesNo(bool v) { return v ? "yes" : "no"; }

template <int Options::*Field, long long Min, long long Max>
std::string setNumber(Options& o, std::string_view v) {
    long long n = 0;
    if (!ReadWholeNumber(v, Min, Max, n)) return "a number from " + std::to_string(Min) + " to " + std::to_string(Max);
    o.*Field = static_cast<int>(n);
    return {};
}

template <int Options::*Field>
std::string getNumber(const Options& o) {
    return std::to_string(o.*Field);
}

// The display's own ways of scaling the picture.
constexpr std::array<std::string_view, 3> kScalings = {"sharp", "integer", "smooth"};

const std::array<SettingKey, 10> kKeys = {{
    {"fullscreen",
     "yes: fullscreen, the picture scaled by the largest whole factor that fits; no: a window.\n"
     "F11 and Alt+Enter switch it in the game and write the choice back here.",
     [](const Options& o) { return yesNo(!o.window); },
     [](Options& o, std::string_view v) -> std::string {
         bool full = true;
         if (!ReadYesNo(v, full)) return "yes or no";
         o.window = !full;
         return {};
     }},
    {"scale", "The window's scale factor, 1 to 16.",
     // 0 in the options leaves the choice to the display, which takes 2.
     [](const Options& o) { return std::to_string(o.scale == 0 ? kDefaultWindowScale : o.scale); },
     setNumber<&Options::scale, 1, 16>},
    {"scaling",
     "How the picture fills the screen: sharp (the largest whole factor, then smoothly to fill),\n"
     "integer (whole factors only, letterboxed) or smooth.",
     [](const Options& o) { return o.scaling; },
     [](Options& o, std::string_view v) -> std::string {
         const auto known =
             std::find_if(kScalings.begin(), kScalings.end(), [v](std::string_view name) { return SameWord(v, name); });
         if (known == kScalings.end()) return "sharp, integer or smooth";
         o.scaling = *known;
         return {};
     }},
    {"renderer", "The SDL render driver by name (opengl, opengles2, software, ...); empty: SDL's choice.",
     [](const Options& o) { return o.renderer; },
     [](Options& o, std::string_view v) -> std::string {
         if (v.find_first_of(" \t") != std::string_view::npos) return "a driver name without blanks";
         o.renderer = v;
         return {};
     }},
    {"vsync", "yes: frames wait for the screen's refresh; no: they are shown at once.",
     [](const Options& o) { return yesNo(o.vsync); },
     [](Options& o, std::string_view v) -> std::string { return ReadYesNo(v, o.vsync) ? "" : "yes or no"; }},
    {"effects_volume",
     "Loudness of the sound effects, 0 to 100. The game's own switch in its settings page still\n"
     "turns them off; this only scales what it lets through.",
     getNumber<&Options::effectsVolume>, setNumber<&Options::effectsVolume, 0, 100>},
    {"music_volume", "Loudness of the music, 0 to 100 (the game's music switch still turns it off).",
     getNumber<&Options::musicVolume>, setNumber<&Options::musicVolume, 0, 100>},
    {"controller_dead_zone", "Percent of a game controller stick's travel that moves nothing, 0 to 90.",
     getNumber<&Options::controllerDeadZone>, setNumber<&Options::controllerDeadZone, 0, 90>},
    {"controller_speed", "Pointer speed of the stick at full tilt, in picture pixels per second, 50 to 5000.",
     getNumber<&Options::controllerSpeed>, setNumber<&Options::controllerSpeed, 50, 5000>},
    {"screenshot_dir", "Where F12 saves screenshots; empty: screenshots/ in the data directory.",
     [](const Options& o) { return base::Utf8FromPath(o.screenshotDir); },
     [](Options& o, std::string_view v) -> std::string {
         o.screenshotDir = base::PathFromUtf8(v);
         return {};
     }},
}};

}  // namespace

std::span<const SettingKey> SettingKeys() { return kKeys; }

const SettingKey* FindSettingKey(std::string_view name) {
    for (const SettingKey& k : kKeys)
        if (name == k.name) return &k;
    return nullptr;
}

}  // namespace vorlanix
