#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "display/PageBuffer.h"

namespace lcd {

// A 128 x 64 one-bit Windows bitmap with the plain 62-byte header (file header, information header, two
// palette entries) is exactly this long: the header, then 64 rows of 16 bytes, bottom row first.
inline constexpr std::size_t BMPHeaderSize = 62;
inline constexpr std::size_t BMPRowBytes = DisplayColumns / 8;
inline constexpr std::size_t BMPFileSize = BMPHeaderSize + BMPRowBytes * DisplayRows;

using BMPFileBuffer = std::array<std::uint8_t, BMPFileSize>;

// The n-bit field of x whose highest bit is bit p, moved down to bit 0. Needs 0 <= p <= 7 and
// 1 <= n <= p + 1, so that the field lies inside the byte; anything else throws std::out_of_range rather
// than shifting by a negative or oversized amount.
std::uint8_t GetBits(std::uint8_t x, int p, int n);

// What a bitmap header claims about its picture. Only used to tell the user why a file looks scrambled:
// the conversion itself reads fixed offsets and never consults the header.
struct BitmapShape {
    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive; topDown says which way the rows run
    bool topDown = false;
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t pixelDataOffset = 0;

    friend bool operator==(const BitmapShape&, const BitmapShape&) = default;
};

// The header's shape if the bytes start with a plausible Windows bitmap header ("BM", a known information
// header size, one plane, a usual depth, a non-empty picture); nothing otherwise.
std::optional<BitmapShape> ReadBitmapShape(const BMPFileBuffer& file);

// True when a file of this shape is laid out exactly as the conversion expects, so it shows on the
// display as it looks in any image viewer (a 128 x 64, 1 bit per pixel, uncompressed, bottom-up picture
// whose rows start right after the 62-byte header).
bool MatchesDisplayLayout(const BitmapShape& shape);

// The raw file bytes and the page-layout picture made from them. The window owns one for the whole run.
class BitmapImport {
  public:
    // The first 1086 bytes of the last file loaded; zero past the end of a shorter file.
    lcd::BMPFileBuffer BMPFileBuffer{};
    // The last conversion's result, ready for WriteLCDPages.
    PageBuffer BMPPageBuffer{};
    // How many bytes the last load found (at most 1086), for telling the user about a short file.
    std::size_t LoadedByteCount = 0;

    // Reads up to 1086 bytes from the start of the file. Every load starts from an all-zero buffer, so
    // nothing of an earlier, longer file shows through a shorter one. Only regular files are read: a
    // directory, a named pipe or a device is refused at once instead of blocking the command. Throws
    // std::runtime_error (path and reason in its text) when the file cannot be opened or read; the buffer
    // is then left as it was.
    void LoadBMPFile(const std::string& path);

    // Rebuilds BMPPageBuffer from BMPFileBuffer: file pixel bit 0 (black in an ordinary black-and-white
    // bitmap) becomes a lit display pixel, and the top image row lands in bit 0 of page 0.
    void ConvertBMPToPages();
};

}  // namespace lcd
