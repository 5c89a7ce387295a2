#include "DisplayBus.h"

#include "DelayMicroseconds.h"
#include "DelaySource.h"
#include "PortRegisters.h"
#include "StopSignal.h"
#include "StrToInt.h"
#include "TDLPortIO.h"

namespace lcd {
namespace {

// Control-register bits on top of the DisplayHalf base. Bit 0 (nStrobe) is inverted at the connector,
// so 1 holds E low; bit 3 (nSelectIn) is inverted too, so 1 puts D/I low for an instruction.
constexpr std::uint8_t EnableLow = 0x01;
constexpr std::uint8_t Instruction = 0x08;

constexpr int SettledMicroseconds = 1;

}  // namespace

std::int64_t DisplayBus::LCDDelay() {
    return DelayMicroseconds(StrToInt(delay_.DelayText()), &stop_);
}

void DisplayBus::WriteRegister(std::uint16_t address, std::uint8_t value) {
    // Once a stop is asked for, the transaction under way is finished at a safe pace instead of the
    // Delay, so that a huge Delay cannot hold the stop up.
    const std::int64_t now = stop_.IsRequested() ? DelayMicroseconds(SettledMicroseconds) : LCDDelay();
    port_.SetPortWord(address, value, now);
}

void DisplayBus::WriteLCDCommand(std::uint8_t value, DisplayHalf half) {
    stop_.ThrowIfRequested();
    const auto base = static_cast<std::uint8_t>(half);
    WriteRegister(ControlRegister, base | Instruction | EnableLow);
    WriteRegister(DataRegister, value);
    WriteRegister(ControlRegister, base | Instruction);
    WriteRegister(ControlRegister, base | Instruction | EnableLow);  // falling edge: the controller takes it
    WriteRegister(DataRegister, 0x00);
    stop_.ThrowIfRequested();
}

void DisplayBus::WriteLCDData(const std::uint8_t* bytes, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        if (CurrentColumn > 127) {
            return;
        }
        stop_.ThrowIfRequested();
        const auto base =
            static_cast<std::uint8_t>(CurrentColumn <= 63 ? DisplayHalf::Left : DisplayHalf::Right);
        WriteRegister(ControlRegister, base | EnableLow);
        WriteRegister(DataRegister, bytes[i]);
        WriteRegister(ControlRegister, base);
        WriteRegister(ControlRegister, base | EnableLow);  // falling edge: the controller takes the byte
        ++CurrentColumn;
    }
    stop_.ThrowIfRequested();
}

}  // namespace lcd
