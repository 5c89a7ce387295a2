#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/LargeFont.h"
#include "drawing/SmallFont.h"

namespace lcd {
namespace {

using ::testing::ElementsAreArray;

struct LargeGlyphRow {
    const char* name;
    std::uint8_t code;
    std::vector<std::uint8_t> columns;
};

class LargeFontTellingRows : public ::testing::TestWithParam<LargeGlyphRow> {};

TEST_P(LargeFontTellingRows, GlyphMatchesTheCodePage437Shape) {
    EXPECT_THAT(LargeFont[GetParam().code], ElementsAreArray(GetParam().columns));
}

INSTANTIATE_TEST_SUITE_P(
    Glyphs, LargeFontTellingRows,
    ::testing::Values(LargeGlyphRow{"Null", 0x00, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
                      LargeGlyphRow{"Space", 0x20, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
                      LargeGlyphRow{
                          "NonBreakingSpace", 0xFF, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
                      LargeGlyphRow{"SmilingFace", 0x01, {0x7E, 0x81, 0x95, 0xB1, 0xB1, 0x95, 0x81, 0x7E}},
                      LargeGlyphRow{"DigitZero", 0x30, {0x3E, 0x7F, 0x71, 0x59, 0x4D, 0x7F, 0x3E, 0x00}},
                      LargeGlyphRow{"CapitalA", 0x41, {0x7C, 0x7E, 0x13, 0x13, 0x7E, 0x7C, 0x00, 0x00}},
                      LargeGlyphRow{"SmallG", 0x67, {0x98, 0xBC, 0xA4, 0xA4, 0xF8, 0x7C, 0x04, 0x00}},
                      LargeGlyphRow{"UWithDiaeresis", 0x81, {0x3A, 0x7A, 0x40, 0x40, 0x7A, 0x7A, 0x40, 0x00}},
                      LargeGlyphRow{"LightShade", 0xB0, {0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00}},
                      LargeGlyphRow{"HorizontalLine", 0xC4, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10}},
                      LargeGlyphRow{"FullBlock", 0xDB, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
                      LargeGlyphRow{"DegreeSign", 0xF8, {0x00, 0x06, 0x0F, 0x09, 0x0F, 0x06, 0x00, 0x00}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LargeFont, LettersAndDigitsKeepColumn7BlankAsTheGapToTheNextCharacter) {
    for (const char* range : {"09", "AZ", "az"}) {
        for (int code = range[0]; code <= range[1]; ++code) {
            EXPECT_EQ(LargeFont[code][7], 0x00) << "code 0x" << std::hex << code;
        }
    }
}

struct SmallGlyphRow {
    const char* name;
    char code;
    std::vector<std::uint8_t> columns;
};

class SmallFontRows : public ::testing::TestWithParam<SmallGlyphRow> {};

// One glyph from each block of eight codes, so a row slipped while typing the table shows up.
TEST_P(SmallFontRows, GlyphMatchesTheFiveBySevenShape) {
    const auto index = static_cast<std::size_t>(GetParam().code - 0x20);
    EXPECT_THAT(SmallFont[index], ElementsAreArray(GetParam().columns));
}

INSTANTIATE_TEST_SUITE_P(Glyphs, SmallFontRows,
                         ::testing::Values(SmallGlyphRow{"Percent", '%', {0x23, 0x13, 0x08, 0x64, 0x62}},
                                           SmallGlyphRow{"Slash", '/', {0x20, 0x10, 0x08, 0x04, 0x02}},
                                           SmallGlyphRow{"Five", '5', {0x27, 0x45, 0x45, 0x45, 0x39}},
                                           SmallGlyphRow{"Question", '?', {0x02, 0x01, 0x51, 0x09, 0x06}},
                                           SmallGlyphRow{"At", '@', {0x32, 0x49, 0x79, 0x41, 0x3E}},
                                           SmallGlyphRow{"CapitalJ", 'J', {0x20, 0x40, 0x41, 0x3F, 0x01}},
                                           SmallGlyphRow{"CapitalQ", 'Q', {0x3E, 0x41, 0x51, 0x21, 0x5E}},
                                           SmallGlyphRow{"Backslash", '\\', {0x02, 0x04, 0x08, 0x10, 0x20}},
                                           SmallGlyphRow{"SmallG", 'g', {0x08, 0x14, 0x54, 0x54, 0x3C}},
                                           SmallGlyphRow{"SmallK", 'k', {0x00, 0x7F, 0x10, 0x28, 0x44}},
                                           SmallGlyphRow{"SmallW", 'w', {0x3C, 0x40, 0x30, 0x40, 0x3C}},
                                           SmallGlyphRow{"SmallY", 'y', {0x0C, 0x50, 0x50, 0x50, 0x3C}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(SmallFont, NoGlyphReachesTheEighthRow) {
    for (std::size_t index = 0; index < SmallFont.size(); ++index) {
        for (const std::uint8_t column : SmallFont[index]) {
            EXPECT_EQ(column & 0x80, 0) << "code 0x" << std::hex << index + 0x20;
        }
    }
}

}  // namespace
}  // namespace lcd
