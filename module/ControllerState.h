#pragma once

#include <array>
#include <cstdint>

namespace lcd {

// One KS0108 controller: its registers and its 64 columns x 8 pages of display RAM.
struct ControllerState {
    bool displayOn;
    std::uint8_t page;                  // X address, 0-7
    std::uint8_t y;                     // Y address (column), 0-63
    std::uint8_t startLine;             // RAM line shown on the top screen row, 0-63
    std::array<std::uint8_t, 512> ram;  // index page * 64 + y; bit 0 the top row of the page

    friend bool operator==(const ControllerState&, const ControllerState&) = default;
};

// Display off, every address 0, and RAM filled with a fixed pseudo-random pattern: the real RAM holds
// garbage at power-up, and the pattern shows a person what Initialize and Clear are for. Each seed gives
// its own pattern, the same every time.
void PowerUp(ControllerState& controller, std::uint32_t seed);

// Carries out one instruction byte. Returns false, changing nothing, for a byte that is no instruction.
inline bool ExecuteInstruction(ControllerState& controller, std::uint8_t instruction) {
    if (instruction >= 0xC0) {
        controller.startLine = instruction & 0x3F;
    } else if (instruction >= 0xB8) {
        controller.page = instruction & 0x07;
    } else if (instruction >= 0x40 && instruction <= 0x7F) {
        controller.y = instruction & 0x3F;
    } else if ((instruction & 0xFE) == 0x3E) {
        controller.displayOn = (instruction & 0x01) != 0;
    } else {
        return false;
    }
    return true;
}

// Stores a byte at (page, Y); Y then advances, wrapping within the page.
inline void WriteDisplayData(ControllerState& controller, std::uint8_t byte) {
    // Masked so that a state built by hand with out-of-range addresses cannot write past the RAM.
    controller.ram[(controller.page & 0x07u) * 64u + (controller.y & 0x3Fu)] = byte;
    controller.y = (controller.y + 1) & 0x3F;
}

}  // namespace lcd
