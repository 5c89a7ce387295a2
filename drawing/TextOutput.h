#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lcd {

class DisplayBus;

// Texts hold one byte per character. A zero byte ends a text, as it would a C string. The character
// index is an 8-bit counter, so only the first MaxTextLength characters are drawn: letting the index wrap
// would start the text over and never finish.
inline constexpr std::size_t MaxTextLength = 255;

// The small font sits on a 6-column cell: 5 glyph columns and one blank column of spacing.
inline constexpr std::uint8_t SmallCellWidth = 6;

// Moves to text cell x (0-20) of page y (0-7).
void SetLCDXY(DisplayBus& bus, std::uint8_t x, std::uint8_t y);

// Small font from wherever the last write left the column and page, each glyph followed by a blank
// column; the position moves on only through the data writes.
void PrintLCDText(DisplayBus& bus, std::string_view text);

// One small-font glyph with its left column at display column x; the cell's sixth column is left as it
// was. Codes outside 32-127 draw SmallFontPlaceholder.
void PrintLCDChar(DisplayBus& bus, std::uint8_t x, std::uint8_t page, std::uint8_t c);

// Small font, character i addressed anew at column (x + 6i) mod 256, so the cells' sixth columns keep
// whatever they showed.
void PrintLCDTextAt(DisplayBus& bus, std::uint8_t x, std::uint8_t page, std::string_view text);

// Large font from column x, glyphs back to back (they carry their own spacing); cut at the right edge.
void PrintLCDLargeText(DisplayBus& bus, std::uint8_t x, std::uint8_t page, std::string_view text);

}  // namespace lcd
