#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ModuleDriver.h"
#include "module/ModuleModel.h"

namespace lcd::testing {
namespace {

// The writer fills page 0 of the left controller pass after pass, every byte of pass k holding k. A
// snapshot taken on another thread must show a state between two edges: bytes before Y hold the
// current pass, bytes from Y on the one before, and the change count never goes back.
TEST(SnapshotFromAnotherThread, AlwaysShowsAStateBetweenTwoEdges) {
    ModuleModel model;
    ModuleDriver driver(model);
    driver.ZeroRam(Left);
    constexpr int Passes = 40;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int pass = 1; pass <= Passes; ++pass) {
            for (int y = 0; y < 64; ++y) {
                driver.DataByte(static_cast<std::uint8_t>(pass), Left);
            }
        }
        done = true;
    });

    std::uint64_t lastChange = 0;
    int inconsistent = 0;
    int taken = 0;
    while (!done) {
        const ModuleSnapshot snapshot = model.Snapshot();
        ++taken;
        EXPECT_GE(snapshot.changeCount, lastChange);
        lastChange = snapshot.changeCount;
        const ControllerState& left = snapshot.controllers[0];
        const int current = left.ram[0];
        const int previous = current == 0 ? 0 : current - 1;
        for (int y = 0; y < 64; ++y) {
            const int expected = left.y == 0 ? current : (y < left.y ? current : previous);
            inconsistent += left.ram[static_cast<std::size_t>(y)] == expected ? 0 : 1;
        }
    }
    writer.join();
    EXPECT_EQ(inconsistent, 0) << "over " << taken << " snapshots";
    const ModuleSnapshot last = model.Snapshot();
    EXPECT_EQ(last.controllers[0].ram[0], Passes);
    EXPECT_EQ(last.controllers[0].ram[63], Passes);
}

}  // namespace
}  // namespace lcd::testing
