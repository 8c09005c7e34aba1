#include "reading/weight_tables.h"

CHENGGU_BEGIN_NAMESPACE

namespace {

// The cycle row of the year keyed 1941 is row 0.
constexpr std::int32_t FirstCycleYear = 1941;

}  // namespace

std::int32_t YearWeight(std::uint16_t lunarYear) {
    // The non-negative remainder, so years up to 1940 reach the rows of 1961-2000.
    const std::int32_t row = ((lunarYear - FirstCycleYear) % 60 + 60) % 60;  // [0, 59]
    return YearWeights[static_cast<std::size_t>(row)].weight;
}

std::int32_t MonthWeight(std::uint16_t lunarMonth) {
    if (lunarMonth < 1 || lunarMonth > MonthWeights.size()) return 0;
    return MonthWeights[lunarMonth - 1u].weight;
}

std::int32_t DayWeight(std::uint16_t lunarDay) {
    if (lunarDay < 1 || lunarDay > DayWeights.size()) return 0;
    return DayWeights[lunarDay - 1u].weight;
}

std::int32_t PeriodWeight(int period) {
    if (period < 0 || period >= static_cast<int>(PeriodWeights.size())) return 0;
    return PeriodWeights[static_cast<std::size_t>(period)];
}

std::int32_t PeriodForHour(std::uint16_t hour) {
    return hour < HourToPeriod.size() ? HourToPeriod[hour] : 0;
}

CHENGGU_END_NAMESPACE
