#pragma once

#include <cstdint>

#include "DisplayHalf.h"

namespace lcd {

class DelaySource;
class StopSignal;
class TDLPortIO;

// Register-level signalling to the two controllers on the parallel port. Every port write is preceded
// by LCDDelay: the Delay text is asked for, converted and waited out anew each time.
//
// A stop request ends the command cleanly: the wait in progress is cut short, the rest of the bus
// transaction in progress (an instruction's five writes, a data byte's four) goes out with 1 us waits so
// that E ends low and no byte is half written, and then CommandStopped is thrown.
class DisplayBus {
  public:
    DisplayBus(TDLPortIO& port, const DelaySource& delay, const StopSignal& stop)
        : port_(port), delay_(delay), stop_(stop) {}

    // The one display column tracker behind every data write: 0-63 the left controller, 64-127 the
    // right one, 128 and above past the right edge. Set by SetLCDColumn, advanced by WriteLCDData.
    std::uint8_t CurrentColumn = 0;

    // Reads and converts the Delay text, then busy-waits that many microseconds. Throws ConversionError
    // for a text that is not an integer. Returns the counter reading at the end of the wait.
    std::int64_t LCDDelay();

    // One instruction byte to one controller: five port writes.
    void WriteLCDCommand(std::uint8_t value, DisplayHalf half);

    // Up to count bytes to consecutive columns from CurrentColumn, each to the controller that owns its
    // column, four port writes a byte; stops at the right edge.
    void WriteLCDData(const std::uint8_t* bytes, std::uint32_t count);

  private:
    void WriteRegister(std::uint16_t address, std::uint8_t value);

    TDLPortIO& port_;
    const DelaySource& delay_;
    const StopSignal& stop_;
};

}  // namespace lcd
