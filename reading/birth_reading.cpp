#include "reading/birth_reading.h"

#include "reading/verses.h"
#include "reading/weight_tables.h"

namespace {

// The day a birth is read on: a late 子 birth moves to the next day under NextDay.
GregorianDate ReadingDay(const Birth& birth, ReadingOptions options) {
    if (birth.period == 0 && birth.ziHalf == ZiHalf::Late && options.lateZi == LateZi::NextDay) {
        return GregorianDate::FromDayOffset(birth.date.DayOffset() + 1);
    }
    return birth.date;
}

}  // namespace

bool Birth::ok() const {
    return date.ok() && period >= 0 && period < static_cast<int>(BirthPeriods.size()) &&
           (period == 0 || ziHalf == ZiHalf::Unsaid);
}

BirthReading ReadBirth(const Birth& birth, ReadingOptions options) {
    BirthReading result{birth, options, {}, {}, {}};
    if (!birth.ok()) return result;
    const GregorianDate day = ReadingDay(birth, options);
    if (!day.ok()) return result;

    const LunarDate lunar = CalendarDate::LunarDateAt(day.DayOffset());
    const StemBranchIndex index = CalendarDate::StemBranchIndices(day.year, day.month, day.day);
    result.readingDate = day;
    result.lunarDate = lunar;

    Reading& r = result.reading;
    r.lunarYear = lunar.year;
    r.lunarMonth = lunar.month;
    r.lunarDay = lunar.day;
    r.periodBranch = BirthPeriods[static_cast<std::size_t>(birth.period)].periodBranch;
    r.yearStemBranch = CalendarDate::StemBranchName(index.year);
    r.monthStemBranch = CalendarDate::StemBranchName(index.month);
    r.dayStemBranch = CalendarDate::StemBranchName(index.day);

    // Under Spring the weighed year is the one yearStemBranch names.
    const int weighedYear =
        options.yearStart == YearStart::Spring ? CycleStartYear + index.year : lunar.year;
    // Under Split the second half of a leap month weighs as the month after it.
    const bool laterHalf =
        options.leapMonth == LeapMonthRule::Split && lunar.leapMonth && lunar.day >= 16;
    const int weighedMonth = laterHalf ? lunar.month % 12 + 1 : lunar.month;

    r.yearWeight = YearWeight(static_cast<std::uint16_t>(weighedYear));
    r.monthWeight = MonthWeight(static_cast<std::uint16_t>(weighedMonth));
    r.dayWeight = DayWeight(lunar.day);
    r.periodWeight = PeriodWeight(birth.period);
    r.totalWeight = r.yearWeight + r.monthWeight + r.dayWeight + r.periodWeight;
    r.verse = VerseFor(r.totalWeight);
    return result;
}

std::vector<BirthReading> BirthReading::Alternatives() const {
    std::vector<BirthReading> alternatives;
    if (!ok()) return alternatives;
    for (const Convention convention : Conventions) {
        Birth other = birth;
        const ReadingOptions switched = Switched(options, convention);
        if (convention == Convention::LateZi && birth.period == 0 &&
            birth.ziHalf == ZiHalf::Unsaid && switched.lateZi == LateZi::NextDay) {
            other.ziHalf = ZiHalf::Late;
        }
        BirthReading alternative = ReadBirth(other, switched);
        if (alternative.ok() && alternative.reading.totalWeight != reading.totalWeight) {
            alternatives.push_back(std::move(alternative));
        }
    }
    return alternatives;
}
