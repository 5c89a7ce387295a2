#include "BitmapImport.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "RegularFile.h"

namespace lcd {
namespace {

// Closes the descriptor on every way out of LoadBMPFile, the throwing ones included.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path, int error) {
    throw std::runtime_error(what + " '" + path + "': " + std::strerror(error));
}

// Reads until the buffer is full or the file ends; a regular file may still hand back fewer bytes than
// asked for, and a signal may interrupt the read.
std::size_t ReadFully(int fd, std::uint8_t* bytes, std::size_t count, const std::string& path) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, bytes + done, count - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileError("Could not read", path, errno);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::uint16_t Little16(const BMPFileBuffer& file, std::size_t at) {
    return static_cast<std::uint16_t>(file[at] | (file[at + 1] << 8));
}

std::uint32_t Little32(const BMPFileBuffer& file, std::size_t at) {
    return static_cast<std::uint32_t>(file[at]) | (static_cast<std::uint32_t>(file[at + 1]) << 8) |
           (static_cast<std::uint32_t>(file[at + 2]) << 16) |
           (static_cast<std::uint32_t>(file[at + 3]) << 24);
}

bool IsUsualDepth(std::uint16_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

constexpr std::size_t InfoHeaderStart = 14;
constexpr std::uint32_t CoreHeaderSize = 12;  // the old OS/2 header: 16-bit sizes, no compression field
constexpr std::uint32_t InfoHeaderSize = 40;

}  // namespace

std::uint8_t GetBits(std::uint8_t x, int p, int n) {
    if (p < 0 || p > 7 || n < 1 || n > p + 1) {
        throw std::out_of_range("GetBits: no " + std::to_string(n) + "-bit field has its top at bit " +
                                std::to_string(p) + " of a byte");
    }
    return static_cast<std::uint8_t>((x >> (p + 1 - n)) & ((1u << n) - 1u));
}

std::optional<BitmapShape> ReadBitmapShape(const BMPFileBuffer& file) {
    if (file[0] != 'B' || file[1] != 'M') {
        return std::nullopt;
    }
    const std::uint32_t headerSize = Little32(file, InfoHeaderStart);
    BitmapShape shape;
    shape.pixelDataOffset = Little32(file, 10);
    std::uint16_t planes = 0;
    std::int32_t signedHeight = 0;
    if (headerSize == CoreHeaderSize) {
        shape.width = Little16(file, 18);
        signedHeight = Little16(file, 20);
        planes = Little16(file, 22);
        shape.bitsPerPixel = Little16(file, 24);
    } else if (headerSize >= InfoHeaderSize && headerSize <= 124) {
        shape.width = static_cast<std::int32_t>(Little32(file, 18));
        signedHeight = static_cast<std::int32_t>(Little32(file, 22));
        planes = Little16(file, 26);
        shape.bitsPerPixel = Little16(file, 28);
        shape.compression = Little32(file, 30);
    } else {
        return std::nullopt;
    }
    // The most negative height has no positive counterpart; no real picture is that tall anyway.
    if (planes != 1 || !IsUsualDepth(shape.bitsPerPixel) || shape.width <= 0 || signedHeight == 0 ||
        signedHeight == INT32_MIN) {
        return std::nullopt;
    }
    shape.topDown = signedHeight < 0;
    shape.height = shape.topDown ? -signedHeight : signedHeight;
    return shape;
}

bool MatchesDisplayLayout(const BitmapShape& shape) {
    return shape.width == DisplayColumns && shape.height == DisplayRows && !shape.topDown &&
           shape.bitsPerPixel == 1 && shape.compression == 0 && shape.pixelDataOffset == BMPHeaderSize;
}

void BitmapImport::LoadBMPFile(const std::string& path) {
    const FileDescriptor file(OpenRegularFileForReading(path));
    lcd::BMPFileBuffer fresh{};
    const std::size_t count = ReadFully(file.get(), fresh.data(), fresh.size(), path);
    BMPFileBuffer = fresh;
    LoadedByteCount = count;
}

void BitmapImport::ConvertBMPToPages() {
    for (int page = 0; page < DisplayPages; ++page) {
        for (int byteColumn = static_cast<int>(BMPRowBytes) - 1; byteColumn >= 0; --byteColumn) {
            // The file stores rows bottom-up, so image row 8 * page + k sits at file row 63 - (8 * page + k).
            std::array<std::uint8_t, 8> block{};
            for (int k = 0; k < 8; ++k) {
                const int fileRow = DisplayRows - 1 - (8 * page + k);
                block[k] = BMPFileBuffer[BMPHeaderSize + BMPRowBytes * fileRow + byteColumn];
            }
            // Bit b of a file byte is pixel 7 - b of its eight: the most significant bit is leftmost.
            for (int b = 0; b < 8; ++b) {
                unsigned column = 0;
                for (int k = 0; k < 8; ++k) {
                    column |= static_cast<unsigned>(GetBits(block[k], b, 1)) << k;
                }
                // A 0 bit is black in the file and must light the pixel, hence the complement.
                BMPPageBuffer[page * DisplayColumns + 8 * byteColumn + 7 - b] =
                    static_cast<std::uint8_t>(~column);
            }
        }
    }
}

}  // namespace lcd
