#include "reading/reading.h"

#include "calendar/calendar_date.h"
#include "reading/day_reading.h"
#include "reading/verses.h"
#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// The period branches as wide text, widened at compile time.
constexpr auto WideBranches = [] {
    std::array<FixedWideText<1>, BirthPeriods.size()> wide{};
    for (std::size_t i = 0; i < BirthPeriods.size(); ++i)
        wide[i].Append(BirthPeriods[i].periodBranch);
    return wide;
}();

}  // namespace

Reading MakeReading(std::uint16_t year, std::uint16_t month, std::uint16_t day, int period) {
    if (!CalendarDate::IsInDomain(year, month, day) || period < 0 ||
        period >= static_cast<int>(BirthPeriods.size())) {
        return {};
    }
    // A day past the end of its month counts on into the next.
    const std::int32_t offset = GregorianDate{year, month, day}.DayOffset();
    const GregorianDate date = GregorianDate::FromDayOffset(offset);
    const LunarDate lunar = CalendarDate::LunarDateAt(offset);
    const StemBranchIndex index = CalendarDate::StemBranchIndices(date.year, date.month, date.day);
    const Weights weights = WeighDay(lunar, index, period, Options{});

    Reading reading;
    reading.lunarYear = lunar.year;
    reading.lunarMonth = lunar.month;
    reading.lunarDay = lunar.day;
    reading.periodBranch = WideBranches[static_cast<std::size_t>(period)].view();
    reading.yearStemBranch = CalendarDate::StemBranchName(index.year);
    reading.monthStemBranch = CalendarDate::StemBranchName(index.month);
    reading.dayStemBranch = CalendarDate::StemBranchName(index.day);
    reading.yearWeight = weights.year;
    reading.monthWeight = weights.month;
    reading.dayWeight = weights.day;
    reading.periodWeight = weights.period;
    reading.totalWeight = weights.total;
    reading.verse = VerseFor(weights.total);
    return reading;
}

CHENGGU_END_NAMESPACE
