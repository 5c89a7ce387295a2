#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "RecordingListener.h"
#include "display/DelaySource.h"
#include "display/DisplayBus.h"
#include "display/DisplayHalf.h"
#include "display/PortRegisters.h"
#include "display/PortWriteListener.h"
#include "display/StopSignal.h"
#include "display/TDLPortIO.h"

namespace lcd::test {

using testing::PortWrite;
using testing::RecordingListener;

// What a controller latched: an instruction or a data byte, and which controller took it.
struct BusEvent {
    enum class Kind { Instruction, Data };
    Kind kind;
    DisplayHalf half;
    std::uint8_t value;
    bool operator==(const BusEvent&) const = default;
};

inline BusEvent Instruction(DisplayHalf half, std::uint8_t value) {
    return {BusEvent::Kind::Instruction, half, value};
}
inline BusEvent Data(DisplayHalf half, std::uint8_t value) {
    return {BusEvent::Kind::Data, half, value};
}

inline std::ostream& operator<<(std::ostream& out, const BusEvent& event) {
    out << (event.kind == BusEvent::Kind::Instruction ? "instruction " : "data ")
        << (event.half == DisplayHalf::Left ? "L " : "R ");
    return out << std::hex << "0x" << static_cast<int>(event.value);
}

// Reads the recorded writes back as the two transactions the bus makes: an instruction is control
// base|09, data value, control base|08, control base|09, data 00; a data byte is control base|01, data
// byte, control base|00, control base|01. Anything else fails the test, so a malformed transaction
// cannot pass for a good one.
inline std::vector<BusEvent> DecodeTransactions(const std::vector<PortWrite>& writes) {
    std::vector<BusEvent> events;
    std::size_t i = 0;
    const auto control = [&](std::size_t at, std::uint16_t value) {
        return at < writes.size() && writes[at] == PortWrite{ControlRegister, value};
    };
    const auto data = [&](std::size_t at) {
        return at < writes.size() && writes[at].address == DataRegister;
    };
    while (i < writes.size()) {
        const std::uint16_t first = writes[i].value;
        const std::uint16_t base = first & 0x06;
        const bool instruction = control(i, base | 0x09) && data(i + 1) && control(i + 2, base | 0x08) &&
                                 control(i + 3, base | 0x09) && i + 4 < writes.size() &&
                                 writes[i + 4] == PortWrite{DataRegister, 0x00};
        const bool dataByte =
            control(i, base | 0x01) && data(i + 1) && control(i + 2, base) && control(i + 3, base | 0x01);
        if (!instruction && !dataByte) {
            ADD_FAILURE() << "write " << i << " (" << writes[i] << ") starts no bus transaction";
            return events;
        }
        const auto half = static_cast<DisplayHalf>(base);
        const auto value = static_cast<std::uint8_t>(writes[i + 1].value);
        events.push_back(instruction ? Instruction(half, value) : Data(half, value));
        i += instruction ? 5 : 4;
    }
    return events;
}

// A bus on a port that no driver was opened for, so the writes reach only the recorder; no delay.
struct RecordedBus {
    RecordedBus() { port.AttachListener(recorder); }
    std::vector<BusEvent> Events() const { return DecodeTransactions(recorder.writes); }

    RecordingListener recorder;
    TDLPortIO port;
    FixedDelayText delay{"0"};
    StopSignal stop;
    DisplayBus bus{port, delay, stop};
};

}  // namespace lcd::test
