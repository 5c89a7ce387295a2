// Feeds arbitrary bytes, as a file, to the bitmap import and to Qt's BMP reader, and checks that:
//  - loading and converting never crash, leak or read out of bounds, whatever the bytes;
//  - the loaded buffer is exactly the file's first 1086 bytes followed by zeros, even though one importer
//    is reused for every input, as the window reuses its one;
//  - every display pixel is the file pixel the page layout says it is (checked pixel by pixel, apart from
//    the block-wise conversion);
//  - when Qt reads the bytes as a 128 x 64 one-bit picture and the header says the rows are where the
//    conversion takes them from, a lit display pixel is exactly a pixel of the file's first palette colour
//    in Qt's picture (Qt reorders a two-colour palette, so colours are compared, not indices).
// A failed check aborts, which libFuzzer reports with the input that caused it.

#include <sys/mman.h>
#include <unistd.h>

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "drawing/BitmapImport.h"

namespace {

int memoryFile = -1;
std::string memoryFilePath;

[[noreturn]] void Fault(const char* what, int x, int y) {
    std::fprintf(stderr, "bitmap import fault: %s at column %d, row %d\n", what, x, y);
    std::abort();
}

// The input lives in an in-memory file, reached by path through /proc, so each run costs no disk I/O but
// goes through the same open, fstat and read as a real file.
void WriteInput(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(memoryFile, 0) != 0) {
        std::abort();
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::pwrite(memoryFile, data + done, size - done, static_cast<off_t>(done));
        if (wrote <= 0) {
            std::abort();
        }
        done += static_cast<std::size_t>(wrote);
    }
}

bool FilePixelIsBlack(const lcd::BMPFileBuffer& file, int x, int row) {
    const std::uint8_t byte =
        file[lcd::BMPHeaderSize + lcd::BMPRowBytes * (lcd::DisplayRows - 1 - row) + x / 8];
    return ((byte >> (7 - x % 8)) & 1) == 0;
}

bool DisplayPixelIsLit(const lcd::PageBuffer& pages, int x, int row) {
    return ((pages[(row / 8) * lcd::DisplayColumns + x] >> (row % 8)) & 1) != 0;
}

void CheckLoadedBytes(const lcd::BitmapImport& import, const std::uint8_t* data, std::size_t size) {
    const std::size_t expected = std::min(size, lcd::BMPFileSize);
    if (import.LoadedByteCount != expected) {
        Fault("wrong loaded byte count", static_cast<int>(import.LoadedByteCount), 0);
    }
    for (std::size_t i = 0; i < lcd::BMPFileSize; ++i) {
        const std::uint8_t want = i < expected ? data[i] : 0;
        if (import.BMPFileBuffer[i] != want) {
            Fault("buffer byte differs from the file (or is left over from an earlier one)",
                  static_cast<int>(i), 0);
        }
    }
}

void CheckPagesAgainstFile(const lcd::BitmapImport& import) {
    for (int row = 0; row < lcd::DisplayRows; ++row) {
        for (int x = 0; x < lcd::DisplayColumns; ++x) {
            if (DisplayPixelIsLit(import.BMPPageBuffer, x, row) !=
                FilePixelIsBlack(import.BMPFileBuffer, x, row)) {
                Fault("display pixel is not its file pixel", x, row);
            }
        }
    }
}

QRgb PaletteColour(const lcd::BMPFileBuffer& file, std::size_t entry) {
    const std::size_t at = 54 + 4 * entry;  // blue, green, red, unused
    return qRgb(file[at + 2], file[at + 1], file[at]);
}

std::uint32_t Little32(const lcd::BMPFileBuffer& file, std::size_t at) {
    return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) |
           (static_cast<std::uint32_t>(file[at + 3]) << 24);
}

void CheckAgainstQt(const lcd::BitmapImport& import, const std::uint8_t* data, std::size_t size) {
    const QImage image = QImage::fromData(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), "BMP");
    const std::optional<lcd::BitmapShape> shape = lcd::ReadBitmapShape(import.BMPFileBuffer);
    const lcd::BMPFileBuffer& file = import.BMPFileBuffer;
    const QRgb black = PaletteColour(file, 0);
    const std::uint32_t coloursUsed = Little32(file, 46);
    // Only a complete file with the classic 40-byte header and two distinct palette colours is
    // comparable: with a short one Qt and the import disagree by design about the missing rows, other
    // header sizes or colour counts move or shorten the palette, and equal colours hide the pixel bit.
    const bool comparable = size >= lcd::BMPFileSize && shape && lcd::MatchesDisplayLayout(*shape) &&
                            Little32(file, 14) == 40 && (coloursUsed == 0 || coloursUsed == 2) &&
                            black != PaletteColour(file, 1) && !image.isNull() &&
                            image.width() == lcd::DisplayColumns && image.height() == lcd::DisplayRows;
    if (!comparable) {
        return;
    }
    for (int row = 0; row < lcd::DisplayRows; ++row) {
        for (int x = 0; x < lcd::DisplayColumns; ++x) {
            const bool qtBlack = (image.pixel(x, row) | 0xFF000000u) == black;  // alpha set, as qRgb sets it
            if (DisplayPixelIsLit(import.BMPPageBuffer, x, row) != qtBlack) {
                Fault("display differs from Qt's reading of the same file", x, row);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    memoryFile = ::memfd_create("bitmap-import-fuzz", MFD_CLOEXEC);
    if (memoryFile < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    memoryFilePath = "/proc/self/fd/" + std::to_string(memoryFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static lcd::BitmapImport import;
    WriteInput(data, size);
    import.LoadBMPFile(memoryFilePath);
    CheckLoadedBytes(import, data, size);
    import.ConvertBMPToPages();
    CheckPagesAgainstFile(import);
    CheckAgainstQt(import, data, size);
    return 0;
}
