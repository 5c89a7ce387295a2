#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "display/PortRegisters.h"
#include "display/PortWriteListener.h"

namespace lcd::testing {

struct PortWrite {
    std::uint16_t address;
    std::uint16_t value;
    bool operator==(const PortWrite&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PortWrite& write) {
    return out << (write.address == ControlRegister ? "control "
                   : write.address == DataRegister  ? "data "
                                                    : "?? ")
               << std::hex << "0x" << write.value << std::dec;
}

inline PortWrite Control(std::uint16_t value) {
    return {ControlRegister, value};
}
inline PortWrite Data(std::uint16_t value) {
    return {DataRegister, value};
}

// Keeps every port write, with its timestamp, for the test to compare against a hand-written sequence.
class RecordingListener : public PortWriteListener {
  public:
    void PortWritten(std::uint16_t address, std::uint16_t value, std::int64_t timestampNs) override {
        writes.push_back({address, value});
        timestamps.push_back(timestampNs);
    }
    std::vector<PortWrite> writes;
    std::vector<std::int64_t> timestamps;
};

// Hand-written bus transactions: the five writes of an instruction, the four of a data byte.
inline std::vector<PortWrite> InstructionWrites(std::uint8_t value, std::uint8_t base) {
    return {Control(base | 0x09), Data(value), Control(base | 0x08), Control(base | 0x09), Data(0x00)};
}
inline std::vector<PortWrite> DataWrites(std::uint8_t value, std::uint8_t base) {
    return {Control(base | 0x01), Data(value), Control(base | 0x00), Control(base | 0x01)};
}
inline void Append(std::vector<PortWrite>& to, const std::vector<PortWrite>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace lcd::testing
