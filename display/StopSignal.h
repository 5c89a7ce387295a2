#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>

namespace lcd {

// Thrown when a command ends because a stop was asked for. It is an outcome, not a failure, so it
// does not derive from std::runtime_error and a catch of errors does not swallow it by accident.
class CommandStopped : public std::exception {
  public:
    const char* what() const noexcept override { return "stopped"; }
};

// A stop request handed from the window's thread to the command thread. The busy-wait polls it, and a
// pause sleeps on it, so a request ends either at once.
class StopSignal {
  public:
    void RequestStop();
    void Clear();
    bool IsRequested() const { return requested_.load(std::memory_order_relaxed); }
    void ThrowIfRequested() const;

    // Sleeps for the given time unless a stop is asked for first; throws CommandStopped if one is.
    void Pause(std::chrono::milliseconds duration) const;

  private:
    std::atomic<bool> requested_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable wake_;
};

}  // namespace lcd
