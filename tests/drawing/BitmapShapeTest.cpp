#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "BitmapFiles.h"
#include "drawing/BitmapImport.h"

namespace lcd::testing {
namespace {

using ByteEdits = std::vector<std::pair<std::size_t, std::uint8_t>>;

lcd::BMPFileBuffer HeaderWith(const ByteEdits& edits) {
    const std::vector<std::uint8_t> file = MonochromeFile(0x00, edits);
    lcd::BMPFileBuffer buffer{};
    std::copy(file.begin(), file.end(), buffer.begin());
    return buffer;
}

struct ShapeCase {
    const char* name;
    ByteEdits edits;  // applied to the 128 x 64 one-bit header
    std::optional<BitmapShape> expected;
    bool matchesDisplay;
};

std::ostream& operator<<(std::ostream& out, const ShapeCase& c) {
    return out << c.name;
}

class BitmapShapeTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(BitmapShapeTest, ReadsWhatTheHeaderClaims) {
    const std::optional<BitmapShape> shape = ReadBitmapShape(HeaderWith(GetParam().edits));
    EXPECT_EQ(shape, GetParam().expected);
    if (shape) {
        EXPECT_EQ(MatchesDisplayLayout(*shape), GetParam().matchesDisplay);
    }
}

// Offsets: 10 pixel data start, 14 information header size, 18 width, 22 height, 26 planes, 28 bits per
// pixel, 30 compression (all little-endian). The old 12-byte header has 16-bit width, height, planes and
// depth at 18, 20, 22 and 24.
INSTANTIATE_TEST_SUITE_P(
    Headers, BitmapShapeTest,
    ::testing::Values(
        ShapeCase{"DisplaySized", {}, BitmapShape{128, 64, false, 1, 0, 62}, true},
        ShapeCase{"TrueColourPhoto",
                  {{10, 54}, {18, 200}, {22, 100}, {28, 24}},
                  BitmapShape{200, 100, false, 24, 0, 54},
                  false},
        ShapeCase{"TopDownRows",
                  {{22, 0xC0}, {23, 0xFF}, {24, 0xFF}, {25, 0xFF}},
                  BitmapShape{128, 64, true, 1, 0, 62},
                  false},
        ShapeCase{"RunLengthCompressed", {{28, 8}, {30, 1}}, BitmapShape{128, 64, false, 8, 1, 62}, false},
        ShapeCase{"PixelsAfterALargerHeader",
                  {{10, 138}, {14, 124}},
                  BitmapShape{128, 64, false, 1, 0, 138},
                  false},
        ShapeCase{
            "OldCoreHeader",
            {{10, 32}, {14, 12}, {18, 128}, {19, 0}, {20, 64}, {21, 0}, {22, 1}, {23, 0}, {24, 1}, {25, 0}},
            BitmapShape{128, 64, false, 1, 0, 32},
            false},
        ShapeCase{"NotABitmap", {{0, 'P'}, {1, 'K'}}, std::nullopt, false},
        ShapeCase{"UnknownHeaderSize", {{14, 20}}, std::nullopt, false},
        ShapeCase{"NoPlanes", {{26, 0}}, std::nullopt, false},
        ShapeCase{"OddDepth", {{28, 3}}, std::nullopt, false},
        ShapeCase{"NoWidth", {{18, 0}}, std::nullopt, false},
        ShapeCase{"NoHeight", {{22, 0}}, std::nullopt, false},
        ShapeCase{
            "MostNegativeHeight", {{22, 0x00}, {23, 0x00}, {24, 0x00}, {25, 0x80}}, std::nullopt, false}),
    [](const ::testing::TestParamInfo<ShapeCase>& row) { return std::string(row.param.name); });

TEST(BitmapShapeTest, AllZeroBufferHasNoShape) {
    EXPECT_EQ(ReadBitmapShape(lcd::BMPFileBuffer{}), std::nullopt);
}

}  // namespace
}  // namespace lcd::testing
