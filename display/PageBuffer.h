#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace lcd {

inline constexpr int DisplayColumns = 128;
inline constexpr int DisplayPages = 8;
inline constexpr int DisplayRows = DisplayPages * 8;
inline constexpr int ControllerColumns = 64;

// A whole screen, page-major: index = page * 128 + column. Bit k of a byte is pixel row 8 * page + k of
// that column (bit 0 the top row of the page); a set bit lights the pixel.
using PageBuffer = std::array<std::uint8_t, DisplayColumns * DisplayPages>;

}  // namespace lcd
