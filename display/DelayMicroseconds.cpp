#include "DelayMicroseconds.h"

#include "PerformanceCounter.h"
#include "StopSignal.h"

namespace lcd {

std::int64_t DelayMicroseconds(std::int32_t n, const StopSignal* stop) {
    std::int64_t ticksPerMicrosecond = 0;
    std::int64_t frequency = 0;
    if (QueryPerformanceFrequency(frequency)) {
        ticksPerMicrosecond = frequency / 1'000'000;
    }
    std::int64_t start = 0;
    if (!QueryPerformanceCounter(start)) {
        return 0;
    }
    const std::int64_t target = start + ticksPerMicrosecond * static_cast<std::int64_t>(n);
    std::int64_t now = start;
    while (now < target) {
        if (stop != nullptr && stop->IsRequested()) {
            break;
        }
        if (!QueryPerformanceCounter(now)) {
            return 0;
        }
    }
    return now;
}

}  // namespace lcd
