// SPDX-License-Identifier: GPL-3.0-or-later
// Fields in list order, numbers by their bytes, texts with their length, then the generator's state.
#include "replay/game_snapshot.h"

#include <bit>
#include <type_traits>

#include "replay/byte_stream.h"

namespace replay {

namespace {

template <typename T>
using Bits = std::conditional_t<
    sizeof(T) == 8, uint64_t,
    std::conditional_t<sizeof(T) == 4, uint32_t, std::conditional_t<sizeof(T) == 2, uint16_t, uint8_t>>>;

template <typename T>
void save(ByteWriter& out, const T& v) {
    if constexpr (std::is_array_v<T>) {
        for (const auto& e : v) save(out, e);
    } else if constexpr (std::is_same_v<T, std::string>) {
        out.text(v);
    } else {
        out.fixed(std::bit_cast<Bits<T>>(v), sizeof(T));
    }
}

template <typename T>
void load(ByteReader& in, T& v) {
    if constexpr (std::is_array_v<T>) {
        for (auto& e : v) load(in, e);
    } else if constexpr (std::is_same_v<T, std::string>) {
        v = in.text();
    } else {
        v = std::bit_cast<T>(static_cast<Bits<T>>(in.fixed(sizeof(T))));
    }
}

}  // namespace

int LoadedSoundCopies(const vorlanix::Vorlanix& game) {
    int n = 0;
    for (const auto& slot : game.SoundGeladen)
        for (int16_t loaded : slot) n += loaded != vorlanix::False;
    return n;
}

std::vector<uint8_t> SaveSnapshot(const vorlanix::Vorlanix& game) {
    ByteWriter out;
#define FIELD(type, name, start) save(out, game.name);
#define ARRAY(type, name, n) save(out, game.name);
#define ARRAY2(type, name, n, m) save(out, game.name);
#define ARRAY3(type, name, n, m, k) save(out, game.name);
#include "app/game_fields.inc"
#undef FIELD
#undef ARRAY
#undef ARRAY2
#undef ARRAY3
    out.text(game.RandomState());
    return std::move(out.data());
}

bool RestoreSnapshot(vorlanix::Vorlanix& game, std::span<const uint8_t> bytes, std::string& error) {
    ByteReader in(bytes);
    try {
#define FIELD(type, name, start) load(in, game.name);
#define ARRAY(type, name, n) load(in, game.name);
#define ARRAY2(type, name, n, m) load(in, game.name);
#define ARRAY3(type, name, n, m, k) load(in, game.name);
#include "app/game_fields.inc"
#undef FIELD
#undef ARRAY
#undef ARRAY2
#undef ARRAY3
        if (!game.SetRandomState(in.text())) {
            error = "the random generator's state is malformed";
            return false;
        }
    } catch (const ReplayStop& stop) {
        error = "the state at the START is cut short";
        return false;
    }
    if (!in.atEnd()) {
        error = "the state at the START is longer than this program's";
        return false;
    }
    return true;
}

}  // namespace replay
