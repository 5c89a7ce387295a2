#pragma once

#include <cstdint>

#include "PageBuffer.h"

namespace lcd {

class DisplayBus;

// The two 64-column controllers addressed as one 128-column display. Every instruction goes to the
// left controller first, then to the right one.

void LCDDisplayOn(DisplayBus& bus);

// Sets CurrentColumn and both controllers' column addresses. While the column lies in the left half the
// right controller is parked at its column 0, so a data run crosses into the right half by itself.
void SetLCDColumn(DisplayBus& bus, std::uint8_t x);

// Sets both controllers' page; callers pass 0-7 (the value is not masked).
void SetLCDPage(DisplayBus& bus, std::uint8_t page);

void SetLCDStartLine(DisplayBus& bus, std::uint8_t line);

// Start line 0, then every page written with zero bytes.
void ClearLCD(DisplayBus& bus);

// The whole buffer, page by page, one data write per byte; the start line is not touched.
void WriteLCDPages(DisplayBus& bus, const PageBuffer& buffer);

}  // namespace lcd
