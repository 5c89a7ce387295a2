#include "ControllerAddressing.h"

#include "DisplayBus.h"

namespace lcd {
namespace {

constexpr std::uint8_t DisplayOn = 0x3F;
constexpr std::uint8_t SetColumn = 0x40;
constexpr std::uint8_t SetPage = 0xB8;
constexpr std::uint8_t SetStartLine = 0xC0;

void ToBoth(DisplayBus& bus, std::uint8_t instruction) {
    bus.WriteLCDCommand(instruction, DisplayHalf::Left);
    bus.WriteLCDCommand(instruction, DisplayHalf::Right);
}

template <typename ByteAt>
void WriteEveryPage(DisplayBus& bus, ByteAt byteAt) {
    for (std::uint8_t page = 0; page < DisplayPages; ++page) {
        SetLCDPage(bus, page);
        SetLCDColumn(bus, 0);
        for (int column = 0; column < DisplayColumns; ++column) {
            const std::uint8_t byte = byteAt(page * DisplayColumns + column);
            bus.WriteLCDData(&byte, 1);
        }
    }
}

}  // namespace

void LCDDisplayOn(DisplayBus& bus) {
    ToBoth(bus, DisplayOn);
}

void SetLCDColumn(DisplayBus& bus, std::uint8_t x) {
    bus.CurrentColumn = x;
    if (x < ControllerColumns) {
        bus.WriteLCDCommand(SetColumn | (x & 0x3F), DisplayHalf::Left);
        bus.WriteLCDCommand(SetColumn, DisplayHalf::Right);
    } else {
        bus.WriteLCDCommand(SetColumn | 0x3F, DisplayHalf::Left);
        bus.WriteLCDCommand(SetColumn | ((x - ControllerColumns) & 0x3F), DisplayHalf::Right);
    }
}

void SetLCDPage(DisplayBus& bus, std::uint8_t page) {
    ToBoth(bus, SetPage | page);
}

void SetLCDStartLine(DisplayBus& bus, std::uint8_t line) {
    ToBoth(bus, SetStartLine | (line & 0x3F));
}

void ClearLCD(DisplayBus& bus) {
    SetLCDStartLine(bus, 0);
    WriteEveryPage(bus, [](int) { return std::uint8_t{0}; });
}

void WriteLCDPages(DisplayBus& bus, const PageBuffer& buffer) {
    WriteEveryPage(bus, [&buffer](int index) { return buffer[static_cast<std::size_t>(index)]; });
}

}  // namespace lcd
