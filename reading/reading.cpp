#include "reading/reading.h"

#include "calendar/calendar_date.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"

Reading MakeReading(std::uint16_t year, std::uint16_t month, std::uint16_t day, int period) {
    if (!CalendarDate::IsInDomain(year, month, day) || period < 0 ||
        period >= static_cast<int>(BirthPeriods.size())) {
        return {};
    }
    const CalendarDate date(year, month, day);

    Reading reading;
    reading.lunarYear = date.lunarYear;
    reading.lunarMonth = date.lunarMonth;
    reading.lunarDay = date.lunarDay;
    reading.periodBranch = BirthPeriods[static_cast<std::size_t>(period)].periodBranch;
    reading.yearStemBranch = date.yearStemBranch;
    reading.monthStemBranch = date.monthStemBranch;
    reading.dayStemBranch = date.dayStemBranch;
    reading.yearWeight = YearWeight(date.lunarYear);
    reading.monthWeight = MonthWeight(date.lunarMonth);
    reading.dayWeight = DayWeight(date.lunarDay);
    reading.periodWeight = PeriodWeight(period);
    reading.totalWeight =
        reading.yearWeight + reading.monthWeight + reading.dayWeight + reading.periodWeight;
    reading.verse = VerseFor(reading.totalWeight);
    return reading;
}
