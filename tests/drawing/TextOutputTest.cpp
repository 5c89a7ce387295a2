#include "drawing/TextOutput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "TextBusEvents.h"

namespace lcd::test {
namespace {

using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

constexpr DisplayHalf L = DisplayHalf::Left;
constexpr DisplayHalf R = DisplayHalf::Right;

// Glyphs typed from the font tables as published for these fonts.
const Bytes SmallA = {0x7E, 0x11, 0x11, 0x11, 0x7E};
const Bytes SmallB = {0x7F, 0x49, 0x49, 0x49, 0x36};
const Bytes LargeA = {0x7C, 0x7E, 0x13, 0x13, 0x7E, 0x7C, 0x00, 0x00};
const Bytes LargeZero = {0x3E, 0x7F, 0x71, 0x59, 0x4D, 0x7F, 0x3E, 0x00};
const Bytes LightShade = {0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00};
const Bytes HollowBox = {0x7F, 0x41, 0x41, 0x41, 0x7F};

std::vector<BusEvent> DataTo(DisplayHalf half, const Bytes& bytes) {
    std::vector<BusEvent> events;
    for (const std::uint8_t byte : bytes) {
        events.push_back(Data(half, byte));
    }
    return events;
}

std::vector<BusEvent> Join(std::initializer_list<std::vector<BusEvent>> parts) {
    std::vector<BusEvent> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

long CountOf(const std::vector<BusEvent>& events, BusEvent::Kind kind) {
    return std::count_if(events.begin(), events.end(), [kind](const BusEvent& e) { return e.kind == kind; });
}

TEST(SetLCDXY, CellTwoOfPageSixSendsColumnTwelveAndPageInstructionBE) {
    RecordedBus rec;
    SetLCDXY(rec.bus, 2, 6);
    const std::uint16_t C = ControlRegister;
    const std::uint16_t D = DataRegister;
    const std::vector<PortWrite> expected = {
        {C, 0x09}, {D, 0x4C}, {C, 0x08}, {C, 0x09}, {D, 0x00},  // left: column 12
        {C, 0x0F}, {D, 0x40}, {C, 0x0E}, {C, 0x0F}, {D, 0x00},  // right parked at its column 0
        {C, 0x09}, {D, 0xBE}, {C, 0x08}, {C, 0x09}, {D, 0x00},  // left: page 6
        {C, 0x0F}, {D, 0xBE}, {C, 0x0E}, {C, 0x0F}, {D, 0x00},  // right: page 6
    };
    EXPECT_THAT(rec.recorder.writes, ElementsAreArray(expected));
    EXPECT_EQ(rec.bus.CurrentColumn, 12);
}

struct CellRow {
    const char* name;
    std::uint8_t x;
    std::uint8_t y;
    std::vector<BusEvent> instructions;
    std::uint8_t column;
};

class SetLCDXYCells : public ::testing::TestWithParam<CellRow> {};

TEST_P(SetLCDXYCells, AddressesColumnSixTimesCellModulo256) {
    RecordedBus rec;
    SetLCDXY(rec.bus, GetParam().x, GetParam().y);
    EXPECT_THAT(rec.Events(), ElementsAreArray(GetParam().instructions));
    EXPECT_EQ(rec.bus.CurrentColumn, GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, SetLCDXYCells,
    ::testing::Values(
        CellRow{"Origin",
                0,
                0,
                {Instruction(L, 0x40), Instruction(R, 0x40), Instruction(L, 0xB8), Instruction(R, 0xB8)},
                0},
        CellRow{"RightHalf",
                11,
                3,
                {Instruction(L, 0x7F), Instruction(R, 0x42), Instruction(L, 0xBB), Instruction(R, 0xBB)},
                66},
        CellRow{"LastCell",
                20,
                7,
                {Instruction(L, 0x7F), Instruction(R, 0x78), Instruction(L, 0xBF), Instruction(R, 0xBF)},
                120},
        CellRow{"CellFiftyWrapsToColumn44",
                50,
                0,
                {Instruction(L, 0x6C), Instruction(R, 0x40), Instruction(L, 0xB8), Instruction(R, 0xB8)},
                44}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PrintLCDText, StreamsEachGlyphWithABlankColumnFromTheCurrentColumn) {
    RecordedBus rec;
    PrintLCDText(rec.bus, "AB");
    EXPECT_THAT(rec.Events(), ElementsAreArray(DataTo(L, {0x7E, 0x11, 0x11, 0x11, 0x7E, 0x00, 0x7F, 0x49,
                                                          0x49, 0x49, 0x36, 0x00})));
    EXPECT_EQ(rec.bus.CurrentColumn, 12);
}

TEST(PrintLCDText, SendsNoAddressAndCrossesIntoTheRightHalfByItself) {
    RecordedBus rec;
    rec.bus.CurrentColumn = 61;
    PrintLCDText(rec.bus, "A");
    EXPECT_THAT(rec.Events(),
                ElementsAreArray(Join({DataTo(L, {0x7E, 0x11, 0x11}), DataTo(R, {0x11, 0x7E, 0x00})})));
    EXPECT_EQ(rec.bus.CurrentColumn, 67);
}

TEST(PrintLCDTextAt, AddressesEveryCharacterAndLeavesTheSixthColumnsUnwritten) {
    RecordedBus rec;
    PrintLCDTextAt(rec.bus, 0, 0, "AB");
    const auto expected = Join({
        {Instruction(L, 0x40), Instruction(R, 0x40), Instruction(L, 0xB8), Instruction(R, 0xB8)},
        DataTo(L, SmallA),
        {Instruction(L, 0x46), Instruction(R, 0x40), Instruction(L, 0xB8), Instruction(R, 0xB8)},
        DataTo(L, SmallB),
    });
    EXPECT_THAT(rec.Events(), ElementsAreArray(expected));
}

TEST(PrintLCDTextAt, ColumnWrapsModulo256SoCharacter43LandsAtColumn2) {
    RecordedBus rec;
    // At 6 columns a cell, character 21 starts at column 126 and keeps two columns, characters 22-42
    // (columns 132-252) are addressed but send nothing, and character 43 wraps to column 2.
    PrintLCDTextAt(rec.bus, 0, 2, std::string(43, 'A') + "B");
    const auto events = rec.Events();
    EXPECT_EQ(CountOf(events, BusEvent::Kind::Instruction), 44 * 4);
    EXPECT_EQ(CountOf(events, BusEvent::Kind::Data), 21 * 5 + 2 + 5);
    const std::vector<BusEvent> tail(events.end() - 9, events.end());
    EXPECT_THAT(tail, ElementsAreArray(Join({{Instruction(L, 0x42), Instruction(R, 0x40),
                                              Instruction(L, 0xBA), Instruction(R, 0xBA)},
                                             DataTo(L, SmallB)})));
}

TEST(PrintLCDChar, GlyphAtColumn62SplitsAcrossTheControllers) {
    RecordedBus rec;
    PrintLCDChar(rec.bus, 62, 0, 'A');
    const auto expected = Join({
        {Instruction(L, 0x7E), Instruction(R, 0x40), Instruction(L, 0xB8), Instruction(R, 0xB8)},
        DataTo(L, {0x7E, 0x11}),
        DataTo(R, {0x11, 0x11, 0x7E}),
    });
    EXPECT_THAT(rec.Events(), ElementsAreArray(expected));
}

struct GlyphRow {
    const char* name;
    std::uint8_t code;
    Bytes glyph;
};

class PrintLCDCharGlyphs : public ::testing::TestWithParam<GlyphRow> {};

TEST_P(PrintLCDCharGlyphs, DrawsTheTableGlyphInsideTheRangeAndTheHollowBoxOutside) {
    RecordedBus rec;
    PrintLCDChar(rec.bus, 10, 4, GetParam().code);
    const auto events = rec.Events();
    const std::vector<BusEvent> data(events.begin() + 4, events.end());
    EXPECT_THAT(data, ElementsAreArray(DataTo(L, GetParam().glyph)));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PrintLCDCharGlyphs,
    ::testing::Values(GlyphRow{"Zero", 0x00, HollowBox}, GlyphRow{"Sub", 0x1A, HollowBox},
                      GlyphRow{"BelowSpace", 0x1F, HollowBox}, GlyphRow{"Space", 0x20, {0, 0, 0, 0, 0}},
                      GlyphRow{"Tilde", 0x7E, {0x08, 0x08, 0x2A, 0x1C, 0x08}},
                      GlyphRow{"Del", 0x7F, {0x08, 0x1C, 0x2A, 0x08, 0x08}},
                      GlyphRow{"High", 0x80, HollowBox}, GlyphRow{"Top", 0xFF, HollowBox}),
    [](const auto& row) { return std::string(row.param.name); });

struct LargeRow {
    const char* name;
    std::uint8_t x;
    std::string text;
    std::vector<BusEvent> data;
};

class PrintLCDLargeTextRows : public ::testing::TestWithParam<LargeRow> {};

TEST_P(PrintLCDLargeTextRows, AddressesOnceThenSendsGlyphsBackToBackUpToTheRightEdge) {
    RecordedBus rec;
    PrintLCDLargeText(rec.bus, GetParam().x, 5, GetParam().text);
    const auto events = rec.Events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events[2], Instruction(L, 0xBD));
    EXPECT_EQ(events[3], Instruction(R, 0xBD));
    const std::vector<BusEvent> data(events.begin() + 4, events.end());
    EXPECT_THAT(data, ElementsAreArray(GetParam().data));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PrintLCDLargeTextRows,
    ::testing::Values(LargeRow{"EmptyStillAddresses", 0, "", {}},
                      LargeRow{"TwoGlyphsNoGap", 0, "A0", Join({DataTo(L, LargeA), DataTo(L, LargeZero)})},
                      // 0xB0 would be a negative index if the character were taken as signed.
                      LargeRow{
                          "HighCodeAcrossTheMiddle", 60, "\xB0",
                          Join({DataTo(L, {0xAA, 0x00, 0x55, 0x00}), DataTo(R, {0xAA, 0x00, 0x55, 0x00})})},
                      LargeRow{"CutAtTheRightEdge", 124, "A0", DataTo(R, {0x7C, 0x7E, 0x13, 0x13})},
                      LargeRow{"StartPastTheEdge", 200, "A", {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PrintLCDLargeText, TwentyCharacterLineAtColumn0ShowsItsFirstSixteen) {
    RecordedBus rec;
    PrintLCDLargeText(rec.bus, 0, 0, "A0A0A0A0A0A0A0A0\xB0\xB0\xB0\xB0");
    std::vector<BusEvent> expected = {Instruction(L, 0x40), Instruction(R, 0x40), Instruction(L, 0xB8),
                                      Instruction(R, 0xB8)};
    for (int i = 0; i < 16; ++i) {
        const auto glyph = DataTo(i < 8 ? L : R, i % 2 == 0 ? LargeA : LargeZero);
        expected.insert(expected.end(), glyph.begin(), glyph.end());
    }
    EXPECT_THAT(rec.Events(), ElementsAreArray(expected));
    EXPECT_EQ(rec.bus.CurrentColumn, 128);
}

TEST(PrintLCDLargeText, MemoLineFillsColumns0To39OfItsPage) {
    RecordedBus rec;
    PrintLCDLargeText(rec.bus, 0, 1, "Memo1");
    const auto events = rec.Events();
    EXPECT_EQ(CountOf(events, BusEvent::Kind::Instruction), 4);
    EXPECT_TRUE(std::all_of(events.begin() + 4, events.end(), [](const BusEvent& e) {
        return e.kind == BusEvent::Kind::Data && e.half == DisplayHalf::Left;
    }));
    EXPECT_EQ(events.size(), 4u + 40u);
    EXPECT_EQ(rec.bus.CurrentColumn, 40);
}

// The texts are C strings at heart: a zero byte ends them, and the 8-bit character index allows no more
// than 255 characters.
struct LengthRow {
    const char* name;
    std::function<void(DisplayBus&, std::string_view)> draw;
    std::string text;
    long instructions;
    long data;
};

class TextLength : public ::testing::TestWithParam<LengthRow> {};

TEST_P(TextLength, ZeroByteEndsTheTextAndAt255CharactersItStops) {
    RecordedBus rec;
    GetParam().draw(rec.bus, GetParam().text);
    const auto events = rec.Events();
    EXPECT_EQ(CountOf(events, BusEvent::Kind::Instruction), GetParam().instructions);
    EXPECT_EQ(CountOf(events, BusEvent::Kind::Data), GetParam().data);
}

const auto Streamed = [](DisplayBus& bus, std::string_view text) { PrintLCDText(bus, text); };
const auto Placed = [](DisplayBus& bus, std::string_view text) { PrintLCDTextAt(bus, 0, 0, text); };
const auto Large = [](DisplayBus& bus, std::string_view text) { PrintLCDLargeText(bus, 0, 0, text); };

INSTANTIATE_TEST_SUITE_P(
    Texts, TextLength,
    ::testing::Values(LengthRow{"StreamedStopsAtZero", Streamed, std::string("A\0BB", 4), 0, 6},
                      LengthRow{"PlacedStopsAtZero", Placed, std::string("A\0BB", 4), 4, 5},
                      LengthRow{"LargeStopsAtZero", Large, std::string("A\0BB", 4), 4, 8},
                      // Of the cells at 6i mod 256 for i = 0-254, those below
                      // column 128 show 632 glyph columns; 300 cells would show 744.
                      LengthRow{"PlacedStopsAfter255", Placed, std::string(300, 'A'), 255 * 4, 632}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lcd::test
