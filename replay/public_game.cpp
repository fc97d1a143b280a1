// SPDX-License-Identifier: GPL-3.0-or-later
// Clearing the personal fields, and the key of a public game's inputs.
#include "replay/public_game.h"

#include <filesystem>

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

uint64_t GameKey(std::span<const uint8_t> publicGame) {
    const ReplayFile file = DecodeReplay(publicGame);
    ByteReader in(file.stream);
    uint64_t key = 0xcbf29ce484222325ULL;
    while (!in.atEnd()) {
        const size_t start = in.position();
        const uint8_t tag = in.u8();
        SkipFields(in, tag);
        if (tag == static_cast<uint8_t>(Tag::Snapshot) || tag == static_cast<uint8_t>(Tag::Hash) ||
            tag == static_cast<uint8_t>(Tag::End))
            continue;
        for (size_t k = start; k < in.position(); ++k) {
            key ^= file.stream[k];
            key *= 0x100000001b3ULL;
        }
    }
    return key;
}

}  // namespace replay
