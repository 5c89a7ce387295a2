#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "display/PortRegisters.h"
#include "module/ModuleModel.h"

namespace lcd::testing {
namespace {

struct TimedWrite {
    std::uint16_t address;
    std::uint8_t value;
    std::int64_t atNs;
};

TimedWrite Control(std::uint8_t value, std::int64_t atNs) {
    return {ControlRegister, value, atNs};
}
TimedWrite Data(std::uint8_t value, std::int64_t atNs) {
    return {DataRegister, value, atNs};
}

void Feed(ModuleModel& model, const std::vector<TimedWrite>& writes) {
    for (const TimedWrite& write : writes) {
        model.PortWritten(write.address, write.value, write.atNs);
    }
}

// One data write to the left controller whose critical interval lasts d ns; every other interval is a
// relaxed 5 us, or sits exactly at its own limit.
struct RuleCase {
    std::string name;
    TimingRule rule;
    std::int64_t limitNs;
    std::function<std::vector<TimedWrite>(std::int64_t d)> writes;
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}
std::string CaseName(const ::testing::TestParamInfo<RuleCase>& row) {
    return row.param.name;
}

const RuleCase RuleCases[] = {
    {"EHigh", TimingRule::EHigh, 450,
     [](std::int64_t d) {
         return std::vector{Control(0x01, 0), Data(0x55, 5000), Control(0x00, 10000),
                            Control(0x01, 10000 + d)};
     }},
    {"ELow", TimingRule::ELow, 450,
     [](std::int64_t d) {
         return std::vector{Control(0x01, 0),     Data(0x55, 5000),         Control(0x00, 10000),
                            Control(0x01, 15000), Control(0x00, 15000 + d), Control(0x01, 20000 + d)};
     }},
    {"ECycle", TimingRule::ECycle, 1000,
     [](std::int64_t d) {
         // E high 450 and E low d - 450: both at or above their own limits for d >= 900.
         return std::vector{Control(0x01, 0),     Data(0x55, 5000),         Control(0x00, 10000),
                            Control(0x01, 10450), Control(0x00, 10000 + d), Control(0x01, 15000 + d)};
     }},
    {"DISetup", TimingRule::AddressSetup, 140,
     [](std::int64_t d) {
         // Idle is an instruction; the control write at 5000 makes D/I high for data.
         return std::vector{Data(0x55, 0), Control(0x01, 5000), Control(0x00, 5000 + d),
                            Control(0x01, 10000 + d)};
     }},
    {"SelectSetup", TimingRule::AddressSetup, 140,
     [](std::int64_t d) {
         return std::vector{Control(0x01, 0), Data(0x55, 5000), Control(0x07, 10000),
                            Control(0x06, 10000 + d), Control(0x07, 15000 + d)};
     }},
    {"DataSetup", TimingRule::DataSetup, 200,
     [](std::int64_t d) {
         return std::vector{Control(0x01, 0), Control(0x00, 5000), Data(0x55, 10000),
                            Control(0x01, 10000 + d)};
     }},
};

class TimingRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(TimingRuleTest, CaughtOneNanosecondUnderTheLimit) {
    const RuleCase& c = GetParam();
    ModuleModel model;
    Feed(model, c.writes(c.limitNs - 1));
    const TimingReport report = model.Snapshot().timing;
    for (std::size_t i = 0; i < TimingRuleCount; ++i) {
        const auto rule = static_cast<TimingRule>(i);
        SCOPED_TRACE(report[rule].name);
        EXPECT_EQ(report[rule].count, rule == c.rule ? 1u : 0u);
    }
    EXPECT_EQ(report[c.rule].worstNs, c.limitNs - 1);
    EXPECT_EQ(report[c.rule].limitNs, c.limitNs);
    EXPECT_TRUE(report.AnyViolation());
}

TEST_P(TimingRuleTest, QuietAtTheLimit) {
    const RuleCase& c = GetParam();
    ModuleModel model;
    Feed(model, c.writes(c.limitNs));
    const TimingReport report = model.Snapshot().timing;
    EXPECT_FALSE(report.AnyViolation()) << report.Verdict();
    EXPECT_EQ(report.Verdict(), "");
}

INSTANTIATE_TEST_SUITE_P(Rules, TimingRuleTest, ::testing::ValuesIn(RuleCases), CaseName);

// E high for 80, 120 and 80 ns: the worst of the three is named, with the number of times.
std::vector<TimedWrite> ThreeShortPulsesOfEHigh() {
    return {Control(0x01, 0),     Data(0x55, 5000),     Control(0x00, 10000), Control(0x01, 10080),
            Control(0x00, 20000), Control(0x01, 20120), Control(0x00, 30000), Control(0x01, 30080)};
}

TEST(TimingReport, VerdictNamesTheRuleItsWorstValueAndLimitAndAsksForMoreDelay) {
    ModuleModel model;
    Feed(model, ThreeShortPulsesOfEHigh());
    EXPECT_EQ(model.Snapshot().timing.Verdict(),
              "E high lasted 80 ns where 450 ns is the minimum (3 times); raise the Delay.");

    Feed(model, {Control(0x00, 40000), Data(0x66, 44900), Control(0x01, 45000)});
    EXPECT_EQ(
        model.Snapshot().timing.Verdict(),
        "E high lasted 80 ns where 450 ns is the minimum (3 times); "
        "data setup before E fell lasted 100 ns where 200 ns is the minimum (1 time); raise the Delay.");
}

TEST(TimingReport, ResetForgetsCountsAndWorstValues) {
    ModuleModel model;
    Feed(model, ThreeShortPulsesOfEHigh());
    const std::uint64_t changes = model.ChangeCount();
    model.ResetTimingChecks();
    EXPECT_FALSE(model.Snapshot().timing.AnyViolation());
    EXPECT_GT(model.ChangeCount(), changes) << "the view must learn that the verdict changed";

    Feed(model, {Control(0x00, 40000), Control(0x01, 40300)});
    EXPECT_EQ(model.Snapshot().timing[TimingRule::EHigh].count, 1u);
    EXPECT_EQ(model.Snapshot().timing[TimingRule::EHigh].worstNs, 300);
}

TEST(TimingReport, RewritingTheSameDataIsNoChangeOfTheLines) {
    ModuleModel model;
    // The byte goes out again just before E falls, but the lines stay where they were.
    Feed(model,
         {Control(0x01, 0), Data(0x55, 5000), Control(0x00, 10000), Data(0x55, 10400), Control(0x01, 10500)});
    EXPECT_FALSE(model.Snapshot().timing.AnyViolation()) << model.Snapshot().timing.Verdict();
}

}  // namespace
}  // namespace lcd::testing
