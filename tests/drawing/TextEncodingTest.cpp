#include "drawing/TextEncoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "TextBusEvents.h"
#include "drawing/TextOutput.h"

namespace lcd::test {
namespace {

using ::testing::ElementsAre;

struct ConversionRow {
    const char* name;
    std::string utf8;
    std::string expected;
};

std::string RowName(const ::testing::TestParamInfo<ConversionRow>& info) {
    return info.param.name;
}

class LargeFontText : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(LargeFontText, EachCharacterBecomesItsCodePage437ByteOrOneQuestionMark) {
    EXPECT_EQ(ToLargeFontText(GetParam().utf8), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, LargeFontText,
    ::testing::Values(
        ConversionRow{"Ascii", "Memo1 ~", "Memo1 ~"}, ConversionRow{"EAcute", "\u00E9", "\x82"},
        ConversionRow{"Degree", "\u00B0", "\xF8"}, ConversionRow{"OneHalf", "\u00BD", "\xAB"},
        ConversionRow{"MediumShade", "\u2592", "\xB1"}, ConversionRow{"BoxHorizontal", "\u2500", "\xC4"},
        ConversionRow{"Mixed", "21\u00B0C \u00BD",
                      "21\xF8"
                      "C \xAB"},
        ConversionRow{"Emoji", "\U0001F600", "?"}, ConversionRow{"Cjk", "\u4E2D", "?"},
        ConversionRow{"UnmappableBetweenMappable", "\u00E9\u20AC\u00E9", "\x82?\x82"},
        // A zero byte would end the text there and then.
        ConversionRow{"NullCharacter", std::string("a\0b", 3), "a?b"},
        ConversionRow{"StrayContinuationByte", "a\x80z", "a?z"},
        ConversionRow{"InvalidLeadByte", "\xFF", "?"}, ConversionRow{"TruncatedSequence", "\xE2\x94", "??"},
        ConversionRow{"TruncatedBeforeAscii",
                      "\xE2\x94"
                      "A",
                      "??A"},
        ConversionRow{"Overlong", "\xC0\xAF", "??"}, ConversionRow{"Surrogate", "\xED\xA0\x80", "???"}),
    RowName);

class SmallFontText : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(SmallFontText, CodesThe5x7FontHasStayAndEveryOtherCharacterBecomesThePlaceholder) {
    EXPECT_EQ(ToSmallFontText(GetParam().utf8), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Characters, SmallFontText,
                         ::testing::Values(ConversionRow{"PrintableRangeEnds", " ~\x7F", " ~\x7F"},
                                           ConversionRow{"Tab", "a\tb",
                                                         "a\x1A"
                                                         "b"},
                                           ConversionRow{"EAcute", "\u00E9", "\x1A"},
                                           ConversionRow{"Emoji", "x\U0001F600", "x\x1A"},
                                           ConversionRow{"NullCharacter", std::string("\0", 1), "\x1A"},
                                           ConversionRow{"InvalidByte", "\xFF", "?"}),
                         RowName);

TEST(TextConversion, LinesAreCutAt255Characters) {
    EXPECT_EQ(ToSmallFontText(std::string(300, 'x')), std::string(255, 'x'));
    EXPECT_EQ(ToLargeFontText(std::string(300, 'x')), std::string(255, 'x'));

    std::string accented;
    for (int i = 0; i < 300; ++i) {
        accented += "\u00E9";
    }
    EXPECT_EQ(ToLargeFontText(accented), std::string(255, '\x82'));
    EXPECT_EQ(ToSmallFontText(accented), std::string(255, SmallFontPlaceholderCode));
}

TEST(TextConversion, SmallFontPlaceholderIsDrawnAsAHollowBox) {
    RecordedBus rec;
    PrintLCDTextAt(rec.bus, 0, 0, ToSmallFontText("\u00E9"));
    const auto L = DisplayHalf::Left;
    EXPECT_THAT(rec.Events(),
                ElementsAre(Instruction(L, 0x40), Instruction(DisplayHalf::Right, 0x40), Instruction(L, 0xB8),
                            Instruction(DisplayHalf::Right, 0xB8), Data(L, 0x7F), Data(L, 0x41),
                            Data(L, 0x41), Data(L, 0x41), Data(L, 0x7F)));
}

}  // namespace
}  // namespace lcd::test
