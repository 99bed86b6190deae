#pragma once
// The libc++ of Debian 12's emscripten predates std::bit_cast; the compiler's
// builtin does the same. Included ahead of every source of the browser build.

#include <bit>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
    return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
