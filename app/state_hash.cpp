// SPDX-License-Identifier: GPL-3.0-or-later
// FNV-1a over every field of the game object in list order: numbers by their bytes in little-endian
// order, texts by their length and bytes, so the hash does not depend on the machine or on addresses.
#include "app/state_hash.h"

#include <bit>
#include <string>
#include <type_traits>

namespace vorlanix {

namespace {

class Fnv {
  public:
    void byte(uint8_t b) {
        h_ ^= b;
        h_ *= 0x100000001b3ULL;
    }
    template <typename T>
    void add(const T& v) {
        if constexpr (std::is_array_v<T>) {
            for (const auto& e : v) add(e);
        } else if constexpr (std::is_same_v<T, std::string>) {
            add(static_cast<uint32_t>(v.size()));
            for (char c : v) byte(static_cast<uint8_t>(c));
        } else {
            using U = std::conditional_t<
                sizeof(T) == 8, uint64_t,
                std::conditional_t<sizeof(T) == 4, uint32_t, std::conditional_t<sizeof(T) == 2, uint16_t, uint8_t>>>;
            static_assert(sizeof(U) == sizeof(T));
            const U bits = std::bit_cast<U>(v);
            for (size_t k = 0; k < sizeof(U); ++k) byte(static_cast<uint8_t>(bits >> (8 * k)));
        }
    }
    uint64_t value() const { return h_; }

  private:
    uint64_t h_ = 0xcbf29ce484222325ULL;
};

}  // namespace

uint64_t StateHash(const Vorlanix& game) {
    Fnv h;
#define FIELD(type, name, start) h.add(game.name);
#define ARRAY(type, name, n) h.add(game.name);
#define ARRAY2(type, name, n, m) h.add(game.name);
#define ARRAY3(type, name, n, m, k) h.add(game.name);
#include "app/game_fields.inc"
#undef FIELD
#undef ARRAY
#undef ARRAY2
#undef ARRAY3
    return h.value();
}

}  // namespace vorlanix
