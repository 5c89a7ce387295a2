#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "display/ControllerAddressing.h"
#include "display/DelayMicroseconds.h"
#include "display/DelaySource.h"
#include "display/DisplayBus.h"
#include "display/PerformanceCounter.h"
#include "display/StopSignal.h"
#include "display/TDLPortIO.h"

namespace {

class CountingListener : public lcd::PortWriteListener {
  public:
    void PortWritten(std::uint16_t, std::uint16_t value, std::int64_t) override {
        ++writes;
        checksum += value;
    }
    std::int64_t writes = 0;
    std::uint64_t checksum = 0;
};

// Our own cost per port write at Delay "0": the Delay text read and converted, the counter read, the
// component's dispatch to one listener.
void FullScreenWrite(benchmark::State& state) {
    lcd::TDLPortIO port;
    CountingListener listener;
    port.AttachListener(listener);
    lcd::FixedDelayText delay("0");
    lcd::StopSignal stop;
    lcd::DisplayBus bus(port, delay, stop);
    lcd::PageBuffer picture{};
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<std::uint8_t>(i * 37);
    }
    for (auto _ : state) {
        lcd::WriteLCDPages(bus, picture);
    }
    benchmark::DoNotOptimize(listener.checksum);
    state.counters["ns_per_port_write"] = benchmark::Counter(
        static_cast<double>(listener.writes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["port_writes_per_screen"] =
        static_cast<double>(listener.writes) / static_cast<double>(state.iterations());
}
BENCHMARK(FullScreenWrite)->Unit(benchmark::kMicrosecond);

// How far past its target a wait ends. A wait that ended early would be a fault, counted separately.
void DelayAccuracy(benchmark::State& state) {
    const auto microseconds = static_cast<std::int32_t>(state.range(0));
    std::vector<std::int64_t> overshoots;
    std::int64_t early = 0;
    for (auto _ : state) {
        std::int64_t before = 0;
        lcd::QueryPerformanceCounter(before);
        const std::int64_t ended = lcd::DelayMicroseconds(microseconds);
        std::int64_t after = 0;
        lcd::QueryPerformanceCounter(after);
        if (ended - before < microseconds * 1000LL) {
            ++early;
        }
        overshoots.push_back(after - before - microseconds * 1000LL);
    }
    std::sort(overshoots.begin(), overshoots.end());
    state.counters["median_overshoot_ns"] = static_cast<double>(overshoots[overshoots.size() / 2]);
    state.counters["worst_overshoot_ns"] = static_cast<double>(overshoots.back());
    state.counters["ended_early"] = static_cast<double>(early);
}
BENCHMARK(DelayAccuracy)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace
