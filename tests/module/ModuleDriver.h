#pragma once

#include <cstdint>

#include "display/PortRegisters.h"
#include "display/PortWriteListener.h"

namespace lcd::testing {

// Control-register bases choosing the controllers: bit 1 = 0 selects the left one, bit 2 = 1 the right.
inline constexpr std::uint8_t Left = 0x00;
inline constexpr std::uint8_t Right = 0x06;
inline constexpr std::uint8_t Both = 0x04;
inline constexpr std::uint8_t Neither = 0x02;

// Feeds register writes straight to a listener, as the display bus would, with a synthetic clock that
// advances a relaxed 5 us per write so that no timing rule is broken unless a test means to.
class ModuleDriver {
  public:
    explicit ModuleDriver(PortWriteListener& listener) : listener_(listener) {}

    std::int64_t now = 0;
    std::int64_t step = 5000;

    void Control(std::uint16_t value) { Write(ControlRegister, value); }
    void Data(std::uint16_t value) { Write(DataRegister, value); }

    void Instruction(std::uint8_t byte, std::uint8_t select) {
        Control(select | 0x09);
        Data(byte);
        Control(select | 0x08);
        Control(select | 0x09);
        Data(0x00);
    }

    void DataByte(std::uint8_t byte, std::uint8_t select) {
        Control(select | 0x01);
        Data(byte);
        Control(select | 0x00);
        Control(select | 0x01);
    }

    // Every page of the selected controllers written with zeros, Y and page left at 0.
    void ZeroRam(std::uint8_t select) {
        for (std::uint8_t page = 0; page < 8; ++page) {
            Instruction(static_cast<std::uint8_t>(0xB8 | page), select);
            Instruction(0x40, select);
            for (int y = 0; y < 64; ++y) {
                DataByte(0x00, select);
            }
        }
        Instruction(0xB8, select);
    }

  private:
    void Write(std::uint16_t address, std::uint16_t value) {
        listener_.PortWritten(address, value, now);
        now += step;
    }

    PortWriteListener& listener_;
};

}  // namespace lcd::testing
