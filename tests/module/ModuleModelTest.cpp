#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ModuleDriver.h"
#include "module/ModuleModel.h"

namespace lcd::testing {
namespace {

struct Registers {
    bool displayOn;
    std::uint8_t page;
    std::uint8_t y;
    std::uint8_t startLine;
};

struct RamCell {
    int controller;  // 0 left, 1 right
    int page;
    int y;
    std::uint8_t byte;
};

struct DecodeCase {
    std::string name;
    std::function<void(ModuleDriver&)> drive;
    Registers left;
    Registers right;
    std::vector<RamCell> written = {};  // every other RAM byte keeps its power-up value
    std::uint64_t unknownInstructions = 0;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}
std::string CaseName(const ::testing::TestParamInfo<DecodeCase>& row) {
    return row.param.name;
}

constexpr Registers PowerUp{false, 0, 0, 0};

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, ControllersEndInTheExpectedStateWithNoStrayRamWrites) {
    const DecodeCase& c = GetParam();
    ModuleModel model;
    const ModuleSnapshot before = model.Snapshot();
    ModuleDriver driver(model);
    c.drive(driver);
    const ModuleSnapshot after = model.Snapshot();

    const Registers expected[2] = {c.left, c.right};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i == 0 ? "left" : "right");
        const ControllerState& state = after.controllers[static_cast<std::size_t>(i)];
        EXPECT_EQ(state.displayOn, expected[i].displayOn);
        EXPECT_EQ(state.page, expected[i].page);
        EXPECT_EQ(state.y, expected[i].y);
        EXPECT_EQ(state.startLine, expected[i].startLine);
        auto ram = before.controllers[static_cast<std::size_t>(i)].ram;
        for (const RamCell& cell : c.written) {
            if (cell.controller == i) {
                ram[static_cast<std::size_t>(cell.page * 64 + cell.y)] = cell.byte;
            }
        }
        EXPECT_EQ(state.ram, ram);
    }
    EXPECT_EQ(after.unknownInstructions, c.unknownInstructions);
}

INSTANTIATE_TEST_SUITE_P(
    Instructions, DecodeTest,
    ::testing::Values(
        DecodeCase{
            "DisplayOnLeft", [](ModuleDriver& d) { d.Instruction(0x3F, Left); }, {true, 0, 0, 0}, PowerUp},
        DecodeCase{
            "DisplayOnRight", [](ModuleDriver& d) { d.Instruction(0x3F, Right); }, PowerUp, {true, 0, 0, 0}},
        DecodeCase{"DisplayOnBoth",
                   [](ModuleDriver& d) { d.Instruction(0x3F, Both); },
                   {true, 0, 0, 0},
                   {true, 0, 0, 0}},
        DecodeCase{"DisplayOffOneHalf",
                   [](ModuleDriver& d) {
                       d.Instruction(0x3F, Both);
                       d.Instruction(0x3E, Left);
                   },
                   PowerUp,
                   {true, 0, 0, 0}},
        DecodeCase{
            "SetYLeft", [](ModuleDriver& d) { d.Instruction(0x65, Left); }, {false, 0, 37, 0}, PowerUp},
        DecodeCase{"SetYRightHighest",
                   [](ModuleDriver& d) { d.Instruction(0x7F, Right); },
                   PowerUp,
                   {false, 0, 63, 0}},
        DecodeCase{"SetYBoth",
                   [](ModuleDriver& d) { d.Instruction(0x4A, Both); },
                   {false, 0, 10, 0},
                   {false, 0, 10, 0}},
        DecodeCase{
            "SetPageLeft", [](ModuleDriver& d) { d.Instruction(0xBB, Left); }, {false, 3, 0, 0}, PowerUp},
        DecodeCase{
            "SetPageRight", [](ModuleDriver& d) { d.Instruction(0xBD, Right); }, PowerUp, {false, 5, 0, 0}},
        DecodeCase{"SetPageBoth",
                   [](ModuleDriver& d) { d.Instruction(0xBF, Both); },
                   {false, 7, 0, 0},
                   {false, 7, 0, 0}},
        DecodeCase{
            "StartLineLeft", [](ModuleDriver& d) { d.Instruction(0xEA, Left); }, {false, 0, 0, 42}, PowerUp},
        DecodeCase{
            "StartLineRight", [](ModuleDriver& d) { d.Instruction(0xC1, Right); }, PowerUp, {false, 0, 0, 1}},
        DecodeCase{"StartLineBoth",
                   [](ModuleDriver& d) { d.Instruction(0xFF, Both); },
                   {false, 0, 0, 63},
                   {false, 0, 0, 63}},
        DecodeCase{"NeitherSelectedChangesNothing",
                   [](ModuleDriver& d) {
                       d.Instruction(0x3F, Neither);
                       d.Instruction(0xBB, Neither);
                       d.Instruction(0x45, Neither);
                       d.Instruction(0xC7, Neither);
                       d.DataByte(0x55, Neither);
                       d.Instruction(0x00, Neither);
                   },
                   PowerUp, PowerUp}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(DataWrites, DecodeTest,
                         ::testing::Values(DecodeCase{"LeftAtPageAndY",
                                                      [](ModuleDriver& d) {
                                                          d.Instruction(0xBA, Left);
                                                          d.Instruction(0x45, Left);
                                                          d.DataByte(0xA5, Left);
                                                      },
                                                      {false, 2, 6, 0},
                                                      PowerUp,
                                                      {{0, 2, 5, 0xA5}}},
                                           DecodeCase{"RightAtPowerUpAddress",
                                                      [](ModuleDriver& d) { d.DataByte(0x81, Right); },
                                                      PowerUp,
                                                      {false, 0, 1, 0},
                                                      {{1, 0, 0, 0x81}}},
                                           DecodeCase{"BothTakeTheSameByte",
                                                      [](ModuleDriver& d) {
                                                          d.Instruction(0xB9, Both);
                                                          d.Instruction(0x4A, Both);
                                                          d.DataByte(0x3C, Both);
                                                      },
                                                      {false, 1, 11, 0},
                                                      {false, 1, 11, 0},
                                                      {{0, 1, 10, 0x3C}, {1, 1, 10, 0x3C}}},
                                           DecodeCase{"YWrapsFrom63To0WithinThePage",
                                                      [](ModuleDriver& d) {
                                                          d.Instruction(0xBC, Right);
                                                          d.Instruction(0x7E, Right);
                                                          d.DataByte(0x01, Right);
                                                          d.DataByte(0x02, Right);
                                                          d.DataByte(0x03, Right);
                                                      },
                                                      PowerUp,
                                                      {false, 4, 1, 0},
                                                      {{1, 4, 62, 0x01}, {1, 4, 63, 0x02}, {1, 4, 0, 0x03}}},
                                           DecodeCase{"OnlyTheLowByteOfAWordWriteReachesThePins",
                                                      [](ModuleDriver& d) {
                                                          d.Control(0x0101);
                                                          d.Data(0xFFA5);
                                                          d.Control(0x0100);
                                                          d.Control(0x0101);
                                                      },
                                                      {false, 0, 1, 0},
                                                      PowerUp,
                                                      {{0, 0, 0, 0xA5}}}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(
    FallingEdge, DecodeTest,
    ::testing::Values(DecodeCase{"RisingEdgeAloneDoesNothing",
                                 [](ModuleDriver& d) {
                                     d.Control(0x01);
                                     d.Data(0x11);
                                     d.Control(0x00);
                                 },
                                 PowerUp, PowerUp},
                      DecodeCase{"DataChangedWhileEHighIsWhatIsTaken",
                                 [](ModuleDriver& d) {
                                     d.Control(0x01);
                                     d.Data(0x11);
                                     d.Control(0x00);
                                     d.Data(0x22);
                                     d.Control(0x01);
                                 },
                                 {false, 0, 1, 0},
                                 PowerUp,
                                 {{0, 0, 0, 0x22}}},
                      DecodeCase{"InstructionLevelOnDIAtTheFallWins",
                                 [](ModuleDriver& d) {
                                     d.Control(0x01);
                                     d.Data(0x3F);
                                     d.Control(0x00);  // E rises with D/I high (data)
                                     d.Control(0x08);  // D/I drops to instruction while E is high
                                     d.Control(0x09);
                                 },
                                 {true, 0, 0, 0},
                                 PowerUp},
                      DecodeCase{"SelectAtTheFallWins",
                                 [](ModuleDriver& d) {
                                     d.Control(0x09);
                                     d.Data(0xBE);
                                     d.Control(0x08);  // E rises with the left controller selected
                                     d.Control(0x0E);  // the right one instead while E is high
                                     d.Control(0x0F);
                                 },
                                 PowerUp,
                                 {false, 6, 0, 0}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(Unknown, DecodeTest,
                         ::testing::Values(DecodeCase{"EachGapInTheInstructionSetIsCounted",
                                                      [](ModuleDriver& d) {
                                                          for (std::uint8_t byte : {0x00, 0x3D, 0x80, 0xB7}) {
                                                              d.Instruction(byte, Left);
                                                          }
                                                      },
                                                      PowerUp,
                                                      PowerUp,
                                                      {},
                                                      4},
                                           DecodeCase{"OneTransactionToBothCountsOnce",
                                                      [](ModuleDriver& d) { d.Instruction(0x3D, Both); },
                                                      PowerUp,
                                                      PowerUp,
                                                      {},
                                                      1},
                                           DecodeCase{"NotCountedWhenNoControllerIsSelected",
                                                      [](ModuleDriver& d) { d.Instruction(0x3D, Neither); },
                                                      PowerUp,
                                                      PowerUp,
                                                      {},
                                                      0}),
                         CaseName);

TEST(PowerUp, DisplaysOffAddressesZeroAndRamHoldsAFixedVariedPattern) {
    ModuleModel model;
    const ModuleSnapshot snapshot = model.Snapshot();
    for (const ControllerState& state : snapshot.controllers) {
        EXPECT_FALSE(state.displayOn);
        EXPECT_EQ(state.page, 0);
        EXPECT_EQ(state.y, 0);
        EXPECT_EQ(state.startLine, 0);
        // Garbage a person can see once the display is switched on: many different byte values.
        const std::set<std::uint8_t> distinct(state.ram.begin(), state.ram.end());
        EXPECT_GT(distinct.size(), 100u);
    }
    EXPECT_NE(snapshot.controllers[0].ram, snapshot.controllers[1].ram);
    EXPECT_EQ(ModuleModel().Snapshot().controllers, snapshot.controllers);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            ASSERT_FALSE(snapshot.PixelOn(x, y)) << x << "," << y;
        }
    }
}

TEST(PowerUp, PowerCycleRestoresThePowerUpStateAndKeepsTheCounters) {
    ModuleModel model;
    const ModuleSnapshot fresh = model.Snapshot();
    ModuleDriver driver(model);
    driver.Instruction(0x3F, Both);
    driver.Instruction(0xC5, Both);
    driver.Instruction(0xBA, Both);
    driver.DataByte(0x77, Both);
    driver.Instruction(0x00, Left);
    model.PowerCycle();
    const ModuleSnapshot cycled = model.Snapshot();
    EXPECT_EQ(cycled.controllers, fresh.controllers);
    EXPECT_EQ(cycled.unknownInstructions, 1u);
    EXPECT_EQ(cycled.writeCount, 4u * 5 + 4);
}

TEST(ChangeCount, AdvancesWhenAControllerActsAndNotForOtherWrites) {
    ModuleModel model;
    ModuleDriver driver(model);
    const std::uint64_t start = model.ChangeCount();
    driver.Control(0x09);
    driver.Data(0x3F);
    driver.Control(0x08);
    EXPECT_EQ(model.ChangeCount(), start) << "no falling edge yet";
    driver.Control(0x09);
    const std::uint64_t afterEdge = model.ChangeCount();
    EXPECT_GT(afterEdge, start);
    driver.Instruction(0x3E, Neither);
    EXPECT_EQ(model.ChangeCount(), afterEdge) << "no controller selected";
    EXPECT_EQ(model.Snapshot().changeCount, afterEdge);
    model.PowerCycle();
    EXPECT_GT(model.ChangeCount(), afterEdge);
}

}  // namespace
}  // namespace lcd::testing
