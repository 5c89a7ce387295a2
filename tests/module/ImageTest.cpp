#include <gtest/gtest.h>

#include <string>

#include "ModuleDriver.h"
#include "module/ModuleModel.h"

namespace lcd::testing {
namespace {

// The lit pixels of one screen column, top to bottom, as a string of '#' and '.'.
std::string Column(const ModuleSnapshot& snapshot, int x) {
    std::string column;
    for (int y = 0; y < 64; ++y) {
        column += snapshot.PixelOn(x, y) ? '#' : '.';
    }
    return column;
}

std::string OnlyRowLit(int row) {
    std::string column(64, '.');
    column[static_cast<std::size_t>(row)] = '#';
    return column;
}

struct ScrollCase {
    int startLine;
    int ramLine;    // where the one set bit lies in RAM
    int screenRow;  // where it must show
};

void PrintTo(const ScrollCase& c, std::ostream* os) {
    *os << "start line " << c.startLine << ", RAM line " << c.ramLine;
}

class StartLineTest : public ::testing::TestWithParam<ScrollCase> {};

TEST_P(StartLineTest, ScreenRowShowsRamLineStartPlusRowModulo64) {
    const ScrollCase& c = GetParam();
    ModuleModel model;
    ModuleDriver driver(model);
    driver.ZeroRam(Both);
    driver.Instruction(0x3F, Both);
    driver.Instruction(static_cast<std::uint8_t>(0xB8 | (c.ramLine / 8)), Right);
    driver.Instruction(0x45, Right);
    driver.DataByte(static_cast<std::uint8_t>(1 << (c.ramLine % 8)), Right);
    driver.Instruction(static_cast<std::uint8_t>(0xC0 | c.startLine), Right);

    const ModuleSnapshot snapshot = model.Snapshot();
    EXPECT_EQ(Column(snapshot, 64 + 5), OnlyRowLit(c.screenRow));
    EXPECT_EQ(Column(snapshot, 64 + 4), std::string(64, '.'));
}

INSTANTIATE_TEST_SUITE_P(Scroll, StartLineTest,
                         ::testing::Values(ScrollCase{0, 8, 8}, ScrollCase{8, 8, 0}, ScrollCase{60, 0, 4},
                                           ScrollCase{63, 63, 0}, ScrollCase{1, 0, 63},
                                           ScrollCase{32, 5, 37}));

TEST(DisplayOnOff, EachHalfSwitchesAloneAndKeepsItsRamWhileOff) {
    ModuleModel model;
    ModuleDriver driver(model);
    driver.ZeroRam(Both);
    driver.Instruction(0x3F, Left);
    driver.DataByte(0x01, Left);   // left column 0, top row
    driver.DataByte(0x80, Right);  // right column 0 (x 64), row 7: written while that half is off
    ModuleSnapshot snapshot = model.Snapshot();
    EXPECT_TRUE(snapshot.PixelOn(0, 0));
    EXPECT_FALSE(snapshot.PixelOn(64, 7));

    driver.Instruction(0x3F, Right);
    snapshot = model.Snapshot();
    EXPECT_TRUE(snapshot.PixelOn(64, 7)) << "the write made while off must have landed";

    driver.Instruction(0x3E, Left);
    snapshot = model.Snapshot();
    EXPECT_EQ(Column(snapshot, 0), std::string(64, '.'));
    EXPECT_TRUE(snapshot.PixelOn(64, 7));

    driver.Instruction(0x3F, Left);
    snapshot = model.Snapshot();
    EXPECT_EQ(Column(snapshot, 0), OnlyRowLit(0)) << "RAM kept while off";
}

TEST(PixelOn, OutsideTheScreenIsNeverLit) {
    ModuleModel model;
    ModuleDriver driver(model);
    driver.Instruction(0x3F, Both);
    for (std::uint8_t page = 0; page < 8; ++page) {
        driver.Instruction(static_cast<std::uint8_t>(0xB8 | page), Both);
        for (int y = 0; y < 64; ++y) {
            driver.DataByte(0xFF, Both);
        }
    }
    const ModuleSnapshot snapshot = model.Snapshot();
    EXPECT_TRUE(snapshot.PixelOn(0, 0));
    EXPECT_TRUE(snapshot.PixelOn(127, 63));
    for (const auto& [x, y] : {std::pair{-1, 0}, {128, 0}, {0, -1}, {0, 64}, {1000, 1000}}) {
        EXPECT_FALSE(snapshot.PixelOn(x, y)) << x << "," << y;
    }
}

}  // namespace
}  // namespace lcd::testing
