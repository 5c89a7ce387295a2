#pragma once

#include <gtest/gtest.h>

#include "RecordingListener.h"
#include "display/DelaySource.h"
#include "display/DisplayBus.h"
#include "display/StopSignal.h"
#include "display/TDLPortIO.h"

namespace lcd::testing {

// A display bus on a port that was never opened, so every write reaches the recorder only.
class BusFixture : public ::testing::Test {
  protected:
    BusFixture() { port.AttachListener(recorder); }

    TDLPortIO port;
    FixedDelayText delay{"0"};
    StopSignal stop;
    DisplayBus bus{port, delay, stop};
    RecordingListener recorder;
};

}  // namespace lcd::testing
