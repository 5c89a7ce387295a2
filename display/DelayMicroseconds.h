#pragma once

#include <cstdint>

namespace lcd {

class StopSignal;

// Busy-waits n microseconds' worth of whole counter ticks: ticks per microsecond is the counter
// frequency divided by 1,000,000 with the remainder dropped, and the wait lasts until the counter
// reaches start + ticks * n. It never sleeps or yields, and never ends early, except that a stop
// request (when a signal is given) cuts it short. n <= 0 returns after the one read of the start.
// Returns the last counter value read: the moment the wait ended, or 0 if the counter could not be read.
std::int64_t DelayMicroseconds(std::int32_t n, const StopSignal* stop = nullptr);

}  // namespace lcd
