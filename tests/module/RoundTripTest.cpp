#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "BusFixture.h"
#include "display/ControllerAddressing.h"
#include "display/DelaySource.h"
#include "display/DisplayBus.h"
#include "display/StopSignal.h"
#include "display/TDLPortIO.h"
#include "module/ModuleModel.h"

namespace lcd::testing {
namespace {

// The real display bus, with no port open and no delay, driving the model.
class RoundTrip : public BusFixture {
  protected:
    RoundTrip() { port.AttachListener(model); }

    ModuleModel model;
};

TEST_F(RoundTrip, ClearLCDBlanksTheScreenAndZeroesBothRams) {
    LCDDisplayOn(bus);
    SetLCDStartLine(bus, 9);  // a scroll left over from earlier must not survive the clear
    ClearLCD(bus);

    const ModuleSnapshot snapshot = model.Snapshot();
    for (const ControllerState& state : snapshot.controllers) {
        EXPECT_TRUE(state.displayOn);
        EXPECT_EQ(state.startLine, 0);
        EXPECT_EQ(state.ram, (std::array<std::uint8_t, 512>{}));
    }
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            ASSERT_FALSE(snapshot.PixelOn(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(snapshot.unknownInstructions, 0u);
}

struct PagesCase {
    std::string name;
    std::function<void(PageBuffer&)> fill;
    std::function<bool(int x, int y)> lit;  // the picture, written out independently of the buffer layout
};

void PrintTo(const PagesCase& c, std::ostream* os) {
    *os << c.name;
}
std::string CaseName(const ::testing::TestParamInfo<PagesCase>& row) {
    return row.param.name;
}

class WritePagesTest : public RoundTrip, public ::testing::WithParamInterface<PagesCase> {};

TEST_P(WritePagesTest, ImageEqualsTheBufferPixelForPixel) {
    PageBuffer buffer{};
    GetParam().fill(buffer);
    LCDDisplayOn(bus);
    WriteLCDPages(bus, buffer);

    const ModuleSnapshot snapshot = model.Snapshot();
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            ASSERT_EQ(snapshot.PixelOn(x, y), GetParam().lit(x, y)) << "pixel " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, WritePagesTest,
    ::testing::Values(PagesCase{"OnePixelInEachCorner",
                                [](PageBuffer& b) {
                                    b[0] = 0x01;              // page 0, column 0, row 0
                                    b[127] = 0x01;            // page 0, column 127, row 0
                                    b[7 * 128] = 0x80;        // page 7, column 0, row 63
                                    b[7 * 128 + 127] = 0x80;  // page 7, column 127, row 63
                                },
                                [](int x, int y) { return (x == 0 || x == 127) && (y == 0 || y == 63); }},
                      PagesCase{"BytesEitherSideOfTheControllerBoundary",
                                [](PageBuffer& b) {
                                    b[3 * 128 + 63] = 0xFF;
                                    b[3 * 128 + 64] = 0x0F;
                                },
                                [](int x, int y) {
                                    return (x == 63 && y >= 24 && y <= 31) || (x == 64 && y >= 24 && y <= 27);
                                }},
                      PagesCase{"AllLit", [](PageBuffer& b) { b.fill(0xFF); }, [](int, int) { return true; }},
                      PagesCase{"TopRowOfEachPage", [](PageBuffer& b) { b.fill(0x01); },
                                [](int, int y) { return y % 8 == 0; }}),
    CaseName);

}  // namespace
}  // namespace lcd::testing
