#pragma once

#include <array>
#include <cstdint>

#include "module/ControllerState.h"
#include "module/TimingChecks.h"

namespace lcd {

// A consistent copy of the module, taken at one moment, for a view on another thread.
struct ModuleSnapshot {
    std::array<ControllerState, 2> controllers{};  // [0] left (CS1), [1] right (CS2)
    std::uint64_t writeCount = 0;                  // port writes seen since program start
    std::uint64_t unknownInstructions = 0;         // since program start
    std::uint64_t changeCount = 0;
    TimingReport timing;

    // The visible image, x 0-127, y 0-63: a controller that is off shows nothing, and screen row y of a
    // half shows RAM line (start line + y) mod 64. Outside the screen nothing is lit.
    bool PixelOn(int x, int y) const;
};

}  // namespace lcd
