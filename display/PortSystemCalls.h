#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lcd {

// The system calls behind port access, gathered in one seam so that tests can play a port that opens,
// refuses or fails without touching real hardware. Calls that can fail return a negative errno value.
class PortSystemCalls {
  public:
    virtual ~PortSystemCalls() = default;

    // Names of the kernel's parallel ports ("parport0", ...), from /proc/sys/dev/parport; nullopt when
    // the kernel has no parallel-port driver loaded.
    virtual std::optional<std::vector<std::string>> ParportNames() = 0;
    // The text of a small file such as /proc/sys/dev/parport/parport0/base-addr; nullopt if unreadable.
    virtual std::optional<std::string> ReadTextFile(const std::string& path) = 0;

    virtual int Open(const std::string& path) = 0;                         // a descriptor, or -errno
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;  // 0, or -errno
    virtual void Close(int fd) = 0;

    virtual int Ioperm(unsigned long from, unsigned long count, bool enable) = 0;  // 0, or -errno
    virtual void Outw(std::uint16_t value, std::uint16_t address) = 0;
};

// The real calls of this machine.
PortSystemCalls& LinuxPortSystemCalls();

}  // namespace lcd
