#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "VcdReader.h"
#include "display/PortRegisters.h"
#include "module/BusRecorder.h"

namespace lcd::testing {
namespace {

std::vector<VcdChange> Sorted(std::vector<VcdChange> changes) {
    std::sort(changes.begin(), changes.end());
    return changes;
}

std::string Vcd(const BusRecorder& recorder) {
    std::ostringstream out;
    recorder.WriteVcd(out);
    return out.str();
}

// A data byte to the left controller, then a switch to an instruction for the right one with a new
// byte at the same moment. Time 0 of the file lies 1000 ns before the first write.
void RecordKnownSequence(BusRecorder& recorder) {
    recorder.PortWritten(ControlRegister, 0x01, 1'000'000);
    recorder.PortWritten(DataRegister, 0xA5, 1'000'500);
    recorder.PortWritten(ControlRegister, 0x00, 1'001'000);
    recorder.PortWritten(ControlRegister, 0x01, 1'001'600);
    recorder.PortWritten(DataRegister, 0xA5, 1'001'700);  // same level: no change in the file
    recorder.PortWritten(ControlRegister, 0x0F, 1'002'000);
    recorder.PortWritten(DataRegister, 0x5A, 1'002'000);
}

const std::vector<VcdChange> KnownSequenceChanges = {
    // Before the first write: the port's idle state, an instruction to the left controller.
    {0, "D", 0x00},  {0, "D0", 0},    {0, "D1", 0},     {0, "D2", 0},     {0, "D3", 0},
    {0, "D4", 0},    {0, "D5", 0},    {0, "D6", 0},     {0, "D7", 0},     {0, "E", 0},
    {0, "DI", 0},    {0, "CS1", 1},   {0, "CS2", 0},    {1000, "DI", 1},  {1500, "D", 0xA5},
    {1500, "D0", 1}, {1500, "D2", 1}, {1500, "D5", 1},  {1500, "D7", 1},  {2000, "E", 1},
    {2600, "E", 0},  {3000, "DI", 0}, {3000, "CS1", 0}, {3000, "CS2", 1}, {3000, "D", 0x5A},
    {3000, "D0", 0}, {3000, "D1", 1}, {3000, "D2", 0},  {3000, "D3", 1},  {3000, "D4", 1},
    {3000, "D5", 0}, {3000, "D6", 1}, {3000, "D7", 0},
};

TEST(BusRecorderVcd, GivesTheWrittenPinLevelsAtTheWrittenTimes) {
    BusRecorder recorder;
    RecordKnownSequence(recorder);
    EXPECT_EQ(recorder.WriteCount(), 7u);
    EXPECT_EQ(Sorted(ReadVcd(Vcd(recorder))), Sorted(KnownSequenceChanges));
}

TEST(BusRecorderVcd, ANewRecordingStartsFromTheLevelsTheLastOneLeft) {
    BusRecorder recorder;
    RecordKnownSequence(recorder);
    recorder.Clear();
    EXPECT_EQ(recorder.WriteCount(), 0u);
    recorder.PortWritten(ControlRegister, 0x07, 2'000'000);
    const std::vector<VcdChange> expected = {
        {0, "D", 0x5A}, {0, "D0", 0},  {0, "D1", 1},  {0, "D2", 0},    {0, "D3", 1},
        {0, "D4", 1},   {0, "D5", 0},  {0, "D6", 1},  {0, "D7", 0},    {0, "E", 0},
        {0, "DI", 0},   {0, "CS1", 0}, {0, "CS2", 1}, {1000, "DI", 1},
    };
    EXPECT_EQ(Sorted(ReadVcd(Vcd(recorder))), Sorted(expected));
}

TEST(BusRecorderVcd, ATimestampThatGoesBackIsWrittenAtTheTimeBefore) {
    BusRecorder recorder;
    recorder.PortWritten(ControlRegister, 0x08, 5000);  // E rises at file time 1000
    recorder.PortWritten(ControlRegister, 0x09, 4000);  // a second earlier: it cannot be placed before
    const std::vector<VcdChange> changes = ReadVcd(Vcd(recorder));  // throws on a time going back
    std::vector<VcdChange> enable;
    std::copy_if(changes.begin(), changes.end(), std::back_inserter(enable),
                 [](const VcdChange& c) { return c.signal == "E"; });
    EXPECT_EQ(enable, (std::vector<VcdChange>{{0, "E", 0}, {1000, "E", 1}, {1000, "E", 0}}));
}

TEST(BusRecorder, StopsAtItsLimitSaysSoAndClearStartsAfresh) {
    BusRecorder recorder(3);
    for (std::int64_t i = 0; i < 5; ++i) {
        recorder.PortWritten(DataRegister, static_cast<std::uint16_t>(i + 1), i * 1000);
    }
    EXPECT_EQ(recorder.WriteCount(), 3u);
    EXPECT_TRUE(recorder.Overflowed());
    EXPECT_NE(Vcd(recorder).find("Recording stopped after 3 writes"), std::string::npos);

    recorder.Clear();
    EXPECT_FALSE(recorder.Overflowed());
    recorder.PortWritten(ControlRegister, 0x00, 10'000);
    EXPECT_EQ(recorder.WriteCount(), 1u);
    // The data lines hold the last byte written, including those past the limit.
    const std::vector<VcdChange> changes = ReadVcd(Vcd(recorder));
    EXPECT_NE(std::find(changes.begin(), changes.end(), VcdChange{0, "D", 5}), changes.end());
}

TEST(BusRecorder, DefaultLimitIs64MiB) {
    EXPECT_EQ(BusRecorder::MaxWrites * sizeof(RecordedWrite), 64u * 1024 * 1024);
}

class SavedVcd : public ::testing::Test {
  protected:
    std::filesystem::path directory = std::filesystem::path(::testing::TempDir()) / "module_vcd_test";
    void SetUp() override { std::filesystem::create_directories(directory); }
    void TearDown() override { std::filesystem::remove_all(directory); }
};

TEST_F(SavedVcd, SaveWritesTheSameTextAndFailsWithAClearMessage) {
    BusRecorder recorder;
    RecordKnownSequence(recorder);
    const std::filesystem::path path = directory / "trace.vcd";
    recorder.SaveVcd(path.string());
    std::ifstream in(path);
    std::stringstream saved;
    saved << in.rdbuf();
    EXPECT_EQ(saved.str(), Vcd(recorder));

    const std::string missing = (directory / "no such folder" / "trace.vcd").string();
    try {
        recorder.SaveVcd(missing);
        FAIL() << "saving into a missing folder must throw";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos)
            << error.what();
    }
}

bool OnPath(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

TEST_F(SavedVcd, GtkwaveReadsTheFileAndFindsTheSameChanges) {
    if (!OnPath("vcd2fst") || !OnPath("fst2vcd")) {
        GTEST_SKIP() << "GTKWave's vcd2fst and fst2vcd are not on PATH";
    }
    BusRecorder recorder;
    RecordKnownSequence(recorder);
    const std::filesystem::path vcd = directory / "trace.vcd";
    const std::filesystem::path fst = directory / "trace.fst";
    const std::filesystem::path back = directory / "back.vcd";
    recorder.SaveVcd(vcd.string());
    ASSERT_EQ(std::system(("vcd2fst '" + vcd.string() + "' '" + fst.string() + "' >/dev/null 2>&1").c_str()),
              0);
    ASSERT_EQ(std::system(("fst2vcd '" + fst.string() + "' > '" + back.string() + "' 2>/dev/null").c_str()),
              0);
    std::ifstream in(back);
    EXPECT_EQ(Sorted(ReadVcd(in)), Sorted(KnownSequenceChanges));
}

}  // namespace
}  // namespace lcd::testing
