// CalendarDate: one Gregorian date with its Chinese lunar date and the stem-branch (干支)
// names of its year, month and day, plus the stateless calendar arithmetic behind them.
//
// The engine covers Gregorian 1901-01-01 to 2050-12-31. Inside that range every answer
// comes from the packed tables of lunar_tables.h. Outside it nothing is read past a table
// and nothing is undefined; the answers are:
//   - LunarLeapMonth: 0 for lunar years outside 1901-2050.
//   - LunarMonthDays: 30 for every month of a lunar year up to 1900 (the epoch's rule);
//     0 for a lunar year after 2050 or a month outside 1-12.
//   - LunarYearDays: the sum of those, so 360 up to 1900 and 0 after 2050.
//   - LunarDateAt / LunarDateFromOffset / GregorianToLunar: lunar 0-0-0 for a day before
//     1900-12-22 (lunar 1900-11-1, the first day the epoch determines) or after
//     2051-02-10 (the last day of lunar 2050).
//   - SectionalTermDay: 0 for a year outside 1901-2050 or a month outside 1-12.
//   - DayDifference: a month outside 1-12 counts on from January of the given year
//     (month 13 is January of the next year, month 0 December of the year before), as a
//     day past the end of its month counts on into the next month.
//   - LunarToGregorian: a GregorianDate that is not ok() for a lunar date that does not
//     exist or lies outside the range; CheckLunarDate says which.
//   - GregorianDate::FromDayOffset: not ok() for an offset outside the range.
//   - StemBranchName: the cycle continues below index 0 (index -1 is 癸亥).
//   - A CalendarDate (and StemBranchNames) outside IsInDomain: lunar date 0-0-0 and
//     empty names.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The ten heavenly stems and the twelve earthly branches; a sexagenary index i names
// HeavenlyStems[i mod 10] followed by EarthlyBranches[i mod 12], index 0 being 甲子.
inline constexpr std::array<std::wstring_view, 10> HeavenlyStems{
    L"甲", L"乙", L"丙", L"丁", L"戊", L"己", L"庚", L"辛", L"壬", L"癸",
};
inline constexpr std::array<std::wstring_view, 12> EarthlyBranches{
    L"子", L"丑", L"寅", L"卯", L"辰", L"巳", L"午", L"未", L"申", L"酉", L"戌", L"亥",
};

// A year whose stem-branch name is 甲子, index 0 of the cycle: the year named by year index
// i is CycleStartYear + i.
inline constexpr int CycleStartYear = 1864;

// A Gregorian date as a value. ok() holds for a real date from 1901-01-01 to 2050-12-31.
struct GregorianDate {
    std::uint16_t year = 0;
    std::uint16_t month = 0;  // [1, 12]
    std::uint16_t day = 0;    // [1, 31]

    bool ok() const;
    // Days since 1901-01-01; a day past the end of its month counts on.
    std::int32_t DayOffset() const;
    // The date of a day offset; a date that is not ok() outside the range.
    static GregorianDate FromDayOffset(std::int32_t dayOffset);

    friend auto operator<=>(const GregorianDate&, const GregorianDate&) = default;
};

// YYYY-MM-DD, the year in four digits and month and day in two: 1990-01-05.
std::string IsoDate(const GregorianDate& date);

// A lunar date that says whether the day lies in a leap month, unlike the lunar members of
// CalendarDate. year 0 means "no date" (outside the tables).
struct LunarDate {
    std::uint16_t year = 0;
    std::uint16_t month = 0;  // [1, 12]; a leap month carries the number of the month it follows
    std::uint16_t day = 0;    // [1, 30]
    bool leapMonth = false;

    friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// Why a lunar date cannot be converted (LunarDateError::None: it can).
enum class LunarDateError {
    None,
    NoSuchMonth,      // month outside 1-12
    NoSuchLeapMonth,  // the year has no leap month after that month
    NoSuchDay,        // day 0, or past the end of the month (day 30 of a 29-day month)
    OutsideRange,     // before 1901-01-01 (lunar 1900-11-11) or after 2050-12-31 (2050-11-18)
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
    // Today's local date.
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
    static std::uint16_t LunarLeapMonth(std::uint16_t lunarYear);
    // Low 16 bits: days of the month; high 16 bits: days of the leap month after it, or 0.
    static std::uint32_t LunarMonthDays(std::uint16_t lunarYear, std::uint16_t lunarMonth);
    static std::uint16_t LunarYearDays(std::uint16_t lunarYear);
    // Days of one month (the leap month when leapMonth), lunar 1900's months 11 and 12
    // included; 0 when the month does not exist or lies outside the range's lunar years.
    static std::uint16_t LunarMonthLength(std::uint16_t lunarYear, std::uint16_t lunarMonth,
                                          bool leapMonth);
    // Day of the Gregorian month on which its sectional term (节) falls.
    static int SectionalTermDay(std::uint16_t year, std::uint16_t month);

    // Lunar conversion. A day offset counts days since Gregorian 1901-01-01. Each costs the
    // same anywhere in the range: no walk over the years.
    static LunarDate LunarDateAt(std::int32_t dayOffset);
    static void LunarDateFromOffset(std::uint16_t& lunarYear, std::uint16_t& lunarMonth,
                                    std::uint16_t& lunarDay, std::int32_t dayOffset);
    static void GregorianToLunar(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                                 std::uint16_t& lunarYear, std::uint16_t& lunarMonth,
                                 std::uint16_t& lunarDay);
    // The other way: the Gregorian date of a lunar date, not ok() when CheckLunarDate finds
    // a fault.
    static LunarDateError CheckLunarDate(const LunarDate& lunar);
    static GregorianDate LunarToGregorian(const LunarDate& lunar);

    // Stem-branch names.
    static StemBranchIndex StemBranchIndices(std::uint16_t year, std::uint16_t month,
                                             std::uint16_t day);
    static void StemBranchNames(std::uint16_t year, std::uint16_t month, std::uint16_t day,
                                std::wstring& yearName, std::wstring& monthName,
                                std::wstring& dayName);
    static std::wstring StemBranchName(std::int32_t index);

    // Range checks. IsInDomain: the dates the record converts, years 1901-2050, months
    // 1-12 and days 1-31 (a day past its month's end counts on). IsSupportedDate: a real
    // calendar date from 1901-01-01 to 2050-12-31, the check for input typed by a user.
    static bool IsInDomain(std::uint16_t year, std::uint16_t month, std::uint16_t day);
    static bool IsSupportedDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);
};
