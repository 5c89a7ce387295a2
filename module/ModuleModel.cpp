#include "ModuleModel.h"

#include "display/PortRegisters.h"

namespace lcd {
namespace {

// Distinct seeds so that the two halves do not show the same garbage.
constexpr std::uint32_t LeftSeed = 0x1234'5678;
constexpr std::uint32_t RightSeed = 0x9E37'79B9;

}  // namespace

ModuleModel::ModuleModel() {
    PowerUp(controllers_[0], LeftSeed);
    PowerUp(controllers_[1], RightSeed);
}

void ModuleModel::PortWritten(std::uint16_t address, std::uint16_t value, std::int64_t timestampNs) {
    writeCount_.store(writeCount_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    // A word write: the low byte lands in the register, the high byte goes to the next address, which
    // drives none of the module's pins.
    const auto byte = static_cast<std::uint8_t>(value & 0xFF);
    if (address == DataRegister) {
        if (byte != data_) {
            data_ = byte;
            checker_.DataChanged(timestampNs);
        }
    } else if (address == ControlRegister) {
        ControlWritten(byte, timestampNs);
    }
}

void ModuleModel::ControlWritten(std::uint8_t control, std::int64_t timestampNs) {
    const PinLevels pins = PinLevels::FromControl(control);
    if (pins.di != pins_.di || pins.cs1 != pins_.cs1 || pins.cs2 != pins_.cs2) {
        checker_.AddressChanged(timestampNs);
    }
    const bool rising = pins.e && !pins_.e;
    const bool falling = !pins.e && pins_.e;
    pins_ = pins;
    if (rising) {
        if (const TimingChecker::RuleMask broken = checker_.Rise(timestampNs)) {
            std::lock_guard lock(mutex_);
            RecordViolations(broken);
        }
    } else if (falling) {
        FallingEdge(timestampNs);
    }
}

void ModuleModel::FallingEdge(std::int64_t timestampNs) {
    const TimingChecker::RuleMask broken = checker_.Fall(timestampNs);
    if (!pins_.cs1 && !pins_.cs2 && !broken) {
        return;
    }
    std::lock_guard lock(mutex_);
    RecordViolations(broken);
    const bool selected[2] = {pins_.cs1, pins_.cs2};
    bool unknown = false;
    for (std::size_t i = 0; i < 2; ++i) {
        if (!selected[i]) {
            continue;
        }
        if (pins_.di) {
            WriteDisplayData(controllers_[i], data_);
        } else if (!ExecuteInstruction(controllers_[i], data_)) {
            unknown = true;
        }
    }
    // One bus transaction, however many controllers took it.
    unknownInstructions_ += unknown ? 1 : 0;
    MarkChanged();
}

void ModuleModel::RecordViolations(TimingChecker::RuleMask broken) {
    if (broken) {
        checker_.ReportTo(timing_, broken);
        MarkChanged();
    }
}

void ModuleModel::PowerCycle() {
    std::lock_guard lock(mutex_);
    PowerUp(controllers_[0], LeftSeed);
    PowerUp(controllers_[1], RightSeed);
    MarkChanged();
}

void ModuleModel::ResetTimingChecks() {
    std::lock_guard lock(mutex_);
    timing_ = TimingReport{};
    MarkChanged();
}

ModuleSnapshot ModuleModel::Snapshot() const {
    ModuleSnapshot snapshot;
    {
        std::lock_guard lock(mutex_);
        snapshot.controllers = controllers_;
        snapshot.unknownInstructions = unknownInstructions_;
        snapshot.timing = timing_;
        snapshot.changeCount = changeCount_.load(std::memory_order_relaxed);
    }
    snapshot.writeCount = writeCount_.load(std::memory_order_relaxed);
    return snapshot;
}

}  // namespace lcd
