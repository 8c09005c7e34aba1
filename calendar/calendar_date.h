// CalendarDate: one Gregorian date with its Chinese lunar date and the stem-branch (干支)
// names of its year, month and day, plus the stateless calendar arithmetic behind them.
//
// The engine covers Gregorian 1645-01-28 (lunar 1645-1-1) to 2100-12-31, by the calendar as
// printed at the time (CalendarRule::Printed, the default) or as computed today. Inside that
// range every answer comes from the packed tables of lunar_tables.h. Outside it nothing is
// read past a table and nothing is undefined; the answers are:
//   - LunarLeapMonth: 0 for lunar years outside 1645-2100.
//   - LunarMonthDays: 30 for every month of a lunar year before 1645, as its contract has
//     always said of the years before the tables: a placeholder that no conversion uses; 0
//     for a lunar year after 2100 or a month outside 1-12.
//   - LunarYearDays: the sum of those, so 360 before 1645 and 0 after 2100.
//   - LunarDateAt / LunarDateFromOffset / GregorianToLunar: lunar 0-0-0 for a day before
//     1645-01-28 or after 2100-12-31.
//   - SectionalTermDay: 0 for a year outside 1645-2100 or a month outside 1-12.
//   - DayDifference: a month outside 1-12 counts on from January of the given year
//     (month 13 is January of the next year, month 0 December of the year before), as a
//     day past the end of its month counts on into the next month.
//   - LunarToGregorian: a GregorianDate that is not ok() for a lunar date that does not
//     exist or lies outside the range; CheckLunarDate says which.
//   - GregorianDate::FromDayOffset: not ok() for an offset outside the range.
//   - StemBranchName, StemBranchText: the cycle continues below index 0 (index -1 is 癸亥).
//   - A CalendarDate (and StemBranchNames) outside IsInDomain: lunar date 0-0-0 and
//     empty names.
//
// Which month length to use: LunarMonthLength, the real length of any month the engine
// converts. LunarMonthDays keeps its packed form and its contract for the years before 1645.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "chenggu/date.h"

CHENGGU_BEGIN_NAMESPACE

// The ten heavenly stems and the twelve earthly branches, in UTF-8; a sexagenary index i
// names HeavenlyStems[i mod 10] followed by EarthlyBranches[i mod 12], index 0 being 甲子.
inline constexpr std::array<std::string_view, 10> HeavenlyStems{
    "甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸",
};
inline constexpr std::array<std::string_view, 12> EarthlyBranches{
    "子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥",
};

// A year whose stem-branch name is 甲子, index 0 of the cycle: the year named by year index
// i is CycleStartYear + i.
inline constexpr int CycleStartYear = 1864;

// Why a lunar date cannot be converted (LunarDateError::None: it can).
enum class LunarDateError {
    None,
    NoSuchMonth,      // month outside 1-12
    NoSuchLeapMonth,  // the year has no leap month after that month
    NoSuchDay,        // day 0, or past the end of the month (day 30 of a 29-day month)
    OutsideRange,     // before 1645-01-28 (lunar 1645-1-1) or after 2100-12-31 (2100-12-01)
};

// The sexagenary indices of a date's year, month and day (see HeavenlyStems).
struct StemBranchIndex {
    std::int32_t year = 0;   // changes on February's sectional term (立春)
    std::int32_t month = 0;  // changes on each month's sectional term
    std::int32_t day = 0;    // days since 1900-01-01, plus 10

    friend bool operator==(const StemBranchIndex&, const StemBranchIndex&) = default;
};

class CalendarDate {
  public:
    std::uint16_t year = 0;        // Gregorian
    std::uint16_t month = 0;       // Gregorian, [1, 12]
    std::uint16_t day = 0;         // Gregorian, [1, 31]
    std::uint16_t lunarYear = 0;   // numbered by the Gregorian year in which it began
    std::uint16_t lunarMonth = 0;  // [1, 12], no leap mark
    std::uint16_t lunarDay = 0;    // [1, 30]
    std::wstring yearStemBranch;
    std::wstring monthStemBranch;
    std::wstring dayStemBranch;

    // Each argument is kept as its low 16 bits. A day past the end of its month counts on
    // into the next month: 2001-02-29 derives everything of 2001-03-01.
    CalendarDate(int year, int month, int day);
    // Today's local date (1901-01-01 when the clock cannot be read). Thread-safe.
    CalendarDate();

    // Derives the lunar date and the names from year, month and day.
    void Recompute();

    // Gregorian arithmetic.
    static int IsGregorianLeapYear(std::uint16_t year);
    // Days of a Gregorian month; 0 for month 0 or a month above 12.
    static std::uint16_t GregorianMonthDays(std::uint16_t year, std::uint16_t month);
    // Days from the second date to the first (positive when the first is later).
    static std::int32_t DayDifference(std::uint16_t year1, std::uint16_t month1, std::uint16_t day1,
                                      std::uint16_t year2, std::uint16_t month2,
                                      std::uint16_t day2);

    // Readers of the lunar tables.
    // 0, or the month (1-12) that the year's leap month follows.
    static std::uint16_t LunarLeapMonth(std::uint16_t lunarYear, CalendarRule rule = CalendarRule::Printed);
    // Low 16 bits: days of the month; high 16 bits: days of the leap month after it, or 0.
    static std::uint32_t LunarMonthDays(std::uint16_t lunarYear, std::uint16_t lunarMonth, CalendarRule rule = CalendarRule::Printed);
    static std::uint16_t LunarYearDays(std::uint16_t lunarYear, CalendarRule rule = CalendarRule::Printed);
    // Days of one month (the leap month when leapMonth); 0 when the month does not exist or
    // lies outside the range's lunar years.
    static std::uint16_t LunarMonthLength(std::uint16_t lunarYear, std::uint16_t lunarMonth,
                                          bool leapMonth, CalendarRule rule = CalendarRule::Printed);
    // Day of the Gregorian month on which its sectional term (节) falls.
    static int SectionalTermDay(std::uint16_t year, std::uint16_t month, CalendarRule rule = CalendarRule::Printed);

    // Lunar conversion. A day offset counts days since Gregorian 1901-01-01 (negative before
    // it). Each costs the
    // same anywhere in the range: no walk over the years.
    static LunarDate LunarDateAt(std::int32_t dayOffset, CalendarRule rule = CalendarRule::Printed);
    static void LunarDateFromOffset(std::uint16_t& lunarYear, std::uint16_t& lunarMonth,
                                    std::uint16_t& lunarDay, std::int32_t dayOffset, CalendarRule rule = CalendarRule::Printed);
    static void GregorianToLunar(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                                 std::uint16_t& lunarYear, std::uint16_t& lunarMonth,
                                 std::uint16_t& lunarDay, CalendarRule rule = CalendarRule::Printed);
    // The other way: the Gregorian date of a lunar date, not ok() when CheckLunarDate finds
    // a fault.
    static LunarDateError CheckLunarDate(const LunarDate& lunar, CalendarRule rule = CalendarRule::Printed);
    static GregorianDate LunarToGregorian(const LunarDate& lunar, CalendarRule rule = CalendarRule::Printed);

    // Stem-branch names.
    // Before 1929 under the printed rule the month (and on 立春 the year) changes on the day the
    // calendar of the time printed the term; else on the day of its instant in UTC+8.
    static StemBranchIndex StemBranchIndices(std::uint16_t year, std::uint16_t month,
                                             std::uint16_t day, CalendarRule rule = CalendarRule::Printed);
    static void StemBranchNames(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                                std::wstring& yearName, std::wstring& monthName,
                                std::wstring& dayName);
    static std::wstring StemBranchName(std::int32_t index);

    // Range checks. IsInDomain: the dates the record converts, years 1645-2100, months
    // 1-12 and days 1-31 (a day past its month's end counts on). IsSupportedDate: a real
    // calendar date from 1645-01-28 to 2100-12-31, the check for input typed by a user.
    static bool IsInDomain(std::uint16_t year, std::uint16_t month, std::uint16_t day);
    static bool IsSupportedDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);
};

// The stem-branch name of a sexagenary index in UTF-8, from a constant table of the sixty.
std::string_view StemBranchText(std::int32_t index);

CHENGGU_END_NAMESPACE
