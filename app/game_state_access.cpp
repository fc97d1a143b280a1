// SPDX-License-Identifier: GPL-3.0-or-later
// The field table behind the headless dump, set and expect: JSON out, text in, indices checked.
#include "app/game_state_access.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "base/cp1252.h"

namespace vorlanix {

namespace {

template <typename T>
nlohmann::json toJson(const T& v) {
    if constexpr (std::is_array_v<T>) {
        nlohmann::json a = nlohmann::json::array();
        for (const auto& e : v) a.push_back(toJson(e));
        return a;
    } else if constexpr (std::is_same_v<T, std::string>) {
        return cp1252::to_utf8(v);
    } else {
        return v;
    }
}

// Walks the indices down the array; calls `leaf` with the element (or sub-array) reached.
template <typename T, typename F>
bool visit(T& v, const std::vector<int>& idx, size_t at, F&& leaf) {
    if (at == idx.size()) return leaf(v);
    if constexpr (std::is_array_v<T>) {
        if (idx[at] < 0 || static_cast<size_t>(idx[at]) >= std::extent_v<T>) return false;
        return visit(v[idx[at]], idx, at + 1, leaf);
    } else {
        return false;
    }
}

template <typename T>
bool fromText(T& v, const std::string& text) {
    if constexpr (std::is_array_v<T>) {
        return false;
    } else if constexpr (std::is_same_v<T, std::string>) {
        v = cp1252::from_utf8(text, '\0');
        return true;
    } else {
        char* end = nullptr;
        const double d = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') return false;
        // A value the field cannot hold (nan, inf, beyond its range) is refused rather than
        // converted with undefined result; a fraction set into a whole-number field is cut off.
        constexpr double lowest = static_cast<double>(std::numeric_limits<T>::lowest());
        constexpr double highest = static_cast<double>(std::numeric_limits<T>::max());
        if (!std::isfinite(d) || d < lowest || d > highest) return false;
        v = static_cast<T>(d);
        return true;
    }
}

}  // namespace

template <typename T>
void GameStateAccess::add(const char* name, T& field) {
    fields_[name] = Field{[&field] { return toJson(field); },
                          [&field](const std::vector<int>& idx, nlohmann::json& out) {
                              return visit(field, idx, 0, [&out](auto& e) {
                                  out = toJson(e);
                                  return true;
                              });
                          },
                          [&field](const std::vector<int>& idx, const std::string& text) {
                              return visit(field, idx, 0, [&text](auto& e) { return fromText(e, text); });
                          }};
}

GameStateAccess::GameStateAccess(Vorlanix& g) {
#define FIELD(type, name, start) add(#name, g.name);
#define ARRAY(type, name, n) add(#name, g.name);
#define ARRAY2(type, name, n, m) add(#name, g.name);
#define ARRAY3(type, name, n, m, k) add(#name, g.name);
#include "app/game_fields.inc"
#undef FIELD
#undef ARRAY
#undef ARRAY2
#undef ARRAY3
}

nlohmann::json GameStateAccess::DumpState() {
    nlohmann::json state = nlohmann::json::object();
    for (auto& [name, field] : fields_) state[name] = field.dump();
    return state;
}

bool GameStateAccess::ReadField(const std::string& name, const std::vector<int>& indices, nlohmann::json& value,
                                std::string& error) {
    auto it = fields_.find(name);
    if (it == fields_.end()) {
        error = "no field " + name;
        return false;
    }
    if (!it->second.read(indices, value)) {
        error = "indices out of range for " + name;
        return false;
    }
    return true;
}

bool GameStateAccess::WriteField(const std::string& name, const std::vector<int>& indices, const std::string& value,
                                 std::string& error) {
    auto it = fields_.find(name);
    if (it == fields_.end()) {
        error = "no field " + name;
        return false;
    }
    if (!it->second.write(indices, value)) {
        error = "cannot set " + name + " to " + value;
        return false;
    }
    return true;
}

}  // namespace vorlanix
