#include "PortSystemCalls.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define LCD_HAS_PORT_IO 1
#endif

namespace lcd {
namespace {

class LinuxCalls final : public PortSystemCalls {
  public:
    std::optional<std::vector<std::string>> ParportNames() override {
        std::error_code error;
        std::filesystem::directory_iterator entries("/proc/sys/dev/parport", error);
        if (error) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        for (const auto& entry : entries) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("parport")) {
                names.push_back(name);
            }
        }
        return names;
    }

    std::optional<std::string> ReadTextFile(const std::string& path) override {
        std::ifstream file(path);
        if (!file) {
            return std::nullopt;
        }
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    int Open(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        return fd >= 0 ? fd : -errno;
    }

    int Ioctl(int fd, unsigned long request, void* argument) override {
        return ::ioctl(fd, request, argument) == 0 ? 0 : -errno;
    }

    void Close(int fd) override { ::close(fd); }

    int Ioperm(unsigned long from, unsigned long count, bool enable) override {
#ifdef LCD_HAS_PORT_IO
        return ::ioperm(from, count, enable ? 1 : 0) == 0 ? 0 : -errno;
#else
        (void)from;
        (void)count;
        (void)enable;
        return -ENOSYS;
#endif
    }

    void Outw(std::uint16_t value, std::uint16_t address) override {
#ifdef LCD_HAS_PORT_IO
        ::outw(value, address);
#else
        (void)value;
        (void)address;
#endif
    }
};

}  // namespace

PortSystemCalls& LinuxPortSystemCalls() {
    static LinuxCalls calls;
    return calls;
}

}  // namespace lcd
