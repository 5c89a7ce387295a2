#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace lcd {

class PortSystemCalls;

// Raised when the kernel refuses a write to a port that was open (the device went away, say).
class PortWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One way of reaching the port's registers. Releasing the backend releases the port.
class PortBackend {
  public:
    virtual ~PortBackend() = default;
    // Writes one register; address is DataRegister or ControlRegister.
    virtual void Write(std::uint16_t address, std::uint16_t value) = 0;
    // How the port was reached, for the status line: "/dev/parport0" or "direct I/O".
    virtual std::string Description() const = 0;
};

// Both openers return nullptr on failure and then put into `reason` what went wrong and what a person
// can do about it.
std::unique_ptr<PortBackend> OpenParportDevice(PortSystemCalls& calls, std::string& reason);
std::unique_ptr<PortBackend> OpenDirectIo(PortSystemCalls& calls, std::string& reason);

}  // namespace lcd
