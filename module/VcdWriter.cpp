#include "VcdWriter.h"

#include <limits>
#include <ostream>

#include "display/PortRegisters.h"
#include "module/PinLevels.h"

namespace lcd {
namespace {

// Identifier codes: one character per signal. Letters that a parser might take for a value ('b', 'r',
// 'x', 'z') and '$' and '#', which start keywords and times, are kept out.
constexpr char BusId = '!';
constexpr char FirstDataBitId = 'c';  // D0; D1-D7 follow, up to 'j'
constexpr char EnableId = 'k';
constexpr char DataInstructionId = 'l';
constexpr char Select1Id = 'm';
constexpr char Select2Id = 'n';

struct Levels {
    std::uint8_t data;
    PinLevels pins;
};

void WriteHeader(std::ostream& out, const VcdRecording& recording) {
    out << "$version KS0108 module bus recorder $end\n";
    out << "$comment Time 0 is " << VcdLeadInNs
        << " ns before the first recorded write. To read the bytes the module took, decode D0-D7 in "
           "parallel, clocked by E on its falling edge. $end\n";
    if (recording.overflowed) {
        out << "$comment Recording stopped after " << recording.writes.size()
            << " writes: the recorder keeps at most 64 MiB. $end\n";
    }
    out << "$timescale 1 ns $end\n";
    out << "$scope module lcd $end\n";
    out << "$var wire 8 " << BusId << " D [7:0] $end\n";
    for (int bit = 0; bit < 8; ++bit) {
        out << "$var wire 1 " << static_cast<char>(FirstDataBitId + bit) << " D" << bit << " $end\n";
    }
    out << "$var wire 1 " << EnableId << " E $end\n";
    out << "$var wire 1 " << DataInstructionId << " DI $end\n";
    out << "$var wire 1 " << Select1Id << " CS1 $end\n";
    out << "$var wire 1 " << Select2Id << " CS2 $end\n";
    out << "$upscope $end\n";
    out << "$enddefinitions $end\n";
}

void WriteScalar(std::ostream& out, bool level, char id) {
    out << (level ? '1' : '0') << id << '\n';
}

void WriteBus(std::ostream& out, std::uint8_t data) {
    char text[8];
    for (int bit = 0; bit < 8; ++bit) {
        text[7 - bit] = ((data >> bit) & 1) ? '1' : '0';
    }
    out << 'b';
    out.write(text, sizeof text);
    out << ' ' << BusId << '\n';
}

// Writes the signals that differ between before and after; all of them when before is null.
void WriteChanges(std::ostream& out, const Levels* before, const Levels& after) {
    if (!before || before->data != after.data) {
        WriteBus(out, after.data);
        for (int bit = 0; bit < 8; ++bit) {
            const bool level = (after.data >> bit) & 1;
            if (!before || ((before->data >> bit) & 1) != level) {
                WriteScalar(out, level, static_cast<char>(FirstDataBitId + bit));
            }
        }
    }
    if (!before || before->pins.e != after.pins.e) {
        WriteScalar(out, after.pins.e, EnableId);
    }
    if (!before || before->pins.di != after.pins.di) {
        WriteScalar(out, after.pins.di, DataInstructionId);
    }
    if (!before || before->pins.cs1 != after.pins.cs1) {
        WriteScalar(out, after.pins.cs1, Select1Id);
    }
    if (!before || before->pins.cs2 != after.pins.cs2) {
        WriteScalar(out, after.pins.cs2, Select2Id);
    }
}

std::int64_t SaturatingSubtract(std::int64_t a, std::int64_t b) {
    std::int64_t result = 0;
    if (__builtin_sub_overflow(a, b, &result)) {
        return b > 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    }
    return result;
}

}  // namespace

void WriteVcd(std::ostream& out, const VcdRecording& recording) {
    WriteHeader(out, recording);
    Levels levels{recording.startData, PinLevels::FromControl(recording.startControl)};
    out << "#0\n$dumpvars\n";
    WriteChanges(out, nullptr, levels);
    out << "$end\n";
    if (recording.writes.empty()) {
        return;
    }
    const std::int64_t origin = SaturatingSubtract(recording.writes.front().timestampNs, VcdLeadInNs);
    std::int64_t lastTime = 0;
    for (const RecordedWrite& write : recording.writes) {
        Levels next = levels;
        const auto byte = static_cast<std::uint8_t>(write.value & 0xFF);
        if (write.address == DataRegister) {
            next.data = byte;
        } else if (write.address == ControlRegister) {
            next.pins = PinLevels::FromControl(byte);
        }
        if (next.data == levels.data && next.pins == levels.pins) {
            continue;
        }
        std::int64_t time = SaturatingSubtract(write.timestampNs, origin);
        if (time > lastTime) {
            out << '#' << time << '\n';
            lastTime = time;
        }
        WriteChanges(out, &levels, next);
        levels = next;
    }
}

}  // namespace lcd
