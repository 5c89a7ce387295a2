#include "TextOutput.h"

#include <algorithm>

#include "LargeFont.h"
#include "SmallFont.h"
#include "display/ControllerAddressing.h"
#include "display/DisplayBus.h"
#include "display/PageBuffer.h"

namespace lcd {
namespace {

std::string_view DrawnPart(std::string_view text) {
    const std::size_t end = std::min(text.find('\0'), text.size());
    return text.substr(0, std::min(end, MaxTextLength));
}

std::uint8_t CodeOf(char c) {
    return static_cast<std::uint8_t>(c);
}

void WriteSmallGlyph(DisplayBus& bus, std::uint8_t c) {
    const SmallGlyph& glyph = SmallFontGlyph(c);
    bus.WriteLCDData(glyph.data(), glyph.size());
}

bool PastRightEdge(const DisplayBus& bus) {
    return bus.CurrentColumn >= DisplayColumns;
}

}  // namespace

void SetLCDXY(DisplayBus& bus, std::uint8_t x, std::uint8_t y) {
    SetLCDColumn(bus, static_cast<std::uint8_t>(SmallCellWidth * x));
    SetLCDPage(bus, y);
}

void PrintLCDText(DisplayBus& bus, std::string_view text) {
    constexpr std::uint8_t blankColumn = 0x00;
    for (const char c : DrawnPart(text)) {
        WriteSmallGlyph(bus, CodeOf(c));
        bus.WriteLCDData(&blankColumn, 1);
    }
}

void PrintLCDChar(DisplayBus& bus, std::uint8_t x, std::uint8_t page, std::uint8_t c) {
    SetLCDColumn(bus, x);
    SetLCDPage(bus, page);
    WriteSmallGlyph(bus, c);
}

void PrintLCDTextAt(DisplayBus& bus, std::uint8_t x, std::uint8_t page, std::string_view text) {
    std::uint8_t column = x;
    for (const char c : DrawnPart(text)) {
        PrintLCDChar(bus, column, page, CodeOf(c));
        column = static_cast<std::uint8_t>(column + SmallCellWidth);
    }
}

void PrintLCDLargeText(DisplayBus& bus, std::uint8_t x, std::uint8_t page, std::string_view text) {
    SetLCDColumn(bus, x);
    SetLCDPage(bus, page);
    for (const char c : DrawnPart(text)) {
        // Past the edge the bus sends nothing, so the rest of a long line would only cost time.
        if (PastRightEdge(bus)) {
            return;
        }
        const LargeGlyph& glyph = LargeFont[CodeOf(c)];
        bus.WriteLCDData(glyph.data(), glyph.size());
    }
}

}  // namespace lcd
