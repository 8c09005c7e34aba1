#include "reading/reading.h"

#include "calendar/calendar_date.h"
#include "calendar/utf8.h"
#include "reading/day_reading.h"
#include "reading/verses.h"

namespace chenggu {

Reading MakeReading(std::uint16_t year, std::uint16_t month, std::uint16_t day, int period) {
    if (!CalendarDate::IsInDomain(year, month, day) || period < 0 ||
        period >= static_cast<int>(BirthPeriods.size())) {
        return {};
    }
    // A day past the end of its month counts on into the next.
    const GregorianDate date = GregorianDate::FromDayOffset(
        CalendarDate::DayDifference(year, month, day, FirstDate.year, 1, 1));
    const Period birthPeriod{period, ZiHalf::Unsaid};
    const BirthReading r = ReadDay({date, {}, birthPeriod}, birthPeriod, {}, date);

    Reading reading;
    reading.lunarYear = r.lunarDate.year;
    reading.lunarMonth = r.lunarDate.month;
    reading.lunarDay = r.lunarDate.day;
    reading.periodBranch = Widen(r.periodBranch);
    reading.yearStemBranch = Widen(r.yearStemBranch);
    reading.monthStemBranch = Widen(r.monthStemBranch);
    reading.dayStemBranch = Widen(r.dayStemBranch);
    reading.yearWeight = r.yearWeight;
    reading.monthWeight = r.monthWeight;
    reading.dayWeight = r.dayWeight;
    reading.periodWeight = r.periodWeight;
    reading.totalWeight = r.totalWeight;
    reading.verse = VerseFor(r.totalWeight);
    return reading;
}

}  // namespace chenggu
