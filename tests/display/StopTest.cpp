#include <chrono>
#include <future>
#include <thread>

#include "BusFixture.h"
#include "BusSequences.h"
#include "display/ControllerAddressing.h"

namespace lcd::testing {
namespace {

using namespace std::chrono_literals;

// Watches the writes from the command thread and asks for a stop once enough of them went by.
class StopAfter : public PortWriteListener {
  public:
    StopAfter(StopSignal& stop, std::size_t writes) : stop_(stop), writes_(writes) {}
    void PortWritten(std::uint16_t, std::uint16_t, std::int64_t) override {
        if (++seen_ == writes_) {
            stop_.RequestStop();
        }
    }

  private:
    StopSignal& stop_;
    std::size_t writes_;
    std::size_t seen_ = 0;
};

class StopTest : public BusFixture {
  protected:
    // Runs a Clear on its own thread; fails the test instead of hanging if the stop does not end it.
    void ClearOnAThread(std::chrono::milliseconds askAfter) {
        auto command = std::async(std::launch::async, [this] { ClearLCD(bus); });
        if (askAfter.count() > 0) {
            std::this_thread::sleep_for(askAfter);
            stop.RequestStop();
        }
        ASSERT_EQ(command.wait_for(30s), std::future_status::ready) << "the stop did not end the command";
        EXPECT_THROW(command.get(), CommandStopped);
    }

    // The writes sent must be the first whole transactions of a full Clear, with E left low.
    void ExpectWholeTransactionsOfAClear() {
        const PageBuffer blank{};
        const Transactions full = WholeScreen(blank, true);
        std::vector<PortWrite> expected;
        for (const auto& transaction : full) {
            if (expected.size() >= recorder.writes.size()) {
                break;
            }
            Append(expected, transaction);
        }
        EXPECT_EQ(recorder.writes, expected) << "a transaction was cut in half";
        const auto lastControl =
            std::find_if(recorder.writes.rbegin(), recorder.writes.rend(),
                         [](const PortWrite& w) { return w.address == ControlRegister; });
        ASSERT_NE(lastControl, recorder.writes.rend());
        EXPECT_EQ(lastControl->value & 0x01, 1) << "E must end low";
    }
};

TEST_F(StopTest, AHugeDelayIsCutShortAndTheInstructionUnderWayIsFinished) {
    delay.SetText("2000000000");
    ClearOnAThread(50ms);
    EXPECT_EQ(recorder.writes, InstructionWrites(0xC0, Left));
}

TEST_F(StopTest, StopMidDataRunLeavesOnlyWholeBytes) {
    // Stop lands in every position of a data byte's writes and of an instruction's.
    for (std::size_t stopAt : {20u + 20u + 1u, 20u + 20u + 2u, 20u + 20u + 3u, 20u + 20u + 4u, 7u, 9u}) {
        recorder.writes.clear();
        stop.Clear();
        StopAfter stopper(stop, stopAt);
        port.AttachListener(stopper);
        ClearOnAThread(0ms);
        port.DetachListener(stopper);
        ExpectWholeTransactionsOfAClear();
        EXPECT_GE(recorder.writes.size(), stopAt);
    }
}

TEST_F(StopTest, StopWhileDelayingAtARealPaceEndsPromptly) {
    delay.SetText("100000");
    ClearOnAThread(30ms);
    ExpectWholeTransactionsOfAClear();
}

TEST_F(StopTest, AStopAskedBeforeACommandSendsNothing) {
    stop.RequestStop();
    EXPECT_THROW(ClearLCD(bus), CommandStopped);
    EXPECT_TRUE(recorder.writes.empty());
    stop.Clear();
    SetLCDPage(bus, 1);
    EXPECT_EQ(recorder.writes.size(), 10u) << "a cleared stop lets the next command run";
}

TEST(StopSignal, EndsAPauseAtOnce) {
    StopSignal stop;
    auto pause = std::async(std::launch::async, [&stop] { stop.Pause(std::chrono::hours(1)); });
    std::this_thread::sleep_for(20ms);
    stop.RequestStop();
    ASSERT_EQ(pause.wait_for(30s), std::future_status::ready);
    EXPECT_THROW(pause.get(), CommandStopped);
    stop.Clear();
    EXPECT_NO_THROW(stop.Pause(1ms));
}

}  // namespace
}  // namespace lcd::testing
