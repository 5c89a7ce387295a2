#pragma once

#include <cerrno>

#include "display/PortSystemCalls.h"

namespace lcd::testing {

// A machine with no parallel port and no right to direct I/O, so no window test can reach real hardware.
class NoPortSystemCalls : public PortSystemCalls {
  public:
    std::optional<std::vector<std::string>> ParportNames() override { return std::nullopt; }
    std::optional<std::string> ReadTextFile(const std::string&) override { return std::nullopt; }
    int Open(const std::string&) override { return -ENOENT; }
    int Ioctl(int, unsigned long, void*) override { return -ENOTTY; }
    void Close(int) override {}
    int Ioperm(unsigned long, unsigned long, bool) override { return -EPERM; }
    void Outw(std::uint16_t, std::uint16_t) override {}
};

}  // namespace lcd::testing
