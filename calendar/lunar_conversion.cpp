// Gregorian arithmetic and the lunar conversion in both directions: day numbers counted from
// a fixed epoch, and each calendar rule's lunar years with the day offset of their new years,
// unpacked once from the packed tables, so that a conversion never walks over the years.
#include <algorithm>
#include <bit>

#include "calendar/calendar_date.h"
#include "calendar/lunar_tables.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

using LunarTables::FirstYear;
using LunarTables::LastYear;
constexpr std::size_t YearCount = LunarTables::YearCount;

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

constexpr std::int32_t OffsetOf(std::uint16_t y, std::uint16_t m, std::uint16_t d) {
    return DayNumber(y, m, d) - DayNumber(1901, 1, 1);
}

// The first and last days of the range: 1645-01-28 (lunar 1645-1-1) and 2100-12-31.
constexpr std::int32_t FirstDayOffset =
    OffsetOf(FirstYear, LunarTables::FirstMonth, LunarTables::FirstDay);
constexpr std::int32_t LastDayOffset = OffsetOf(2100, 12, 31);
static_assert(FirstDayOffset == (FirstYear == 1645 ? -93474 : 49) && LastDayOffset == 73048);

// The Gregorian date of a day offset, for any offset (Howard Hinnant's civil_from_days, days
// counted from 0000-03-01 so that the leap day ends each year).
struct Civil {
    std::int32_t year, month, day;
};
constexpr Civil CivilOf(std::int32_t dayOffset) {
    const std::int32_t z = dayOffset + 694266;  // days from 0000-03-01; positive in the range
    const std::int32_t era = z / 146097;
    const std::int32_t dayOfEra = z - era * 146097;                                        // [0, 146096]
    const std::int32_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int32_t monthFromMarch = (5 * dayOfYear + 2) / 153;                   // [0, 11]
    const std::int32_t day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;         // [1, 31]
    const std::int32_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}
static_assert(CivilOf(0).year == 1901 && CivilOf(0).month == 1 && CivilOf(0).day == 1);
static_assert(CivilOf(FirstDayOffset).year == FirstYear &&
              CivilOf(FirstDayOffset).day == LunarTables::FirstDay);
static_assert(CivilOf(-93474).year == 1645 && CivilOf(-93474).month == 1 && CivilOf(-93474).day == 28);
static_assert(CivilOf(LastDayOffset).month == 12 && CivilOf(LastDayOffset).day == 31);

bool HasTables(std::uint16_t lunarYear) { return lunarYear >= FirstYear && lunarYear <= LastYear; }

// Days before the month in position p of the year ([0, 13]; the leap month takes the
// position after the month it follows): 29 a month plus one for each 30-day month among
// the top p bits. The bits below the year's last month are zero, so p = 13 in a 12-month
// year gives more days than the year has.
constexpr std::int32_t DaysBeforePosition(unsigned sizes, int p) {
    const unsigned longMonths = p == 0 ? 0u : sizes >> (16 - p);  // the top p bits
    return 29 * p + std::popcount(longMonths);                    // [0, 385]
}

constexpr unsigned LeapMonthAt(std::size_t i) {
    const unsigned pair = LunarTables::LeapMonths[i / 2];
    return i % 2 == 0 ? pair >> 4 : pair & 0x0fu;  // [0, 15]
}

// One lunar year (index lunar year - 1645): its month sizes, leap month, and the day offset of
// its new year.
struct LunarYear {
    unsigned sizes = 0;
    int leap = 0;
    std::int32_t newYear = 0;
};

// The computed calendar's new years as days after January 1 of their year (20 to 50; the
// last is lunar 2101's), summed from the month sizes: a byte a year.
constexpr std::array<std::uint8_t, YearCount + 1> SumNewYearDays() {
    std::array<std::uint8_t, YearCount + 1> days{};
    std::int32_t newYear = FirstDayOffset;
    for (std::size_t i = 0; i <= YearCount; ++i) {
        const int year = FirstYear + static_cast<int>(i);
        days[i] = static_cast<std::uint8_t>(newYear - OffsetOf(static_cast<std::uint16_t>(year), 1, 1));
        if (i < YearCount) {
            newYear += DaysBeforePosition(LunarTables::MonthSizes[i], LeapMonthAt(i) == 0 ? 12 : 13);
        }
    }
    return days;
}
using NewYearDays = std::array<std::uint8_t, YearCount + 1>;

// A year of the range (index [0, YearCount]; YearCount: lunar 2101, its new year alone) by a
// rule: the computed tables, or a year of the calendars as printed where they differ.
constexpr LunarYear YearAt(std::size_t i, CalendarRule rule, const NewYearDays& newYearDays) {
    const auto year = static_cast<std::uint16_t>(FirstYear + static_cast<int>(i));
    if (rule == CalendarRule::Printed && year < 1929) {
        const auto& printed = LunarTables::PrintedYearsWithin;
        const auto* found = std::lower_bound(
            printed.begin(), printed.end(), year,
            [](const LunarTables::PrintedYear& p, std::uint16_t y) { return p.year < y; });
        if (found != printed.end() && found->year == year) {
            return {found->monthSizes, found->leapMonth, OffsetOf(year, 1, 1) + found->newYearDay};
        }
    }
    if (i == YearCount) return {0, 0, OffsetOf(year, 1, 1) + newYearDays[i]};
    return {LunarTables::MonthSizes[i], static_cast<int>(LeapMonthAt(i)),
            OffsetOf(year, 1, 1) + newYearDays[i]};
}

// Each rule's years, unpacked once at run time (the new years summed rather than carried: the
// web page's first visit counts the engine's bytes), so that a conversion reads one entry.
using RuleYears = std::array<LunarYear, YearCount + 1>;
RuleYears Unpacked(CalendarRule rule) {
    const NewYearDays days = SumNewYearDays();
    RuleYears years;
    for (std::size_t i = 0; i <= YearCount; ++i) years[i] = YearAt(i, rule, days);
    return years;
}
const RuleYears& YearsOf(CalendarRule rule) {
    static const std::array<RuleYears, 2> byRule{Unpacked(CalendarRule::Printed),
                                                 Unpacked(CalendarRule::Computed)};
    return byRule[rule == CalendarRule::Computed ? 1 : 0];
}
const LunarYear& YearOf(std::size_t i, CalendarRule rule) { return YearsOf(rule)[i]; }

constexpr bool TablesAreConsistent(CalendarRule rule) {
    const NewYearDays days = SumNewYearDays();
    for (std::size_t i = 0; i < YearCount; ++i) {
        const LunarYear year = YearAt(i, rule, days);
        const int months = year.leap == 0 ? 12 : 13;
        if ((year.sizes & ((1u << (16 - months)) - 1)) != 0) return false;  // bits below the last month
        if (year.leap > 12) return false;
        // Each year ends where the next begins; lunar year y begins in January or February of
        // Gregorian year y: the year lookup below relies on it.
        if (year.newYear + DaysBeforePosition(year.sizes, months) != YearAt(i + 1, rule, days).newYear) {
            return false;
        }
        const Civil newYear = CivilOf(year.newYear);
        if (newYear.year != FirstYear + static_cast<std::int32_t>(i) || newYear.month > 2) return false;
    }
    return YearAt(YearCount, rule, days).newYear == OffsetOf(2101, 1, 29);  // lunar 2101-1-1
}
static_assert(TablesAreConsistent(CalendarRule::Printed) && TablesAreConsistent(CalendarRule::Computed));
constexpr std::int32_t ComputedNewYear(int year) {
    return YearAt(static_cast<std::size_t>(year - FirstYear), CalendarRule::Computed, SumNewYearDays())
        .newYear;
}
static_assert(ComputedNewYear(FirstYear) == FirstDayOffset);
static_assert(ComputedNewYear(1901) == 49);          // 1901-02-19
static_assert(ComputedNewYear(2051) == 54787 + 41);  // 2051-02-11

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

std::uint16_t CalendarDate::LunarLeapMonth(std::uint16_t lunarYear, CalendarRule rule) {
    if (!HasTables(lunarYear)) return 0;
    return static_cast<std::uint16_t>(YearOf(static_cast<std::size_t>(lunarYear - FirstYear), rule).leap);
}

std::uint32_t CalendarDate::LunarMonthDays(std::uint16_t lunarYear, std::uint16_t lunarMonth,
                                           CalendarRule rule) {
    if (lunarYear < FirstYear) return 30;
    if (!HasTables(lunarYear) || lunarMonth < 1 || lunarMonth > 12) return 0;

    const LunarYear& year = YearOf(static_cast<std::size_t>(lunarYear - FirstYear), rule);
    const auto leap = static_cast<unsigned>(year.leap);
    const unsigned sizes = year.sizes;
    // Month m is bit 16 - m; the months after the leap month sit one bit lower.
    unsigned bit = 16u - lunarMonth;               // [4, 15]
    if (leap != 0 && lunarMonth > leap) bit -= 1;  // [3, 14]
    const std::uint32_t regular = 29 + ((sizes >> bit) & 1u);
    if (lunarMonth != leap) return regular;
    const std::uint32_t leapDays = 29 + ((sizes >> (bit - 1)) & 1u);  // bit - 1 in [3, 14]
    return leapDays << 16 | regular;
}

std::uint16_t CalendarDate::LunarYearDays(std::uint16_t lunarYear, CalendarRule rule) {
    std::uint32_t days = 0;
    for (std::uint16_t m = 1; m <= 12; ++m) {
        const std::uint32_t packed = LunarMonthDays(lunarYear, m, rule);
        days += (packed & 0xffff) + (packed >> 16);
    }
    return static_cast<std::uint16_t>(days);  // 0, 360, or [353, 385] inside the tables
}

int CalendarDate::SectionalTermDay(std::uint16_t year, std::uint16_t month, CalendarRule rule) {
    if (!HasTables(year) || month < 1 || month > 12) return 0;
    const std::size_t i = 12u * static_cast<std::size_t>(year - FirstYear) + (month - 1u);
    const unsigned pair = LunarTables::SectionalTermDays[i / 2];
    int day = static_cast<int>(i % 2 == 0 ? pair >> 4 : pair & 0x0fu);
    if (rule == CalendarRule::Printed && year < 1929) {
        // A term the calendar of the time printed a day before or after.
        const auto key = static_cast<unsigned>(12 * year + month - 1);
        const auto& printed = LunarTables::PrintedTermsWithin;
        const auto* found = std::lower_bound(
            printed.begin(), printed.end(), key,
            [](std::uint16_t term, unsigned k) { return (term & 0x7fffu) < k; });
        if (found != printed.end() && (*found & 0x7fffu) == key) day += (*found & 0x8000u) ? -1 : 1;
    }
    return day;  // [3, 9]
}

LunarDate CalendarDate::LunarDateAt(std::int32_t dayOffset, CalendarRule rule) {
    const RuleYears& years = YearsOf(rule);
    // Lunar 2100 ends in January 2101: its last days convert too.
    if (dayOffset < FirstDayOffset || dayOffset >= years[YearCount].newYear) return {};

    // The year from the mean length of a year, then at most a step either way to the lunar year
    // the day lies in (a lunar year is 353 to 385 days).
    auto i = static_cast<std::size_t>(std::int64_t{dayOffset - FirstDayOffset} * 400 / 146097);
    if (i >= YearCount) i = YearCount - 1;
    while (i > 0 && dayOffset < years[i].newYear) --i;
    while (dayOffset >= years[i + 1].newYear) ++i;  // [0, 455]
    const LunarYear& lunarYear = years[i];
    const std::int32_t n = dayOffset - lunarYear.newYear;  // [0, 384]

    // The month's position p: months have 29 or 30 days, so n / 30 is p or p - 1.
    const unsigned sizes = lunarYear.sizes;
    int p = n / 30;                                                                     // [0, 12]
    if (DaysBeforePosition(sizes, p + 1) <= n) ++p;                                     // [0, 12]
    const auto day = static_cast<std::uint16_t>(n - DaysBeforePosition(sizes, p) + 1);  // [1, 30]

    const auto year = static_cast<std::uint16_t>(FirstYear + static_cast<int>(i));
    const int leap = lunarYear.leap;
    if (leap == 0 || p < leap) return {year, static_cast<std::uint16_t>(p + 1), day, false};
    return {year, static_cast<std::uint16_t>(p == leap ? leap : p), day, p == leap};
}

void CalendarDate::LunarDateFromOffset(std::uint16_t& lunarYear, std::uint16_t& lunarMonth,
                                       std::uint16_t& lunarDay, std::int32_t dayOffset,
                                       CalendarRule rule) {
    const LunarDate date = LunarDateAt(dayOffset, rule);
    lunarYear = date.year;
    lunarMonth = date.month;
    lunarDay = date.day;
}

void CalendarDate::GregorianToLunar(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                                    std::uint16_t& lunarYear, std::uint16_t& lunarMonth,
                                    std::uint16_t& lunarDay, CalendarRule rule) {
    LunarDateFromOffset(lunarYear, lunarMonth, lunarDay, OffsetOf(year, month, day), rule);
}

std::uint16_t CalendarDate::LunarMonthLength(std::uint16_t lunarYear, std::uint16_t lunarMonth,
                                             bool leapMonth, CalendarRule rule) {
    if (!HasTables(lunarYear) || (leapMonth && LunarLeapMonth(lunarYear, rule) != lunarMonth)) {
        return 0;
    }
    const std::uint32_t packed = LunarMonthDays(lunarYear, lunarMonth, rule);
    return leapMonth ? HighHalf(packed) : LowHalf(packed);
}

namespace {

// The day offset of a lunar date, or why it has none: the year's entry read once.
LunarDateError Checked(const LunarDate& lunar, CalendarRule rule, std::int32_t& offset) {
    if (!HasTables(lunar.year)) return LunarDateError::OutsideRange;
    if (lunar.month < 1 || lunar.month > 12) return LunarDateError::NoSuchMonth;
    const LunarYear& year = YearOf(static_cast<std::size_t>(lunar.year - FirstYear), rule);
    if (lunar.leapMonth && year.leap != lunar.month) return LunarDateError::NoSuchLeapMonth;
    // The month's position: the leap month, and every month after it, sits one later.
    const int p = lunar.month - 1 + (year.leap != 0 && (lunar.month > year.leap || lunar.leapMonth) ? 1 : 0);
    const std::int32_t before = DaysBeforePosition(year.sizes, p);
    if (lunar.day < 1 || lunar.day > DaysBeforePosition(year.sizes, p + 1) - before) {
        return LunarDateError::NoSuchDay;
    }
    offset = year.newYear + before + lunar.day - 1;
    if (offset < FirstDayOffset || offset > LastDayOffset) return LunarDateError::OutsideRange;
    return LunarDateError::None;
}

}  // namespace

LunarDateError CalendarDate::CheckLunarDate(const LunarDate& lunar, CalendarRule rule) {
    std::int32_t offset = 0;
    return Checked(lunar, rule, offset);
}

GregorianDate CalendarDate::LunarToGregorian(const LunarDate& lunar, CalendarRule rule) {
    std::int32_t offset = 0;
    if (Checked(lunar, rule, offset) != LunarDateError::None) return {};
    return GregorianDate::FromDayOffset(offset);
}

bool GregorianDate::ok() const { return CalendarDate::IsSupportedDate(year, month, day); }

std::int32_t GregorianDate::DayOffset() const {
    return OffsetOf(year, month, day);
}

GregorianDate GregorianDate::FromDayOffset(std::int32_t dayOffset) {
    if (dayOffset < FirstDayOffset || dayOffset > LastDayOffset) return {};
    const Civil civil = CivilOf(dayOffset);
    return {static_cast<std::uint16_t>(civil.year), static_cast<std::uint16_t>(civil.month),
            static_cast<std::uint16_t>(civil.day)};
}

bool CalendarDate::IsInDomain(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    return year >= FirstYear && year <= LastYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= 31 && OffsetOf(year, month, day) >= FirstDayOffset;
}

bool CalendarDate::IsSupportedDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    return IsInDomain(year, month, day) && day <= GregorianMonthDays(year, month);
}

CHENGGU_END_NAMESPACE
