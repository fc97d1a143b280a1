// SPDX-License-Identifier: GPL-3.0-or-later
// Typing on the result page (the player's name) and on the upload page (the eight fields):
// characters are only appended and removed at the end; Escape ends the program from anywhere.
#include "app/vorlanix.h"

namespace vorlanix {

namespace {

constexpr size_t kNameLength = 8;
constexpr size_t kFieldLength = 40;
constexpr int16_t kBackspace = 8, kTab = 9, kEscape = 27;

}  // namespace

int16_t Vorlanix::Erlaubt(int32_t Zahl) {
    // Exactly the characters the bitmap font can draw: not even ß or other accented letters.
    const bool allowed = Zahl == 32 || (Zahl >= 'A' && Zahl <= 'Z') || (Zahl >= 'a' && Zahl <= 'z') ||
                         (Zahl >= '0' && Zahl <= '9') || Zahl == 0xC4 || Zahl == 0xD6 || Zahl == 0xDC || Zahl == 0xE4 ||
                         Zahl == 0xF6 || Zahl == 0xFC || Zahl == '@' || Zahl == ',' || Zahl == '.' || Zahl == '-' ||
                         Zahl == ':' || Zahl == ';' || Zahl == '_' || Zahl == '/';
    return allowed ? True : False;
}

void Vorlanix::Form_KeyPress(int16_t character) {
    const int16_t c = character;
    if (c == kEscape) EndIt();
    if (AktMenue == 8) {
        if (c == kBackspace && !SpielerName.empty()) SpielerName.pop_back();
        if (Erlaubt(c) != False && SpielerName.size() < kNameLength) SpielerName += static_cast<char>(c);
    }
    if (AktMenue == 9) {
        if (c == kTab) AktFeld = AktFeld >= 8 ? 1 : AktFeld + 1;
        if (AktFeld < 1 || AktFeld > 8) return;
        std::string& text = FeldText[AktFeld];
        if (c == kBackspace && !text.empty()) text.pop_back();
        if (Erlaubt(c) != False && text.size() < kFieldLength) text += static_cast<char>(c);
    }
}

}  // namespace vorlanix
