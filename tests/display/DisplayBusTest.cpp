#include <string>

#include "BusFixture.h"
#include "BusSequences.h"
#include "display/StrToInt.h"

namespace lcd::testing {
namespace {

class DisplayBusTest : public BusFixture {};

TEST_F(DisplayBusTest, InstructionToEachControllerIsFiveWritesEndingWithDataZero) {
    bus.WriteLCDCommand(0xB8, DisplayHalf::Right);
    EXPECT_EQ(recorder.writes,
              (std::vector<PortWrite>{Control(0x0F), Data(0xB8), Control(0x0E), Control(0x0F), Data(0x00)}));
    recorder.writes.clear();
    bus.WriteLCDCommand(0xB8, DisplayHalf::Left);
    EXPECT_EQ(recorder.writes,
              (std::vector<PortWrite>{Control(0x09), Data(0xB8), Control(0x08), Control(0x09), Data(0x00)}));
}

struct DataByteCase {
    std::uint8_t column;
    std::vector<PortWrite> expected;
};

class DataByteTest : public BusFixture, public ::testing::WithParamInterface<DataByteCase> {};

TEST_P(DataByteTest, GoesToTheControllerOwningTheColumnAndLeavesTheByteOnTheDataRegister) {
    bus.CurrentColumn = GetParam().column;
    const std::uint8_t byte = 0x55;
    bus.WriteLCDData(&byte, 1);
    EXPECT_EQ(recorder.writes, GetParam().expected);
    EXPECT_EQ(bus.CurrentColumn, GetParam().column + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, DataByteTest,
    ::testing::Values(DataByteCase{70, {Control(0x07), Data(0x55), Control(0x06), Control(0x07)}},
                      DataByteCase{5, {Control(0x01), Data(0x55), Control(0x00), Control(0x01)}},
                      DataByteCase{63, {Control(0x01), Data(0x55), Control(0x00), Control(0x01)}},
                      DataByteCase{64, {Control(0x07), Data(0x55), Control(0x06), Control(0x07)}},
                      DataByteCase{127, {Control(0x07), Data(0x55), Control(0x06), Control(0x07)}}));

TEST_F(DisplayBusTest, RunAcrossColumn63ContinuesOnTheRightControllerWithTheNextByte) {
    const std::uint8_t bytes[] = {0x11, 0x22, 0x33, 0x44, 0x55};
    bus.CurrentColumn = 62;
    bus.WriteLCDData(bytes, 5);
    std::vector<PortWrite> expected;
    Append(expected, DataWrites(0x11, Left));
    Append(expected, DataWrites(0x22, Left));
    Append(expected, DataWrites(0x33, Right));
    Append(expected, DataWrites(0x44, Right));
    Append(expected, DataWrites(0x55, Right));
    EXPECT_EQ(recorder.writes, expected);
    EXPECT_EQ(bus.CurrentColumn, 67);
}

TEST_F(DisplayBusTest, RunPastTheRightEdgeStopsAtColumn127) {
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7, 8};
    bus.CurrentColumn = 124;
    bus.WriteLCDData(bytes, 8);
    std::vector<PortWrite> expected;
    for (std::uint8_t byte : {1, 2, 3, 4}) {
        Append(expected, DataWrites(byte, Right));
    }
    EXPECT_EQ(recorder.writes, expected);
    EXPECT_EQ(bus.CurrentColumn, 128);
}

TEST_F(DisplayBusTest, WritesPastTheRightEdgeSendNothing) {
    const std::uint8_t byte = 0xFF;
    for (int column : {128, 200, 255}) {
        bus.CurrentColumn = static_cast<std::uint8_t>(column);
        bus.WriteLCDData(&byte, 1);
        EXPECT_TRUE(recorder.writes.empty()) << "column " << column;
        EXPECT_EQ(bus.CurrentColumn, column);
    }
}

TEST_F(DisplayBusTest, CountBoundsTheRun) {
    const std::uint8_t bytes[] = {0xA1, 0xA2, 0xA3};
    bus.CurrentColumn = 0;
    bus.WriteLCDData(bytes, 2);
    EXPECT_EQ(recorder.writes.size(), 8u);
    bus.WriteLCDData(bytes, 0);
    EXPECT_EQ(recorder.writes.size(), 8u);
    EXPECT_EQ(bus.CurrentColumn, 2);
}

TEST_F(DisplayBusTest, DataRegisterAfterEachKindOfWrite) {
    const std::uint8_t byte = 0x9C;
    bus.WriteLCDData(&byte, 1);
    EXPECT_EQ(recorder.writes.back(), Control(0x01));
    EXPECT_EQ(recorder.writes[recorder.writes.size() - 3], Data(0x9C)) << "the byte stays on the data lines";
    bus.WriteLCDCommand(0x3F, DisplayHalf::Left);
    EXPECT_EQ(recorder.writes.back(), Data(0x00)) << "an instruction clears the data lines";
}

struct DelayTextCase {
    const char* text;
    bool valid;
};

class DelayTextTest : public BusFixture, public ::testing::WithParamInterface<DelayTextCase> {};

TEST_P(DelayTextTest, InvalidTextStopsBeforeTheFirstWriteAndNamesTheText) {
    delay.SetText(GetParam().text);
    if (GetParam().valid) {
        bus.WriteLCDCommand(0x3F, DisplayHalf::Left);
        EXPECT_EQ(recorder.writes.size(), 5u);
        return;
    }
    try {
        bus.WriteLCDCommand(0x3F, DisplayHalf::Left);
        FAIL() << "no error for '" << GetParam().text << "'";
    } catch (const ConversionError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "'" + std::string(GetParam().text) + "' is not a valid integer value");
    }
    EXPECT_TRUE(recorder.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, DelayTextTest,
                         ::testing::Values(DelayTextCase{"0", true}, DelayTextCase{"-5", true},
                                           DelayTextCase{"-2147483648", true}, DelayTextCase{" 1 ", true},
                                           DelayTextCase{"", false}, DelayTextCase{"abc", false},
                                           DelayTextCase{"1.5", false}, DelayTextCase{"99999999999", false}));

struct ConversionCase {
    const char* text;
    std::int64_t expected;  // -1 stands for "raises"
};

class StrToIntTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(StrToIntTest, AcceptsOnlySigned32BitDecimals) {
    const auto& [text, expected] = GetParam();
    if (expected == -1) {
        EXPECT_THROW(StrToInt(text), ConversionError) << "'" << text << "'";
    } else {
        EXPECT_EQ(StrToInt(text), expected) << "'" << text << "'";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StrToIntTest,
    ::testing::Values(ConversionCase{"1", 1}, ConversionCase{"0", 0}, ConversionCase{"+7", 7},
                      ConversionCase{"  42  ", 42}, ConversionCase{"007", 7},
                      ConversionCase{"2147483647", 2147483647}, ConversionCase{"-2147483648", -2147483648LL},
                      ConversionCase{"-0", 0}, ConversionCase{"2147483648", -1},
                      ConversionCase{"-2147483649", -1}, ConversionCase{"99999999999", -1},
                      ConversionCase{"", -1}, ConversionCase{"   ", -1}, ConversionCase{"+", -1},
                      ConversionCase{"-", -1}, ConversionCase{"1.5", -1}, ConversionCase{"1 2", -1},
                      ConversionCase{"abc", -1}, ConversionCase{"0x10", -1}, ConversionCase{"\t1", -1},
                      ConversionCase{"--1", -1}, ConversionCase{"1e3", -1}));

}  // namespace
}  // namespace lcd::testing
