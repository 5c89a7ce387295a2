#include <gtest/gtest.h>

#include "BusFixture.h"
#include "display/ControllerAddressing.h"
#include "display/DelayMicroseconds.h"
#include "display/PerformanceCounter.h"

namespace lcd::testing {
namespace {

std::int64_t Now() {
    std::int64_t ticks = 0;
    EXPECT_TRUE(QueryPerformanceCounter(ticks));
    return ticks;
}

TEST(DelayMicroseconds, NeverEndsEarly) {
    for (std::int32_t n : {1, 10, 250}) {
        for (int repeat = 0; repeat < 20; ++repeat) {
            const std::int64_t before = Now();
            const std::int64_t ended = DelayMicroseconds(n);
            EXPECT_GE(ended - before, n * 1000LL) << n << " us";
            EXPECT_GE(Now(), ended);
        }
    }
}

TEST(DelayMicroseconds, ZeroOrNegativeReturnsTheStartReadingAtOnce) {
    for (std::int32_t n : {0, -1, -2147483647 - 1}) {
        const std::int64_t before = Now();
        const std::int64_t ended = DelayMicroseconds(n);
        EXPECT_GE(ended, before);
        EXPECT_LE(ended, Now());
    }
}

TEST(DelayMicroseconds, StopCutsAWaitShort) {
    StopSignal stop;
    stop.RequestStop();
    const std::int64_t before = Now();
    const std::int64_t ended = DelayMicroseconds(2'000'000'000, &stop);
    EXPECT_LT(ended - before, 1'000'000'000LL) << "a stop must not wait out a 33-minute Delay";
}

class PacedBus : public BusFixture {};

TEST_F(PacedBus, DefaultDelayWaitsAWholeMicrosecondBeforeEveryWrite) {
    delay.SetText("1");
    SetLCDPage(bus, 2);
    const std::uint8_t bytes[] = {1, 2, 3};
    bus.WriteLCDData(bytes, 3);
    ASSERT_EQ(recorder.timestamps.size(), 10u + 12u);
    for (std::size_t i = 1; i < recorder.timestamps.size(); ++i) {
        EXPECT_GE(recorder.timestamps[i] - recorder.timestamps[i - 1], 1000) << "write " << i;
    }
}

}  // namespace
}  // namespace lcd::testing
