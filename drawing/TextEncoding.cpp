#include "TextEncoding.h"

#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "TextOutput.h"

namespace lcd {
namespace {

constexpr char Unknown = '?';

// One step through UTF-8: the code point that starts at a position and how many bytes it takes, or
// well-formed == false for a byte that starts no valid sequence (then length is 1, so the next step
// looks at the very next byte).
struct Utf8Step {
    char32_t codePoint = 0;
    std::size_t length = 1;
    bool wellFormed = false;
};

bool InRange(std::uint8_t byte, std::uint8_t low, std::uint8_t high) {
    return byte >= low && byte <= high;
}

// Overlong forms, surrogates and code points past U+10FFFF are refused through the allowed range of the
// second byte, as in the Unicode standard's table of well-formed byte sequences.
Utf8Step DecodeAt(std::string_view text, std::size_t position) {
    const auto lead = static_cast<std::uint8_t>(text[position]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    std::size_t length = 0;
    std::uint8_t secondLow = 0x80;
    std::uint8_t secondHigh = 0xBF;
    char32_t codePoint = 0;
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        length = 3;
        codePoint = lead & 0x0F;
        secondLow = lead == 0xE0 ? 0xA0 : 0x80;
        secondHigh = lead == 0xED ? 0x9F : 0xBF;
    } else if (InRange(lead, 0xF0, 0xF4)) {
        length = 4;
        codePoint = lead & 0x07;
        secondLow = lead == 0xF0 ? 0x90 : 0x80;
        secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }
    if (text.size() - position < length) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<std::uint8_t>(text[position + i]);
        const bool fits = i == 1 ? InRange(byte, secondLow, secondHigh) : InRange(byte, 0x80, 0xBF);
        if (!fits) {
            return {};
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    return {codePoint, length, true};
}

// The C library's UTF-8 to code page 437 conversion, opened once per thread. Characters go through it
// one at a time so that a character without a code page 437 form costs exactly one '?'.
class Ibm437Conversion {
  public:
    Ibm437Conversion() : handle_(iconv_open("IBM437", "UTF-8")) {
        if (handle_ == Failed()) {
            throw std::runtime_error("The system's character conversion has no IBM437 (code page 437)");
        }
    }
    ~Ibm437Conversion() { iconv_close(handle_); }
    Ibm437Conversion(const Ibm437Conversion&) = delete;
    Ibm437Conversion& operator=(const Ibm437Conversion&) = delete;

    // sequence: one well-formed UTF-8 character.
    char Convert(std::string_view sequence) {
        char input[4] = {};
        sequence.copy(input, sizeof input);
        char output[4] = {};
        char* in = input;
        char* out = output;
        std::size_t inLeft = sequence.size();
        std::size_t outLeft = sizeof output;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
        const bool oneByte = result != static_cast<std::size_t>(-1) && inLeft == 0 && out - output == 1;
        return oneByte && output[0] != '\0' ? output[0] : Unknown;
    }

  private:
    static iconv_t Failed() { return reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }

    iconv_t handle_;
};

Ibm437Conversion& ThreadIbm437Conversion() {
    thread_local Ibm437Conversion conversion;
    return conversion;
}

// The C library's code page 437 treats bytes 1-31 and 127 as control codes, while on the screen (and in
// the large font) they are pictographs. Index: the byte; entry 0 is unused.
constexpr char32_t PictographCodePoints[32] = {
    0,      0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
    0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
    0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};
constexpr char32_t HouseCodePoint = 0x2302;
constexpr char HouseByte = 0x7F;

// The code page 437 byte of a pictograph, or 0 for any other character.
char PictographByte(char32_t codePoint) {
    if (codePoint == HouseCodePoint) {
        return HouseByte;
    }
    for (std::size_t byte = 1; byte < std::size(PictographCodePoints); ++byte) {
        if (PictographCodePoints[byte] == codePoint) {
            return static_cast<char>(byte);
        }
    }
    return 0;
}

// Walks the text character by character, at most MaxTextLength of them, handing each well-formed
// character to byteFor and putting '?' for each stray byte.
template <typename ByteFor>
std::string ConvertLine(std::string_view utf8, ByteFor byteFor) {
    std::string bytes;
    bytes.reserve(std::min(utf8.size(), MaxTextLength));
    for (std::size_t position = 0; position < utf8.size() && bytes.size() < MaxTextLength;) {
        const Utf8Step step = DecodeAt(utf8, position);
        bytes.push_back(step.wellFormed ? byteFor(step.codePoint, utf8.substr(position, step.length))
                                        : Unknown);
        position += step.length;
    }
    return bytes;
}

}  // namespace

std::string ToLargeFontText(std::string_view utf8) {
    return ConvertLine(utf8, [](char32_t codePoint, std::string_view sequence) {
        if (codePoint == 0) {
            return Unknown;
        }
        // Code page 437 agrees with ASCII, which spares the conversion for most text.
        if (codePoint < 0x80) {
            return static_cast<char>(codePoint);
        }
        if (const char pictograph = PictographByte(codePoint); pictograph != 0) {
            return pictograph;
        }
        return ThreadIbm437Conversion().Convert(sequence);
    });
}

std::string ToSmallFontText(std::string_view utf8) {
    return ConvertLine(utf8, [](char32_t codePoint, std::string_view) {
        const bool drawable = codePoint >= 0x20 && codePoint <= 0x7F;
        return drawable ? static_cast<char>(codePoint) : SmallFontPlaceholderCode;
    });
}

}  // namespace lcd
