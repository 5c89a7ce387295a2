#pragma once

#include <array>
#include <cstdint>

namespace lcd {

// One 8 x 8 glyph: a byte per column, left to right; bit 0 is the top row and all eight rows are used,
// bit 7 carrying the descenders. Letters leave column 7 blank as the gap to the next character, while
// box-drawing and block glyphs fill all eight columns so that neighbours join.
using LargeGlyph = std::array<std::uint8_t, 8>;

// The code page 437 character set, indexed by the character's byte (0-255).
extern const std::array<LargeGlyph, 256> LargeFont;

}  // namespace lcd
