#pragma once

// The 128 x 64 module: two KS0108 controllers fed by the parallel port's register writes.
//
// Modelled:
// - pins from the registers: E = not control bit 0, D/I = not bit 3 (low = instruction), CS1 (left) high
//   when bit 1 is 0, CS2 (right) high when bit 2 is 1; both, one or neither controller may be selected;
// - the falling edge of E: the selected controllers take D/I and the data lines as they stand at that
//   edge; the rising edge does nothing;
// - instructions: display on/off (0x3E/0x3F), set Y (0x40-0x7F), set page (0xB8-0xBF), set start line
//   (0xC0-0xFF); any other byte changes nothing and is counted as unknown;
// - data writes: stored at (page, Y), then Y advances and wraps 63 -> 0 within the page;
// - the image: a controller that is off shows nothing, but keeps its RAM and still takes writes; screen
//   row r shows RAM line (start line + r) mod 64;
// - power-up: display off, page, Y and start line 0, RAM a fixed pseudo-random pattern;
// - the write-cycle timings (TimingChecks.h).
//
// Not modelled: reads (R/W is tied low), the busy flag (a write during an internal operation is taken
// as if the controller were idle), the reset pin (tied high), control bits 4-7, the status register.
//
// Threads: PortWritten runs on the one writing thread. Only a falling edge of E that reaches a
// controller, or a broken timing rule, takes the lock, so the writer is never held up for more than
// a snapshot's copy of the two RAMs.

#include <atomic>
#include <cstdint>
#include <mutex>

#include "display/PortWriteListener.h"
#include "module/ControllerState.h"
#include "module/ModuleSnapshot.h"
#include "module/PinLevels.h"
#include "module/TimingChecks.h"

namespace lcd {

class ModuleModel : public PortWriteListener {
  public:
    ModuleModel();  // powered up

    void PortWritten(std::uint16_t address, std::uint16_t value, std::int64_t timestampNs) override;

    // Power-up state again; counters and timing results are kept. For the window's thread while no
    // command runs.
    void PowerCycle();
    // Clears the timing counts and worst values; the window calls it before each command. The times of
    // the last edges are kept, as the pins themselves do not change.
    void ResetTimingChecks();

    // Any thread, any time.
    ModuleSnapshot Snapshot() const;
    // Advances whenever the snapshot's image, registers, unknown-instruction count or timing results
    // change (not for each port write), so a view can skip repainting. Any thread, cheap.
    std::uint64_t ChangeCount() const { return changeCount_.load(std::memory_order_acquire); }

  private:
    void ControlWritten(std::uint8_t control, std::int64_t timestampNs);
    void FallingEdge(std::int64_t timestampNs);
    void RecordViolations(TimingChecker::RuleMask broken);
    void MarkChanged() {
        changeCount_.store(changeCount_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }

    // Writer-thread only.
    PinLevels pins_ = PinLevels::FromControl(IdleControlValue);
    std::uint8_t data_ = IdleDataValue;
    TimingChecker checker_;

    // Written by the writer alone, read by anyone.
    std::atomic<std::uint64_t> writeCount_{0};
    std::atomic<std::uint64_t> changeCount_{0};

    // Guarded by mutex_.
    mutable std::mutex mutex_;
    std::array<ControllerState, 2> controllers_{};
    std::uint64_t unknownInstructions_ = 0;
    TimingReport timing_;
};

}  // namespace lcd
