// The kernel's parallel-port device (ppdev): claim the port whose base address is 0x378 and write the
// low byte of each register value with PPWDATA / PPWCONTROL. Needs only membership of the lp group.

#include <sys/ioctl.h>

#include <linux/parport.h>
#include <linux/ppdev.h>

#include <cerrno>
#include <cstring>

#include "PortBackend.h"
#include "PortRegisters.h"
#include "PortSystemCalls.h"

namespace lcd {
namespace {

constexpr long WantedBase = DataRegister;

std::string ErrorText(int negativeErrno) {
    return std::strerror(-negativeErrno);
}

// The first number of base-addr, or -1 when the text does not start with one.
long FirstNumber(const std::string& text) {
    try {
        std::size_t used = 0;
        const long value = std::stol(text, &used, 10);
        return used > 0 ? value : -1;
    } catch (const std::exception&) {
        return -1;
    }
}

class ParportDevice final : public PortBackend {
  public:
    ParportDevice(PortSystemCalls& calls, int fd, std::string path)
        : calls_(calls), fd_(fd), path_(std::move(path)) {}

    ~ParportDevice() override {
        calls_.Ioctl(fd_, PPRELEASE, nullptr);
        calls_.Close(fd_);
    }

    void Write(std::uint16_t address, std::uint16_t value) override {
        unsigned char low = static_cast<unsigned char>(value & 0xFF);
        const unsigned long request = address == DataRegister ? PPWDATA : PPWCONTROL;
        const int result = calls_.Ioctl(fd_, request, &low);
        if (result != 0) {
            throw PortWriteError("The write to " + path_ + " failed: " + ErrorText(result) +
                                 ". The parallel port is no longer usable (was it unplugged or its driver "
                                 "unloaded?); press StartDriver again.");
        }
    }

    std::string Description() const override { return path_; }

  private:
    PortSystemCalls& calls_;
    int fd_;
    std::string path_;
};

std::string OpenFailure(const std::string& path, int error) {
    switch (-error) {
        case EACCES:
        case EPERM:
            return path +
                   ": permission denied. Join the lp group (sudo usermod -aG lp $USER, then log in "
                   "again), or run as root.";
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return path + " does not exist. Load the ppdev module (sudo modprobe ppdev).";
        default:
            return path + ": " + ErrorText(error) + ".";
    }
}

}  // namespace

std::unique_ptr<PortBackend> OpenParportDevice(PortSystemCalls& calls, std::string& reason) {
    const auto names = calls.ParportNames();
    if (!names) {
        reason =
            "Parallel-port device: the kernel has no parallel-port driver loaded (sudo modprobe parport_pc "
            "ppdev), or this machine has no parallel port.";
        return nullptr;
    }
    std::string found;
    for (const std::string& name : *names) {
        const auto baseText = calls.ReadTextFile("/proc/sys/dev/parport/" + name + "/base-addr");
        const long base = baseText ? FirstNumber(*baseText) : -1;
        if (base != WantedBase) {
            found += (found.empty() ? "" : ", ") + name;
            continue;
        }
        const std::string path = "/dev/" + name;
        const int fd = calls.Open(path);
        if (fd < 0) {
            reason = "Parallel-port device: " + OpenFailure(path, fd);
            return nullptr;
        }
        if (const int claimed = calls.Ioctl(fd, PPCLAIM, nullptr); claimed != 0) {
            reason = "Parallel-port device: " + path + ": the port could not be claimed (" +
                     ErrorText(claimed) +
                     "). Another driver may hold it: unload lp (sudo modprobe -r lp) and try again.";
            calls.Close(fd);
            return nullptr;
        }
        int mode = IEEE1284_MODE_COMPAT;
        if (const int set = calls.Ioctl(fd, PPSETMODE, &mode); set != 0) {
            reason = "Parallel-port device: " + path + ": compatibility mode could not be set (" +
                     ErrorText(set) + "). Set the port to SPP/normal mode in the BIOS.";
            calls.Ioctl(fd, PPRELEASE, nullptr);
            calls.Close(fd);
            return nullptr;
        }
        return std::make_unique<ParportDevice>(calls, fd, path);
    }
    reason = "Parallel-port device: no parallel port at 0x378" +
             (found.empty() ? std::string(".") : " (the kernel knows " + found + " at other addresses).") +
             " A USB printer adapter cannot drive the pins; a PCI or on-board port at another address is not "
             "supported.";
    return nullptr;
}

}  // namespace lcd
