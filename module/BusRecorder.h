#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "display/PortRegisters.h"
#include "display/PortWriteListener.h"
#include "module/PinLevels.h"

namespace lcd {

struct RecordedWrite {
    std::int64_t timestampNs;
    std::uint16_t address;
    std::uint16_t value;
};

// Records the port writes of the last command, for export as a value change dump of the module's pins.
//
// Recording is an append to a vector reserved up front; past MaxBytes it stops and says so through
// Overflowed, so a long command cannot eat the machine's memory.
//
// Threads: PortWritten runs on the writing thread. Everything else (Clear, the counts, the export)
// is for the window's thread while no command runs: the buffer is not guarded.
class BusRecorder : public PortWriteListener {
  public:
    static constexpr std::size_t MaxBytes = 64u << 20;
    static constexpr std::size_t MaxWrites = MaxBytes / sizeof(RecordedWrite);

    explicit BusRecorder(std::size_t maxWrites = MaxWrites);

    void PortWritten(std::uint16_t address, std::uint16_t value, std::int64_t timestampNs) override {
        if (writes_.size() == maxWrites_) {
            overflowed_ = true;
        } else {
            writes_.push_back(RecordedWrite{timestampNs, address, value});
        }
        // Tracked even past the limit, so that the next recording starts from the true register state.
        if (address == ControlRegister) {
            control_ = static_cast<std::uint8_t>(value & 0xFF);
        } else if (address == DataRegister) {
            data_ = static_cast<std::uint8_t>(value & 0xFF);
        }
    }

    // Starts a new command's recording, from the register state the last one left.
    void Clear();
    std::size_t WriteCount() const { return writes_.size(); }
    bool Overflowed() const { return overflowed_; }
    const std::vector<RecordedWrite>& Writes() const { return writes_; }

    void WriteVcd(std::ostream& out) const;
    // Throws std::runtime_error naming the file and the reason when it cannot be written.
    void SaveVcd(const std::string& path) const;

  private:
    std::size_t maxWrites_;
    std::vector<RecordedWrite> writes_;
    bool overflowed_ = false;
    // The registers as they stood when this recording began, and as they stand now.
    std::uint8_t startControl_ = IdleControlValue;
    std::uint8_t startData_ = IdleDataValue;
    std::uint8_t control_ = IdleControlValue;
    std::uint8_t data_ = IdleDataValue;
};

}  // namespace lcd
