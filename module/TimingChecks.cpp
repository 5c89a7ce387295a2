#include "TimingChecks.h"

namespace lcd {

TimingReport::TimingReport() {
    for (std::size_t i = 0; i < TimingRuleCount; ++i) {
        rules[i] = TimingRuleResult{TimingLimits[i].name, TimingLimits[i].minimumNs};
    }
}

void TimingReport::Record(TimingRule rule, std::int64_t measuredNs) {
    TimingRuleResult& result = rules[static_cast<std::size_t>(rule)];
    if (result.count == 0 || measuredNs < result.worstNs) {
        result.worstNs = measuredNs;
    }
    ++result.count;
}

bool TimingReport::AnyViolation() const {
    for (const TimingRuleResult& result : rules) {
        if (result.count > 0) {
            return true;
        }
    }
    return false;
}

std::string TimingReport::Verdict() const {
    std::string verdict;
    for (const TimingRuleResult& result : rules) {
        if (result.count == 0) {
            continue;
        }
        verdict += verdict.empty() ? "" : "; ";
        verdict += result.name;
        verdict += " lasted " + std::to_string(result.worstNs) + " ns where " +
                   std::to_string(result.limitNs) + " ns is the minimum (" + std::to_string(result.count) +
                   (result.count == 1 ? " time)" : " times)");
    }
    if (verdict.empty()) {
        return verdict;
    }
    if (verdict[0] >= 'a' && verdict[0] <= 'z') {
        verdict[0] = static_cast<char>(verdict[0] - 'a' + 'A');
    }
    return verdict + "; raise the Delay.";
}

void TimingChecker::ReportTo(TimingReport& report, RuleMask broken) const {
    for (std::size_t i = 0; i < TimingRuleCount; ++i) {
        if (broken & (1u << i)) {
            const auto rule = static_cast<TimingRule>(i);
            report.Record(rule, Measured(rule));
        }
    }
}

}  // namespace lcd
