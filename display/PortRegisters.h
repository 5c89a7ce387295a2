#pragma once

#include <cstdint>

namespace lcd {

// The first PC parallel port. The module's data lines hang on the data register; E, D/I and the two
// chip selects hang on the control register.
inline constexpr std::uint16_t DataRegister = 0x378;
inline constexpr std::uint16_t StatusRegister = 0x379;
inline constexpr std::uint16_t ControlRegister = 0x37A;

}  // namespace lcd
