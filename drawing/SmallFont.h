#pragma once

#include <array>
#include <cstdint>

namespace lcd {

// One 5 x 7 glyph: a byte per column, left to right; bit 0 is the top row and bit 7 stays clear, so the
// glyph never touches the row below it on the same page.
using SmallGlyph = std::array<std::uint8_t, 5>;

inline constexpr std::uint8_t SmallFontFirstCode = 0x20;
inline constexpr std::uint8_t SmallFontLastCode = 0x7F;

// Codes 32-127; the glyph for code c is entry c - 32.
extern const std::array<SmallGlyph, 96> SmallFont;

// Drawn for any code the table has no glyph for: a hollow box, which no printable character resembles,
// so a person at the bench sees at once that a character could not be shown.
extern const SmallGlyph SmallFontPlaceholder;

// The glyph the small-font routines draw for code c; never reads outside the table.
const SmallGlyph& SmallFontGlyph(std::uint8_t c);

}  // namespace lcd
