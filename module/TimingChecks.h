#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace lcd {

// The controller's minimum write-cycle timings. Hold times (10 ns) are not checked: a PC port cannot
// come anywhere near breaking them between two register writes.
enum class TimingRule : std::uint8_t { EHigh, ELow, ECycle, AddressSetup, DataSetup };
inline constexpr std::size_t TimingRuleCount = 5;

struct TimingLimit {
    TimingRule rule;
    const char* name;  // as a person reads it in "<name> lasted 80 ns where 450 ns is the minimum"
    std::int64_t minimumNs;
};

// The one table of limits, in TimingRule order.
inline constexpr std::array<TimingLimit, TimingRuleCount> TimingLimits{{
    {TimingRule::EHigh, "E high", 450},
    {TimingRule::ELow, "E low", 450},
    {TimingRule::ECycle, "E cycle", 1000},
    {TimingRule::AddressSetup, "D/I and select setup before E rose", 140},
    {TimingRule::DataSetup, "data setup before E fell", 200},
}};

struct TimingRuleResult {
    const char* name;
    std::int64_t limitNs;
    std::uint64_t count = 0;   // violations since the last reset
    std::int64_t worstNs = 0;  // the shortest violating time seen; meaningful only when count > 0
};

struct TimingReport {
    TimingReport();

    void Record(TimingRule rule, std::int64_t measuredNs);
    const TimingRuleResult& operator[](TimingRule rule) const {
        return rules[static_cast<std::size_t>(rule)];
    }
    bool AnyViolation() const;
    // "" when clean; otherwise one line naming each broken rule with its worst value and limit, ending
    // with the advice to raise the Delay.
    std::string Verdict() const;

    std::array<TimingRuleResult, TimingRuleCount> rules;
};

// Measures the write cycle edge by edge. Writer-thread only: it holds no lock and shares nothing, so
// the model can run it on every port write and take its lock only when a rule is broken.
class TimingChecker {
  public:
    using RuleMask = std::uint8_t;  // bit n set: TimingRule n was broken

    void AddressChanged(std::int64_t nowNs) { addressChangedAt_ = nowNs; }
    void DataChanged(std::int64_t nowNs) { dataChangedAt_ = nowNs; }

    RuleMask Rise(std::int64_t nowNs) {
        RuleMask broken = Check(TimingRule::ELow, Elapsed(lastFall_, nowNs)) |
                          Check(TimingRule::ECycle, Elapsed(lastRise_, nowNs)) |
                          Check(TimingRule::AddressSetup, Elapsed(addressChangedAt_, nowNs));
        lastRise_ = nowNs;
        return broken;
    }

    RuleMask Fall(std::int64_t nowNs) {
        RuleMask broken = Check(TimingRule::EHigh, Elapsed(lastRise_, nowNs)) |
                          Check(TimingRule::DataSetup, Elapsed(dataChangedAt_, nowNs));
        lastFall_ = nowNs;
        return broken;
    }

    // The time that broke the rule at the last edge that broke it.
    std::int64_t Measured(TimingRule rule) const { return measured_[static_cast<std::size_t>(rule)]; }

    // Adds the broken rules of the last edge, with their times, to a report.
    void ReportTo(TimingReport& report, RuleMask broken) const;

  private:
    static constexpr std::int64_t Never = std::numeric_limits<std::int64_t>::min();

    // Saturates instead of overflowing, so that a clock that could not be read (0) or an edge never
    // seen cannot produce a bogus short time.
    static std::int64_t Elapsed(std::int64_t since, std::int64_t now) {
        std::int64_t elapsed = 0;
        if (since == Never || __builtin_sub_overflow(now, since, &elapsed)) {
            return std::numeric_limits<std::int64_t>::max();
        }
        return elapsed;
    }

    RuleMask Check(TimingRule rule, std::int64_t elapsedNs) {
        const auto index = static_cast<std::size_t>(rule);
        if (elapsedNs >= TimingLimits[index].minimumNs) {
            return 0;
        }
        measured_[index] = elapsedNs;
        return static_cast<RuleMask>(1u << index);
    }

    std::int64_t lastRise_ = Never;
    std::int64_t lastFall_ = Never;
    std::int64_t addressChangedAt_ = Never;
    std::int64_t dataChangedAt_ = Never;
    std::array<std::int64_t, TimingRuleCount> measured_{};
};

}  // namespace lcd
