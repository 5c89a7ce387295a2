#include "drawing/BitmapImport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "BitmapFiles.h"

namespace lcd::testing {
namespace {

using ByteEdits = std::vector<std::pair<std::size_t, std::uint8_t>>;

PageBuffer PagesFilledWith(std::uint8_t fill, const ByteEdits& bytes = {}) {
    PageBuffer pages;
    pages.fill(fill);
    for (const auto& [index, value] : bytes) {
        pages.at(index) = value;
    }
    return pages;
}

class BitmapImportTest : public ::testing::Test {
  protected:
    void LoadAndConvert(const std::vector<std::uint8_t>& bytes) {
        import.LoadBMPFile(scratch.Write("picture.bmp", bytes));
        import.ConvertBMPToPages();
    }

    ScratchDirectory scratch;
    BitmapImport import;
};

// ---- conversion of hand-made files ---------------------------------------------------------------

struct ConversionCase {
    const char* name;
    std::vector<std::uint8_t> file;
    PageBuffer expected;
};

std::ostream& operator<<(std::ostream& out, const ConversionCase& c) {
    return out << c.name;
}

class ConversionTest : public BitmapImportTest, public ::testing::WithParamInterface<ConversionCase> {};

TEST_P(ConversionTest, PutsEachFilePixelAtItsDisplayPlace) {
    LoadAndConvert(GetParam().file);
    EXPECT_EQ(import.BMPPageBuffer, GetParam().expected);
}

std::vector<std::uint8_t> WithHeaderOverwritten(std::vector<std::uint8_t> file) {
    std::fill(file.begin(), file.begin() + PixelStart, 0xAB);
    return file;
}

// Offsets: the file row at 62 + 16 r is image row 63 - r, and the most significant bit of a byte is its
// leftmost pixel. Display bytes: index page * 128 + column, bit k is row 8 * page + k, set = lit.
INSTANTIATE_TEST_SUITE_P(
    HandMadeFiles, ConversionTest,
    ::testing::Values(ConversionCase{"AllBlackLightsEverything", MonochromeFile(0x00), PagesFilledWith(0xFF)},
                      ConversionCase{"AllWhiteLightsNothing", MonochromeFile(0xFF), PagesFilledWith(0x00)},
                      ConversionCase{"TopLeftWhitePixel", MonochromeFile(0x00, {{1070, 0x80}}),
                                     PagesFilledWith(0xFF, {{0, 0xFE}})},
                      ConversionCase{"TopRightWhitePixel", MonochromeFile(0x00, {{1085, 0x01}}),
                                     PagesFilledWith(0xFF, {{127, 0xFE}})},
                      ConversionCase{"BottomLeftWhitePixel", MonochromeFile(0x00, {{62, 0x80}}),
                                     PagesFilledWith(0xFF, {{896, 0x7F}})},
                      ConversionCase{"BottomRowWhite",
                                     MonochromeFile(0x00, {{62, 0xFF},
                                                           {63, 0xFF},
                                                           {64, 0xFF},
                                                           {65, 0xFF},
                                                           {66, 0xFF},
                                                           {67, 0xFF},
                                                           {68, 0xFF},
                                                           {69, 0xFF},
                                                           {70, 0xFF},
                                                           {71, 0xFF},
                                                           {72, 0xFF},
                                                           {73, 0xFF},
                                                           {74, 0xFF},
                                                           {75, 0xFF},
                                                           {76, 0xFF},
                                                           {77, 0xFF}}),
                                     [] {
                                         PageBuffer pages = PagesFilledWith(0xFF);
                                         std::fill(pages.begin() + 896, pages.end(), 0x7F);
                                         return pages;
                                     }()},
                      // Row 10 (page 1, bit 2), columns 16-23 (byte 2 of the row, at 62 + 16 * 53 + 2 = 912).
                      ConversionCase{"ByteInsideThePicture", MonochromeFile(0xFF, {{912, 0x81}}),
                                     PagesFilledWith(0x00, {{128 + 17, 0x04},
                                                            {128 + 18, 0x04},
                                                            {128 + 19, 0x04},
                                                            {128 + 20, 0x04},
                                                            {128 + 21, 0x04},
                                                            {128 + 22, 0x04}})},
                      ConversionCase{"HeaderPlaysNoPart",
                                     WithHeaderOverwritten(MonochromeFile(0x00, {{1070, 0x80}})),
                                     PagesFilledWith(0xFF, {{0, 0xFE}})}),
    [](const ::testing::TestParamInfo<ConversionCase>& row) { return std::string(row.param.name); });

// ---- a file written by another program -----------------------------------------------------------

const std::filesystem::path FixtureDirectory = std::filesystem::path(__FILE__).parent_path() / "fixtures";

TEST_F(BitmapImportTest, ImageMagickBitmapShowsBlackPixelsLitNeitherMirroredNorFlipped) {
    import.LoadBMPFile((FixtureDirectory / "corner-marks.bmp").string());
    import.ConvertBMPToPages();

    // Black rectangle at columns 3-12, rows 5-10: rows 5-7 are bits 5-7 of page 0, rows 8-10 bits 0-2 of
    // page 1. Black pixel at column 121, row 58: bit 2 of page 7.
    PageBuffer expected = PagesFilledWith(0x00, {{7 * 128 + 121, 0x04}});
    for (int column = 3; column <= 12; ++column) {
        expected[column] = 0xE0;
        expected[128 + column] = 0x07;
    }
    EXPECT_EQ(import.BMPPageBuffer, expected);

    const std::optional<BitmapShape> shape = ReadBitmapShape(import.BMPFileBuffer);
    ASSERT_TRUE(shape.has_value());
    EXPECT_TRUE(MatchesDisplayLayout(*shape));
}

// ---- loading ---------------------------------------------------------------------------------------

TEST_F(BitmapImportTest, ShortFileAfterAFullOneKeepsNothingOfTheFullOne) {
    LoadAndConvert(MonochromeFile(0x5A));
    ASSERT_EQ(import.LoadedByteCount, FullFileSize);

    std::vector<std::uint8_t> shortFile(100, 0x00);
    shortFile[0] = 'B';
    shortFile[99] = 0x7E;
    LoadAndConvert(shortFile);

    lcd::BMPFileBuffer expected{};
    expected[0] = 'B';
    expected[99] = 0x7E;
    EXPECT_EQ(import.BMPFileBuffer, expected);
    EXPECT_EQ(import.LoadedByteCount, 100u);
    // Byte 99 is 62 + 16 * 2 + 5: file row 2 (image row 61, bit 5 of page 7), columns 40-47. Its set bits,
    // columns 41-46, are white; every other pixel reads as black.
    EXPECT_EQ(import.BMPPageBuffer, PagesFilledWith(0xFF, {{7 * 128 + 41, 0xDF},
                                                           {7 * 128 + 42, 0xDF},
                                                           {7 * 128 + 43, 0xDF},
                                                           {7 * 128 + 44, 0xDF},
                                                           {7 * 128 + 45, 0xDF},
                                                           {7 * 128 + 46, 0xDF}}));
}

TEST_F(BitmapImportTest, EmptyFileLeavesAnAllZeroBuffer) {
    LoadAndConvert(MonochromeFile(0x33));
    LoadAndConvert({});
    EXPECT_EQ(import.BMPFileBuffer, lcd::BMPFileBuffer{});
    EXPECT_EQ(import.LoadedByteCount, 0u);
}

TEST_F(BitmapImportTest, LongerFileIsReadOnlyAsFarAsTheBufferGoes) {
    std::vector<std::uint8_t> file = MonochromeFile(0x00, {{1085, 0x01}});
    file.resize(4000, 0xEE);
    LoadAndConvert(file);
    EXPECT_EQ(import.LoadedByteCount, FullFileSize);
    EXPECT_EQ(import.BMPFileBuffer[1085], 0x01);
    EXPECT_EQ(import.BMPPageBuffer, PagesFilledWith(0xFF, {{127, 0xFE}}));
}

struct UnreadableCase {
    const char* name;
    std::string (*make)(const ScratchDirectory&);
};

std::ostream& operator<<(std::ostream& out, const UnreadableCase& c) {
    return out << c.name;
}

class UnreadableFileTest : public BitmapImportTest, public ::testing::WithParamInterface<UnreadableCase> {};

// A named pipe with no writer would block a plain open or read for ever; reaching the assertions at all
// shows the load refused it without waiting.
TEST_P(UnreadableFileTest, FailsWithTheNameInTheTextAndKeepsTheEarlierLoad) {
    LoadAndConvert(MonochromeFile(0x00, {{1070, 0x80}}));
    const lcd::BMPFileBuffer before = import.BMPFileBuffer;

    const std::string path = GetParam().make(scratch);
    try {
        import.LoadBMPFile(path);
        FAIL() << "loading " << path << " did not fail";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("'" + path + "'"), std::string::npos) << error.what();
    }
    EXPECT_EQ(import.BMPFileBuffer, before);
    EXPECT_EQ(import.LoadedByteCount, FullFileSize);
}

INSTANTIATE_TEST_SUITE_P(
    NotARegularFile, UnreadableFileTest,
    ::testing::Values(
        UnreadableCase{"Missing", [](const ScratchDirectory& s) { return s.Path("absent.bmp"); }},
        UnreadableCase{"EmptyName", [](const ScratchDirectory&) { return std::string(); }},
        UnreadableCase{"Directory", [](const ScratchDirectory& s) { return s.Root(); }},
        UnreadableCase{"NamedPipe", [](const ScratchDirectory& s) { return s.Fifo("pipe.bmp"); }},
        UnreadableCase{"Device", [](const ScratchDirectory&) { return std::string("/dev/null"); }}),
    [](const ::testing::TestParamInfo<UnreadableCase>& row) { return std::string(row.param.name); });

// ---- GetBits ---------------------------------------------------------------------------------------

struct BitsCase {
    std::uint8_t x;
    int p;
    int n;
    std::uint8_t expected;
};

class GetBitsTest : public ::testing::TestWithParam<BitsCase> {};

TEST_P(GetBitsTest, TakesTheFieldWhoseTopBitIsP) {
    EXPECT_EQ(GetBits(GetParam().x, GetParam().p, GetParam().n), GetParam().expected);
}

// 0xB4 is 1011 0100.
INSTANTIATE_TEST_SUITE_P(Fields, GetBitsTest,
                         ::testing::Values(BitsCase{0x80, 7, 1, 1}, BitsCase{0x80, 6, 1, 0},
                                           BitsCase{0x01, 0, 1, 1}, BitsCase{0xFE, 0, 1, 0},
                                           BitsCase{0xB4, 2, 1, 1}, BitsCase{0xB4, 7, 4, 0xB},
                                           BitsCase{0xB4, 3, 4, 0x4}, BitsCase{0xB4, 5, 3, 0x6},
                                           BitsCase{0xB4, 7, 8, 0xB4}, BitsCase{0xB4, 6, 2, 0x1}));

struct BadFieldCase {
    int p;
    int n;
};

class GetBitsOutsideTheByteTest : public ::testing::TestWithParam<BadFieldCase> {};

TEST_P(GetBitsOutsideTheByteTest, Throws) {
    EXPECT_THROW(GetBits(0xFF, GetParam().p, GetParam().n), std::out_of_range);
}

INSTANTIATE_TEST_SUITE_P(Fields, GetBitsOutsideTheByteTest,
                         ::testing::Values(BadFieldCase{8, 1}, BadFieldCase{-1, 1}, BadFieldCase{0, 2},
                                           BadFieldCase{3, 0}, BadFieldCase{7, 9}, BadFieldCase{2, -1}));

}  // namespace
}  // namespace lcd::testing
