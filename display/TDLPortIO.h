#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PortBackend.h"
#include "PortWriteListener.h"

namespace lcd {

class PortSystemCalls;

// The port-access component. OpenDriver tries the kernel's parallel-port device first, then direct I/O,
// and keeps the first that works; each failed attempt leaves a reason a person can act on. Every write
// also reaches the attached listeners, in the order they were attached, whether or not a port is open.
//
// OpenDriver, CloseDriver and AttachListener are for the window's thread while no command runs;
// SetPortWord is for whichever one thread runs commands.
class TDLPortIO {
  public:
    explicit TDLPortIO(PortSystemCalls& calls);
    TDLPortIO();
    ~TDLPortIO();
    TDLPortIO(const TDLPortIO&) = delete;
    TDLPortIO& operator=(const TDLPortIO&) = delete;

    // Kept for the window to set before opening; nothing on Linux needs a driver directory.
    std::string DriverPath = "C:\\WINNT\\System32\\DRIVERS";

    // Does nothing while a port is open; otherwise tries again.
    void OpenDriver();
    void CloseDriver();
    bool ActiveHW() const { return backend_ != nullptr; }
    // Why each attempt of the last OpenDriver failed; empty after a success.
    const std::vector<std::string>& FailureReasons() const { return failureReasons_; }
    // "/dev/parport0" or "direct I/O"; empty when no port is open.
    std::string OpenedThrough() const;

    // Writes value to a register (DataRegister or ControlRegister; any other address raises
    // std::invalid_argument). The first form stamps the write with the performance counter; the bus,
    // which has just read the counter at the end of its wait, hands that reading in.
    void SetPortWord(std::uint16_t address, std::uint16_t value);
    void SetPortWord(std::uint16_t address, std::uint16_t value, std::int64_t timestampNs);

    void AttachListener(PortWriteListener& listener);
    void DetachListener(PortWriteListener& listener);

  private:
    PortSystemCalls& calls_;
    std::unique_ptr<PortBackend> backend_;
    std::vector<std::string> failureReasons_;
    std::vector<PortWriteListener*> listeners_;
};

}  // namespace lcd
