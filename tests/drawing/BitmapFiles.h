#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace lcd::testing {

inline constexpr std::size_t PixelStart = 62;
inline constexpr std::size_t FullFileSize = 1086;

// The 62 header bytes of a 128 x 64, 1 bit per pixel bitmap with palette entry 0 black and 1 white,
// written out field by field as a paint program would.
inline std::vector<std::uint8_t> MonochromeHeader() {
    std::vector<std::uint8_t> h = {
        'B',  'M',                                 // signature
        0x3E, 0x04, 0x00, 0x00,                    // file size 1086
        0,    0,    0,    0,                       // reserved
        0x3E, 0x00, 0x00, 0x00,                    // pixel rows start at 62
        0x28, 0x00, 0x00, 0x00,                    // information header size 40
        0x80, 0x00, 0x00, 0x00,                    // width 128
        0x40, 0x00, 0x00, 0x00,                    // height 64, bottom-up
        0x01, 0x00,                                // planes
        0x01, 0x00,                                // bits per pixel
        0,    0,    0,    0,                       // no compression
        0x00, 0x04, 0x00, 0x00,                    // pixel bytes 1024
        0x13, 0x0B, 0,    0,    0x13, 0x0B, 0, 0,  // 72 dpi both ways
        0x02, 0,    0,    0,    0x02, 0,    0, 0,  // two colours, both used
        0x00, 0x00, 0x00, 0x00,                    // entry 0 black
        0xFF, 0xFF, 0xFF, 0x00,                    // entry 1 white
    };
    return h;
}

// A full 1086-byte file: the header above and every pixel byte set to fill, then the listed
// (offset, value) bytes changed.
inline std::vector<std::uint8_t> MonochromeFile(
    std::uint8_t fill, const std::vector<std::pair<std::size_t, std::uint8_t>>& bytes = {}) {
    std::vector<std::uint8_t> file = MonochromeHeader();
    file.resize(FullFileSize, fill);
    for (const auto& [offset, value] : bytes) {
        file.at(offset) = value;
    }
    return file;
}

// A private directory under the system's temporary one, removed with everything in it.
class ScratchDirectory {
  public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "lcd-bitmap-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch directory");
        }
        path_ = pattern;
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + file.string());
        }
        return file.string();
    }

    std::string Fifo(const std::string& name) const {
        const std::filesystem::path file = path_ / name;
        if (::mkfifo(file.c_str(), 0600) != 0) {
            throw std::runtime_error("cannot make the named pipe " + file.string());
        }
        return file.string();
    }

    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    std::string Root() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace lcd::testing
