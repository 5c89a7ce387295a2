#pragma once

#include <cstdint>
#include <ctime>

namespace lcd {

// A high-resolution tick counter: the monotonic clock, counted in nanoseconds. Both calls report whether
// they could be read, as the busy-wait must cope with a counter that cannot.
inline bool QueryPerformanceFrequency(std::int64_t& ticksPerSecond) {
    ticksPerSecond = 1'000'000'000;
    return true;
}

inline bool QueryPerformanceCounter(std::int64_t& ticks) {
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) {
        return false;
    }
    ticks = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    return true;
}

}  // namespace lcd
