#pragma once

#include <cstdint>

namespace lcd {

// The module's control pins as the port drives them. Control bits 0 (nStrobe) and 3 (nSelectIn) are
// inverted at the connector, bit 1 (nAutoFeed) is inverted too and bit 2 (nInit) is not; bits 4-7 reach
// no pin.
struct PinLevels {
    bool e;    // enable, pin 1
    bool di;   // high = data, low = instruction, pin 17
    bool cs1;  // left controller, pin 14
    bool cs2;  // right controller, pin 16

    static constexpr PinLevels FromControl(std::uint8_t control) {
        return PinLevels{(control & 0x01) == 0, (control & 0x08) == 0, (control & 0x02) == 0,
                         (control & 0x04) != 0};
    }
    friend constexpr bool operator==(PinLevels, PinLevels) = default;
};

// What the registers are taken to hold before the first write seen: E low, an instruction to the left
// controller, the data lines low. The real port's state at that moment is unknown; this is the state
// the display bus itself leaves behind after an instruction.
inline constexpr std::uint8_t IdleControlValue = 0x09;
inline constexpr std::uint8_t IdleDataValue = 0x00;

}  // namespace lcd
