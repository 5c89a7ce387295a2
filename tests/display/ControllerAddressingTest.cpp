#include "BusFixture.h"
#include "BusSequences.h"
#include "display/ControllerAddressing.h"

namespace lcd::testing {
namespace {

struct ColumnCase {
    std::uint8_t x;
    std::uint8_t leftInstruction;
    std::uint8_t rightInstruction;
};

class SetColumnTest : public BusFixture, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(SetColumnTest, ParksTheOtherControllerSoARunCrossesIntoTheRightHalf) {
    SetLCDColumn(bus, GetParam().x);
    EXPECT_EQ(recorder.writes, LeftThenRight(GetParam().leftInstruction, GetParam().rightInstruction));
    EXPECT_EQ(bus.CurrentColumn, GetParam().x);
}

INSTANTIATE_TEST_SUITE_P(Columns, SetColumnTest,
                         ::testing::Values(ColumnCase{0, 0x40, 0x40}, ColumnCase{10, 0x4A, 0x40},
                                           ColumnCase{63, 0x7F, 0x40}, ColumnCase{64, 0x7F, 0x40},
                                           ColumnCase{70, 0x7F, 0x46}, ColumnCase{127, 0x7F, 0x7F},
                                           ColumnCase{130, 0x7F, 0x42}));

TEST_F(BusFixture, PageStartLineAndDisplayOnGoLeftThenRight) {
    SetLCDPage(bus, 3);
    EXPECT_EQ(recorder.writes, ToBoth(0xBB));
    recorder.writes.clear();
    SetLCDStartLine(bus, 0x45);
    EXPECT_EQ(recorder.writes, ToBoth(0xC5)) << "the start line is masked to six bits";
    recorder.writes.clear();
    LCDDisplayOn(bus);
    EXPECT_EQ(recorder.writes, ToBoth(0x3F));
}

TEST_F(BusFixture, ClearSendsStartLineThenZeroesEveryPage) {
    ClearLCD(bus);
    const PageBuffer blank{};
    EXPECT_EQ(recorder.writes, Flatten(WholeScreen(blank, true)));
    EXPECT_EQ(recorder.writes.size(), 10u + 8u * (20u + 128u * 4u));
}

TEST_F(BusFixture, WritePagesSendsEveryByteInPageOrderWithoutTouchingTheStartLine) {
    PageBuffer buffer{};
    buffer[0] = 0x01;              // page 0, column 0
    buffer[63] = 0x80;             // page 0, column 63
    buffer[64] = 0x3C;             // page 0, column 64
    buffer[7 * 128 + 127] = 0xFF;  // page 7, column 127
    WriteLCDPages(bus, buffer);
    EXPECT_EQ(recorder.writes, Flatten(WholeScreen(buffer, false)));
    EXPECT_EQ(bus.CurrentColumn, 128);
}

}  // namespace
}  // namespace lcd::testing
