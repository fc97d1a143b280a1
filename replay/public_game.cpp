// SPDX-License-Identifier: GPL-3.0-or-later
// Clearing the personal fields, and the key of a public game's inputs.
#include "replay/public_game.h"

#include <cstring>
#include <filesystem>
#include <type_traits>

#include "replay/format.h"
#include "replay/records.h"

namespace replay {

void ForgetPersonal(vorlanix::Vorlanix& game) {
    for (auto& line : game.MeldungZeile) line.clear();
    game.SpielerName.clear();
    for (auto& text : game.FeldText) text.clear();
    for (auto& name : game.HSName) name.clear();
    game.SoundPfad.clear();
    // A viewer still hears the sounds: the file's own name is kept, its directory is not.
    for (auto& file : game.SoundDatei) file = std::filesystem::path(file).filename().string();
}

bool IsTypedText(uint8_t eventKind, int64_t code) {
    const auto kind = static_cast<EventKind>(eventKind);
    if (kind == EventKind::KeyPress) return true;
    if (kind != EventKind::KeyDown && kind != EventKind::KeyUp) return false;
    return code != 27 && (code < 37 || code > 40);
}

namespace {

constexpr uint64_t kPrime = 0x100000001b3ULL;

template <typename T>
void fold(uint64_t& h, const T& v) {
    if constexpr (std::is_array_v<T>) {
        for (const auto& e : v) fold(h, e);
    } else {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &v, sizeof(T));
        for (unsigned char b : bytes) h = (h ^ b) * kPrime;
    }
}

}  // namespace

void PlayKey::Frame(const vorlanix::Vorlanix& g) {
    uint64_t h = 0xcbf29ce484222325ULL;
    fold(h, g.Spielzeit);
    fold(h, g.Zeitversatz);
    fold(h, g.MausPos);
    fold(h, g.ScrollX1024);
    fold(h, g.ScrollY1024);
    fold(h, g.TasteOben);
    fold(h, g.TasteUnten);
    fold(h, g.TasteRechts);
    fold(h, g.TasteLinks);
    fold(h, g.SchussTimer);
    fold(h, g.SchussX);
    fold(h, g.SchussY);
    fold(h, g.RechtsKlickX);
    fold(h, g.RechtsKlickY);
    fold(h, g.Munition);
    fold(h, g.Punktzahl);
    fold(h, g.Kombi);
    fold(h, g.RaumtanksUebrig);
    fold(h, g.ObjX);
    fold(h, g.ObjY);
    fold(h, g.ObjTot);
    if (h == last_) return;
    last_ = h;
    for (int k = 0; k < 8; ++k) key_ = (key_ ^ ((h >> (8 * k)) & 0xff)) * kPrime;
}

}  // namespace replay
