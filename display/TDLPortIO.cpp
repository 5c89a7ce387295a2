#include "TDLPortIO.h"

#include <algorithm>
#include <stdexcept>

#include "PerformanceCounter.h"
#include "PortRegisters.h"
#include "PortSystemCalls.h"

namespace lcd {

TDLPortIO::TDLPortIO(PortSystemCalls& calls) : calls_(calls) {}

TDLPortIO::TDLPortIO() : TDLPortIO(LinuxPortSystemCalls()) {}

TDLPortIO::~TDLPortIO() = default;

void TDLPortIO::OpenDriver() {
    if (backend_) {
        return;
    }
    failureReasons_.clear();
    std::string reason;
    backend_ = OpenParportDevice(calls_, reason);
    if (backend_) {
        return;
    }
    failureReasons_.push_back(reason);
    backend_ = OpenDirectIo(calls_, reason);
    if (backend_) {
        failureReasons_.clear();
        return;
    }
    failureReasons_.push_back(reason);
}

void TDLPortIO::CloseDriver() {
    backend_.reset();
}

std::string TDLPortIO::OpenedThrough() const {
    return backend_ ? backend_->Description() : std::string();
}

void TDLPortIO::SetPortWord(std::uint16_t address, std::uint16_t value) {
    std::int64_t now = 0;
    QueryPerformanceCounter(now);
    SetPortWord(address, value, now);
}

void TDLPortIO::SetPortWord(std::uint16_t address, std::uint16_t value, std::int64_t timestampNs) {
    if (address != DataRegister && address != ControlRegister) {
        throw std::invalid_argument(
            "Port write to an address the display is not wired to: only 0x378 and "
            "0x37A are driven.");
    }
    if (backend_) {
        backend_->Write(address, value);
    }
    for (PortWriteListener* listener : listeners_) {
        listener->PortWritten(address, value, timestampNs);
    }
}

void TDLPortIO::AttachListener(PortWriteListener& listener) {
    listeners_.push_back(&listener);
}

void TDLPortIO::DetachListener(PortWriteListener& listener) {
    std::erase(listeners_, &listener);
}

}  // namespace lcd
