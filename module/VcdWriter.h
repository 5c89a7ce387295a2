#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>

#include "module/BusRecorder.h"

namespace lcd {

struct VcdRecording {
    std::span<const RecordedWrite> writes;
    std::uint8_t startControl;  // the registers before the first write
    std::uint8_t startData;
    bool overflowed;
};

// Time 0 of the dump lies this long before the first write, so the levels before it can be seen.
inline constexpr std::int64_t VcdLeadInNs = 1000;

// Writes an IEEE 1364 value change dump of the module's pins: the data lines as the bus D[7:0] and as
// D0-D7, then E, DI, CS1 and CS2, in nanoseconds from VcdLeadInNs before the first write. Only level
// changes are written; a timestamp earlier than the one before it is taken as that one, because the
// format cannot go back in time.
void WriteVcd(std::ostream& out, const VcdRecording& recording);

}  // namespace lcd
