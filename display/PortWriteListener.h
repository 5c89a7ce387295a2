#pragma once

#include <cstdint>

namespace lcd {

// Anything that wants to see the port writes as they happen: the module model, the bus recorder, a
// test's recorder. Called on the thread that writes, in the order the writes are made.
class PortWriteListener {
  public:
    virtual ~PortWriteListener() = default;
    // timestampNs: the monotonic clock, in nanoseconds, when the write was issued.
    virtual void PortWritten(std::uint16_t address, std::uint16_t value, std::int64_t timestampNs) = 0;
};

}  // namespace lcd
