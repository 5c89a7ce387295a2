#pragma once

#include <string>
#include <string_view>

namespace lcd {

// The byte ToSmallFontText puts in place of a character the small font cannot draw (ASCII SUB). It lies
// outside 32-127, so the text routines draw SmallFontPlaceholder for it, and it is not zero, so it never
// ends the text.
inline constexpr char SmallFontPlaceholderCode = 0x1A;

// From one UTF-8 line of the memo to the bytes the text routines draw, one byte per character and at most
// MaxTextLength of them. A byte that is not part of well-formed UTF-8 counts as one character and
// becomes '?'.

// Each character becomes its code page 437 byte, so accented letters, box-drawing pieces, shades,
// signs such as the degree sign and the pictographs of bytes 1-31 and 127 (smiling face, card suits,
// arrows, house) show as themselves in the large font; a character code page 437 lacks,
// and U+0000 (whose byte would end the text), becomes '?'. Throws std::runtime_error if the system's
// character conversion has no IBM437.
std::string ToLargeFontText(std::string_view utf8);

// Characters 32-127 stay as they are; any other becomes SmallFontPlaceholderCode.
std::string ToSmallFontText(std::string_view utf8);

}  // namespace lcd
