// Fuzzes the calendar engine and the reading with arbitrary 16-bit dates and periods, inside
// and outside the supported range. Under AddressSanitizer and UndefinedBehaviorSanitizer any
// read outside a table or undefined arithmetic stops the run; the checks below stop it when
// an answer breaks its documented contract.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "calendar/calendar_date.h"
#include "calendar/day_cursor.h"
#include "chenggu/birth_reading.h"
#include "chenggu/chinese_text.h"
#include "reading/reading.h"
#include "reading/verses.h"

namespace {

using namespace chenggu;

void Check(bool condition) {
    if (!condition) std::abort();
}

template <class T>
T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = size < sizeof(T) ? size : sizeof(T);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using CD = chenggu::CalendarDate;
    const auto year = Take<std::uint16_t>(data, size);
    const auto month = Take<std::uint16_t>(data, size);
    const auto day = Take<std::uint16_t>(data, size);
    const auto period = Take<std::int32_t>(data, size);
    const auto offset = Take<std::int32_t>(data, size);
    const auto steps = Take<std::uint8_t>(data, size);
    const auto flags = Take<std::uint8_t>(data, size);

    (void)CD::IsGregorianLeapYear(year);
    (void)CD::GregorianMonthDays(year, month);
    (void)CD::DayDifference(year, month, day, day, year, month);
    (void)CD::LunarLeapMonth(year);
    (void)CD::LunarMonthDays(year, month);
    (void)CD::LunarYearDays(year);
    (void)CD::SectionalTermDay(year, month);
    (void)CD::StemBranchName(offset);
    (void)CD::StemBranchIndices(year, month, day);

    const CalendarRule rule = (flags & 0x40) != 0 ? CalendarRule::Computed : CalendarRule::Printed;
    (void)CD::SectionalTermDay(year, month, rule);
    (void)CD::LunarMonthDays(year, month, rule);
    const LunarDate atOffset = CD::LunarDateAt(offset, rule);
    if (atOffset.year != 0) {
        // A lunar date the conversion gives converts back to its day, under the same rule.
        const GregorianDate back = CD::LunarToGregorian(atOffset, rule);
        Check(!back.ok() || back.DayOffset() == offset);
    }
    Check(atOffset.year == 0 ||
          (atOffset.month >= 1 && atOffset.month <= 12 && atOffset.day >= 1 && atOffset.day <= 30));

    const CalendarDate date(year, month, day);
    const Reading reading = MakeReading(year, month, day, period);
    if (CD::IsInDomain(year, month, day) && period >= 0 && period < 12) {
        Check(date.lunarYear >= 1645 && date.lunarYear <= 2100);
        Check(date.yearStemBranch.size() == 2 && date.dayStemBranch.size() == 2);
        Check(reading.totalWeight >= 21 && reading.totalWeight <= 71);
        Check(reading.totalWeight ==
              reading.yearWeight + reading.monthWeight + reading.dayWeight + reading.periodWeight);
        Check(reading.verse == VerseFor(reading.totalWeight));
    } else {
        Check(reading == Reading{});
    }

    // Lunar to Gregorian: a date converts exactly when it is checked sound, and back again;
    // what does not convert is refused with a reason.
    const LunarDate lunar{year, month, day, (flags & 1) != 0};
    const GregorianDate gregorian = CD::LunarToGregorian(lunar);
    Check(gregorian.ok() == (CD::CheckLunarDate(lunar) == LunarDateError::None));
    if (gregorian.ok()) Check(CD::LunarDateAt(gregorian.DayOffset()) == lunar);
    const Result<GregorianDate> checked = ToGregorian(lunar);
    Check(checked.ok() == gregorian.ok());
    if (!checked.ok()) Check(!checked.error().reason.empty());

    // Readings under any conventions: sound readings, alternatives that differ in total (or,
    // across a sectional term the period holds or under the other calendar, in their pillars
    // or day).
    const Options options{static_cast<LateZi>(flags >> 1 & 1),
                          static_cast<YearStart>(flags >> 2 & 1),
                          static_cast<LeapMonthRule>(flags >> 3 & 1), std::nullopt, rule};
    const Period birthPeriod{period, static_cast<ZiHalf>((flags >> 4) % 3)};
    const Result<BirthReading> birthReading = Read({{year, month, day}, {}, birthPeriod}, options);
    Check(birthReading.ok() == (GregorianDate{year, month, day}.ok() && birthPeriod.ok()) ||
          (!birthReading.ok() && birthReading.error().code == ErrorCode::ReadingDayOutsideRange));
    if (birthReading.ok()) {
        Check(birthReading->totalWeight == birthReading->yearWeight + birthReading->monthWeight +
                                               birthReading->dayWeight +
                                               birthReading->periodWeight);
        Check(birthReading->verseLines == VerseLines(birthReading->totalWeight));
        for (const BirthReading& alternative : birthReading->alternatives) {
            if (alternative.timeChange == BirthReading::TimeChange::OtherSideOfTerm) {
                Check(birthReading->solarTerm.has_value() && !alternative.switched);
                Check(alternative.yearStemBranch != birthReading->yearStemBranch ||
                      alternative.monthStemBranch != birthReading->monthStemBranch);
                continue;
            }
            Check(alternative.switched.has_value());
            // The other calendar is given when it changes the day read, a pillar or the total.
            if (alternative.switched == Convention::CalendarRule) {
                Check(alternative.lunarDate != birthReading->lunarDate ||
                      alternative.readingDate != birthReading->readingDate ||
                      alternative.yearStemBranch != birthReading->yearStemBranch ||
                      alternative.monthStemBranch != birthReading->monthStemBranch ||
                      alternative.totalWeight != birthReading->totalWeight);
            } else {
                Check(alternative.totalWeight != birthReading->totalWeight);
            }
            Check(Switched(options, *alternative.switched) == alternative.options);
        }
    }

    // The day cursor, moved on as many days as the input asks, agrees with the conversion.
    if (CD::IsSupportedDate(year, month, day)) {
        DayCursor cursor(year, month, day);
        std::int32_t dayOffset = CD::DayDifference(year, month, day, 1901, 1, 1);
        const std::int32_t last = CD::DayDifference(2100, 12, 31, 1901, 1, 1);
        for (int i = 0; i < steps && dayOffset < last; ++i, ++dayOffset) cursor.Advance();
        Check(cursor.lunar() == CD::LunarDateAt(dayOffset));
        Check(cursor.index() == CD::StemBranchIndices(cursor.year(), cursor.month(), cursor.day()));
    }
    return 0;
}
