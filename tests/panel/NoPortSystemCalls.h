#pragma once

#include <linux/ppdev.h>
#include <sys/ioctl.h>

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

// A machine whose kernel offers the parallel port at 0x378 as /dev/parport0 and takes every write; it
// counts the register writes that reach it.
class Parport0SystemCalls : public NoPortSystemCalls {
  public:
    std::optional<std::vector<std::string>> ParportNames() override {
        return std::vector<std::string>{"parport0"};
    }
    std::optional<std::string> ReadTextFile(const std::string& path) override {
        return path == "/proc/sys/dev/parport/parport0/base-addr" ? std::optional<std::string>("888\t1912\n")
                                                                  : std::nullopt;
    }
    int Open(const std::string& path) override { return path == "/dev/parport0" ? 7 : -ENOENT; }
    int Ioctl(int, unsigned long request, void*) override {
        registerWrites += request == PPWDATA || request == PPWCONTROL ? 1 : 0;
        return 0;
    }
    int registerWrites = 0;
};

}  // namespace lcd::testing
