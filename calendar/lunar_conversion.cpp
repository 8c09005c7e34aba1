// Gregorian arithmetic and the lunar conversion in both directions: day numbers counted from
// a fixed epoch, and the day offset of every lunar new year, derived at compile time from the
// packed tables, so that a conversion never walks over the years.
#include <bit>

#include "calendar/calendar_date.h"
#include "calendar/lunar_tables.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

using LunarTables::FirstYear;
using LunarTables::LastYear;

// Day offsets of the epoch's lunar 1900 (see lunar_tables.h).
constexpr std::int32_t EpochDayOfMonth11 = LunarTables::EpochLunarDay;
constexpr std::int32_t EpochLastDayOfMonth11 =
    LunarTables::Lunar1900Month11Days - EpochDayOfMonth11;  // 18
constexpr std::int32_t EpochLastDayOfYear1900 =
    EpochLastDayOfMonth11 + LunarTables::Lunar1900Month12Days;  // 48
// The first day the epoch determines: lunar 1900-11-1, Gregorian 1900-12-22.
constexpr std::int32_t FirstConvertibleOffset = 1 - EpochDayOfMonth11;  // -10
static_assert(EpochLastDayOfMonth11 == 18 && EpochLastDayOfYear1900 == 48);

constexpr bool IsLeap(std::int32_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days since a fixed origin, for differences only. Months outside 1-12 count on from
// January of the year; days past the month's end count on into the next month.
constexpr std::int32_t DayNumber(std::uint16_t y, std::uint16_t m, std::uint16_t d) {
    std::int32_t year = y;
    std::int32_t month = m;
    if (month == 0) {
        year -= 1;
        month = 12;
    } else if (month > 12) {
        year += (month - 1) / 12;  // [0, 5461]
        month = (month - 1) % 12 + 1;
    }
    const std::int32_t before = LunarTables::DaysBeforeMonth[static_cast<std::size_t>(month - 1)];
    const std::int32_t leapDay = IsLeap(year) && month > 2 ? 1 : 0;
    // year in [-1, 70996]: the product stays far inside 32 bits.
    return 365 * year + (year - 1) / 4 - (year - 1) / 100 + (year - 1) / 400 + before + d + leapDay;
}

// The last day of the range, 2100-12-31.
constexpr std::int32_t LastDayOffset = 73048;
static_assert(DayNumber(2100, 12, 31) - DayNumber(1901, 1, 1) == LastDayOffset);

bool HasTables(std::uint16_t lunarYear) { return lunarYear >= FirstYear && lunarYear <= LastYear; }

// Readers of the packed tables by year index (lunar year - 1901, [0, 199]).
constexpr unsigned LeapMonthAt(int yearIndex) {
    const unsigned pair = LunarTables::LeapMonths[static_cast<std::size_t>(yearIndex / 2)];
    return yearIndex % 2 == 0 ? pair >> 4 : pair & 0x0fu;  // [0, 15]
}
constexpr unsigned MonthSizesAt(int yearIndex) {
    return LunarTables::MonthSizes[static_cast<std::size_t>(yearIndex)];
}
constexpr int MonthsIn(int yearIndex) { return LeapMonthAt(yearIndex) == 0 ? 12 : 13; }

// Days before the month in position p of the year ([0, 13]; the leap month takes the
// position after the month it follows): 29 a month plus one for each 30-day month among
// the top p bits. The bits below the year's last month are zero, so p = 13 in a 12-month
// year gives more days than the year has.
constexpr std::int32_t DaysBeforePosition(unsigned sizes, int p) {
    const unsigned longMonths = p == 0 ? 0u : sizes >> (16 - p);  // the top p bits
    return 29 * p + std::popcount(longMonths);                    // [0, 385]
}

// The day offset of each lunar new year 1901-2101 (element y - 1901; the last is the day
// after lunar 2100 ends).
constexpr std::array<std::int32_t, LunarTables::YearCount + 1> NewYearOffsets = [] {
    std::array<std::int32_t, LunarTables::YearCount + 1> offsets{};
    offsets[0] = EpochLastDayOfYear1900 + 1;
    for (int i = 0; i < LunarTables::YearCount; ++i) {
        offsets[static_cast<std::size_t>(i) + 1] =
            offsets[static_cast<std::size_t>(i)] + DaysBeforePosition(MonthSizesAt(i), MonthsIn(i));
    }
    return offsets;
}();

// Every fourth year from 1901 to 2101 is a leap year but 2100. Counting a day more from
// 2100-03-01 on puts back the 2100-02-29 that is not there, so that four years are always
// 1,461 days.
constexpr std::int32_t March1Of2100 = 72743;
static_assert(DayNumber(2100, 3, 1) - DayNumber(1901, 1, 1) == March1Of2100);
constexpr std::int32_t WithLeapDayOf2100(std::int32_t dayOffset) {
    return dayOffset >= March1Of2100 ? dayOffset + 1 : dayOffset;
}

// The Gregorian year (as an index from 1901) of a day offset from 0 to the last day of lunar
// 2100.
constexpr int GregorianYearIndex(std::int32_t dayOffset) {
    return (4 * WithLeapDayOf2100(dayOffset) + 3) / 1461;  // [0, 200]
}

constexpr bool TablesAreConsistent() {
    for (int i = 0; i < LunarTables::YearCount; ++i) {
        const unsigned sizes = MonthSizesAt(i);
        const int months = MonthsIn(i);
        if ((sizes & ((1u << (16 - months)) - 1)) != 0) return false;  // bits below the last month
        if (LeapMonthAt(i) > 12) return false;
        // Lunar year y begins in Gregorian year y: the year lookup below relies on it.
        if (GregorianYearIndex(NewYearOffsets[static_cast<std::size_t>(i)]) != i) return false;
    }
    return true;
}
static_assert(TablesAreConsistent());
static_assert(NewYearOffsets.front() == 49);  // 1901-02-19
static_assert(NewYearOffsets[150] == 54787 + 41);  // 2051-02-11, lunar 2051-1-1
static_assert(GregorianYearIndex(54786) == 149 && GregorianYearIndex(54787) == 150);
static_assert(GregorianYearIndex(LastDayOffset) == 199 && GregorianYearIndex(LastDayOffset + 1) == 200);

// The day offset of a lunar date whose month and day exist (lunar 1900: months 11 and 12).
std::int32_t LunarDayOffset(const LunarDate& lunar) {
    if (lunar.year < FirstYear) {
        return lunar.month == 11 ? lunar.day - EpochDayOfMonth11
                                 : EpochLastDayOfMonth11 + lunar.day;
    }
    const int i = lunar.year - FirstYear;  // [0, 199]
    const int leap = static_cast<int>(LeapMonthAt(i));
    // The leap month, and every month after it, sits one position later.
    const int p = lunar.month - 1 + (leap != 0 && (lunar.month > leap || lunar.leapMonth) ? 1 : 0);
    return NewYearOffsets[static_cast<std::size_t>(i)] + DaysBeforePosition(MonthSizesAt(i), p) +
           lunar.day - 1;
}

std::uint16_t LowHalf(std::uint32_t packed) { return static_cast<std::uint16_t>(packed & 0xffff); }
std::uint16_t HighHalf(std::uint32_t packed) { return static_cast<std::uint16_t>(packed >> 16); }

}  // namespace

int CalendarDate::IsGregorianLeapYear(std::uint16_t year) { return IsLeap(year) ? 1 : 0; }

std::uint16_t CalendarDate::GregorianMonthDays(std::uint16_t year, std::uint16_t month) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return IsGregorianLeapYear(year) ? 29 : 28;
        default:
            return 0;
    }
}

std::int32_t CalendarDate::DayDifference(std::uint16_t year1, std::uint16_t month1,
                                         std::uint16_t day1, std::uint16_t year2,
                                         std::uint16_t month2, std::uint16_t day2) {
    return DayNumber(year1, month1, day1) - DayNumber(year2, month2, day2);
}

std::uint16_t CalendarDate::LunarLeapMonth(std::uint16_t lunarYear) {
    if (!HasTables(lunarYear)) return 0;
    return static_cast<std::uint16_t>(LeapMonthAt(lunarYear - FirstYear));
}

std::uint32_t CalendarDate::LunarMonthDays(std::uint16_t lunarYear, std::uint16_t lunarMonth) {
    if (lunarYear <= 1900) return 30;
    if (!HasTables(lunarYear) || lunarMonth < 1 || lunarMonth > 12) return 0;

    const unsigned leap = LunarLeapMonth(lunarYear);
    const unsigned sizes = LunarTables::MonthSizes[static_cast<std::size_t>(lunarYear - FirstYear)];
    // Month m is bit 16 - m; the months after the leap month sit one bit lower.
    unsigned bit = 16u - lunarMonth;               // [4, 15]
    if (leap != 0 && lunarMonth > leap) bit -= 1;  // [3, 14]
    const std::uint32_t regular = 29 + ((sizes >> bit) & 1u);
    if (lunarMonth != leap) return regular;
    const std::uint32_t leapDays = 29 + ((sizes >> (bit - 1)) & 1u);  // bit - 1 in [3, 14]
    return leapDays << 16 | regular;
}

std::uint16_t CalendarDate::LunarYearDays(std::uint16_t lunarYear) {
    std::uint32_t days = 0;
    for (std::uint16_t m = 1; m <= 12; ++m) {
        const std::uint32_t packed = LunarMonthDays(lunarYear, m);
        days += (packed & 0xffff) + (packed >> 16);
    }
    return static_cast<std::uint16_t>(days);  // 0, 360, or [353, 385] inside the tables
}

int CalendarDate::SectionalTermDay(std::uint16_t year, std::uint16_t month) {
    if (!HasTables(year) || month < 1 || month > 12) return 0;
    const std::size_t i = 12u * static_cast<std::size_t>(year - FirstYear) + (month - 1u);
    return 15 - (LunarTables::SectionalTerms[i] >> 4);  // [3, 9] in the table
}

LunarDate CalendarDate::LunarDateAt(std::int32_t dayOffset) {
    if (dayOffset < FirstConvertibleOffset) return {};
    if (dayOffset <= EpochLastDayOfYear1900) {
        if (dayOffset <= EpochLastDayOfMonth11) {
            return {1900, 11, static_cast<std::uint16_t>(dayOffset + EpochDayOfMonth11), false};
        }
        return {1900, 12, static_cast<std::uint16_t>(dayOffset - EpochLastDayOfMonth11), false};
    }

    if (dayOffset >= NewYearOffsets.back()) return {};  // past the end of lunar 2100

    // Lunar year y begins in Gregorian year y, so the day lies in lunar year y or y - 1.
    int i = GregorianYearIndex(dayOffset);                                           // [1, 200]
    if (dayOffset < NewYearOffsets[static_cast<std::size_t>(i)]) --i;                // [0, 199]
    const std::int32_t n = dayOffset - NewYearOffsets[static_cast<std::size_t>(i)];  // [0, 384]

    // The month's position p: months have 29 or 30 days, so n / 30 is p or p - 1.
    const unsigned sizes = MonthSizesAt(i);
    int p = n / 30;                                                                     // [0, 12]
    if (DaysBeforePosition(sizes, p + 1) <= n) ++p;                                     // [0, 12]
    const auto day = static_cast<std::uint16_t>(n - DaysBeforePosition(sizes, p) + 1);  // [1, 30]

    const auto year = static_cast<std::uint16_t>(FirstYear + i);
    const int leap = static_cast<int>(LeapMonthAt(i));
    if (leap == 0 || p < leap) return {year, static_cast<std::uint16_t>(p + 1), day, false};
    return {year, static_cast<std::uint16_t>(p == leap ? leap : p), day, p == leap};
}

void CalendarDate::LunarDateFromOffset(std::uint16_t& lunarYear, std::uint16_t& lunarMonth,
                                       std::uint16_t& lunarDay, std::int32_t dayOffset) {
    const LunarDate date = LunarDateAt(dayOffset);
    lunarYear = date.year;
    lunarMonth = date.month;
    lunarDay = date.day;
}

void CalendarDate::GregorianToLunar(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                                    std::uint16_t& lunarYear, std::uint16_t& lunarMonth,
                                    std::uint16_t& lunarDay) {
    LunarDateFromOffset(lunarYear, lunarMonth, lunarDay,
                        DayDifference(year, month, day, FirstYear, 1, 1));
}

std::uint16_t CalendarDate::LunarMonthLength(std::uint16_t lunarYear, std::uint16_t lunarMonth,
                                             bool leapMonth) {
    if (lunarYear == FirstYear - 1) {  // only the end of lunar 1900 is known
        if (leapMonth) return 0;
        if (lunarMonth == 11) return LunarTables::Lunar1900Month11Days;
        if (lunarMonth == 12) return LunarTables::Lunar1900Month12Days;
        return 0;
    }
    if (!HasTables(lunarYear) || (leapMonth && LunarLeapMonth(lunarYear) != lunarMonth)) return 0;
    const std::uint32_t packed = LunarMonthDays(lunarYear, lunarMonth);
    return leapMonth ? HighHalf(packed) : LowHalf(packed);
}

LunarDateError CalendarDate::CheckLunarDate(const LunarDate& lunar) {
    if (lunar.year < FirstYear - 1 || lunar.year > LastYear) return LunarDateError::OutsideRange;
    if (lunar.month < 1 || lunar.month > 12) return LunarDateError::NoSuchMonth;
    if (lunar.year == FirstYear - 1 && (lunar.month < 11 || lunar.leapMonth)) {
        return LunarDateError::OutsideRange;
    }
    if (lunar.leapMonth && LunarLeapMonth(lunar.year) != lunar.month) {
        return LunarDateError::NoSuchLeapMonth;
    }
    const std::uint16_t days = LunarMonthLength(lunar.year, lunar.month, lunar.leapMonth);
    if (lunar.day < 1 || lunar.day > days) return LunarDateError::NoSuchDay;
    const std::int32_t offset = LunarDayOffset(lunar);
    if (offset < 0 || offset > LastDayOffset) return LunarDateError::OutsideRange;
    return LunarDateError::None;
}

GregorianDate CalendarDate::LunarToGregorian(const LunarDate& lunar) {
    if (CheckLunarDate(lunar) != LunarDateError::None) return {};
    return GregorianDate::FromDayOffset(LunarDayOffset(lunar));
}

bool GregorianDate::ok() const { return CalendarDate::IsSupportedDate(year, month, day); }

std::int32_t GregorianDate::DayOffset() const {
    return CalendarDate::DayDifference(year, month, day, FirstYear, 1, 1);
}

GregorianDate GregorianDate::FromDayOffset(std::int32_t dayOffset) {
    if (dayOffset < 0 || dayOffset > LastDayOffset) return {};
    // Days from 1900-03-01, so that the leap day ends each four-year cycle (Howard Hinnant's
    // civil_from_days within one century, with 2100's missing leap day put back: 2100-02-29
    // is never reached, since its offset is counted as 2100-03-01).
    const std::int32_t days = WithLeapDayOf2100(dayOffset) + 306;   // [306, 73355]
    const std::int32_t yearOfCycle = (4 * days + 3) / 1461;          // years since 1900-03
    const std::int32_t dayOfYear = days - (1461 * yearOfCycle) / 4;  // [0, 365], from March 1
    const std::int32_t monthFromMarch = (5 * dayOfYear + 2) / 153;   // [0, 11]
    const std::int32_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;  // [1, 31]
    const std::int32_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    const std::int32_t year = 1900 + yearOfCycle + (month <= 2 ? 1 : 0);
    return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(day)};
}

bool CalendarDate::IsInDomain(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    return year >= FirstYear && year <= LastYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= 31;
}

bool CalendarDate::IsSupportedDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    return IsInDomain(year, month, day) && day <= GregorianMonthDays(year, month);
}

CHENGGU_END_NAMESPACE
