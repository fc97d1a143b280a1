// SPDX-License-Identifier: GPL-3.0-or-later
// Emscripten 3.1.6 ships a C++ library without std::bit_cast, though its compiler has the
// builtin that the standard one is made of. Included ahead of every source of the browser build.
#pragma once

#include <version>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
    static_assert(sizeof(To) == sizeof(From));
    return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
