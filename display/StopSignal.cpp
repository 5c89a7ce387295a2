#include "StopSignal.h"

namespace lcd {

void StopSignal::RequestStop() {
    {
        std::lock_guard lock(mutex_);
        requested_.store(true, std::memory_order_relaxed);
    }
    wake_.notify_all();
}

void StopSignal::Clear() {
    std::lock_guard lock(mutex_);
    requested_.store(false, std::memory_order_relaxed);
}

void StopSignal::ThrowIfRequested() const {
    if (IsRequested()) {
        throw CommandStopped();
    }
}

void StopSignal::Pause(std::chrono::milliseconds duration) const {
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, duration, [this] { return IsRequested(); })) {
        throw CommandStopped();
    }
}

}  // namespace lcd
