// Gregorian arithmetic and the Gregorian-to-lunar conversion: day numbers counted from a
// fixed epoch, then a walk over the lunar years and months of the packed tables.
#include "calendar_date.h"

#include "lunar_tables.h"

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

bool IsLeap(std::int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days since a fixed origin, for differences only. Months outside 1-12 count on from
// January of the year; days past the month's end count on into the next month.
std::int32_t DayNumber(std::uint16_t y, std::uint16_t m, std::uint16_t d) {
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

bool HasTables(std::uint16_t lunarYear) { return lunarYear >= FirstYear && lunarYear <= LastYear; }

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
    const int i = lunarYear - FirstYear;  // [0, 149]
    const std::uint8_t pair = LunarTables::LeapMonths[static_cast<std::size_t>(i / 2)];
    return static_cast<std::uint16_t>(i % 2 == 0 ? pair >> 4 : pair & 0x0f);  // [0, 15]
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

    std::int32_t n = dayOffset - (EpochLastDayOfYear1900 + 1);  // days after lunar 1901-1-1
    std::uint16_t year = FirstYear;
    while (year <= LastYear && n >= LunarYearDays(year)) {
        n -= LunarYearDays(year);
        ++year;
    }
    if (year > LastYear) return {};  // past the end of lunar 2050

    // n < LunarYearDays(year): the walk ends inside the year's last month.
    const std::uint16_t leap = LunarLeapMonth(year);
    std::uint16_t month = 1;
    for (;; ++month) {
        const std::uint32_t packed = LunarMonthDays(year, month);
        if (n < LowHalf(packed)) break;
        n -= LowHalf(packed);
        if (month == leap) {
            if (n < HighHalf(packed)) {
                return {year, month, static_cast<std::uint16_t>(n + 1), true};
            }
            n -= HighHalf(packed);
        }
    }
    return {year, month, static_cast<std::uint16_t>(n + 1), false};  // n in [0, 29]
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

bool CalendarDate::IsInDomain(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    return year >= FirstYear && year <= LastYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= 31;
}

bool CalendarDate::IsSupportedDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    return IsInDomain(year, month, day) && day <= GregorianMonthDays(year, month);
}
