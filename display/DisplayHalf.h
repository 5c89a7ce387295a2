#pragma once

#include <cstdint>

namespace lcd {

// Which controller a write goes to, held as its control-register base value: both chip-select bits
// clear selects the left controller (columns 0-63), both set the right one (columns 64-127).
enum class DisplayHalf : std::uint8_t { Left = 0x00, Right = 0x06 };

}  // namespace lcd
