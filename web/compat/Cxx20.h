#pragma once
// The libc++ of Debian 12's emscripten predates std::bit_cast and the
// ranges algorithms; what the shared code uses of them is given here, on the
// compiler's builtin and the classic algorithms. Included ahead of every
// source of the browser build; a newer emscripten has them itself.

#include <algorithm>
#include <bit>
#include <functional>
#include <iterator>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
    return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif

#if !defined(__cpp_lib_ranges)
namespace std::ranges {
template <class Range, class T, class Projection>
constexpr auto find(Range& range, const T& value, Projection projection) {
    return std::find_if(std::begin(range), std::end(range),
                        [&](const auto& item) { return std::invoke(projection, item) == value; });
}
}  // namespace std::ranges
#endif
