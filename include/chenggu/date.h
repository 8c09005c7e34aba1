// Dates as values: a Gregorian date and a Chinese lunar date that carries its leap flag.
// Both are plain aggregates; ok() says whether a Gregorian date lies in the range every
// reading covers, 1645-01-28 (lunar 1645-1-1) to 2100-12-31.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// Which calendar a day is read by: the calendars issued at the time (Printed), or the modern
// computation at UTC+8 throughout (Computed). They differ on some days before 1929: the
// calendars of 1645-1911 used the Qing's own astronomy and those of 1912-1928 Beijing mean
// time (UT+7:46).
enum class CalendarRule { Printed, Computed };

// A Gregorian date. ok() holds for a real date from 1645-01-28 to 2100-12-31.
struct GregorianDate {
    std::uint16_t year = 0;
    std::uint16_t month = 0;  // [1, 12]
    std::uint16_t day = 0;    // [1, 31]

    CHENGGU_EXPORT bool ok() const;
    // Days since 1901-01-01 (negative before it); a day past the end of its month counts on.
    CHENGGU_EXPORT std::int32_t DayOffset() const;
    // The date of a day offset; a date that is not ok() outside the range.
    CHENGGU_EXPORT static GregorianDate FromDayOffset(std::int32_t dayOffset);

    friend auto operator<=>(const GregorianDate&, const GregorianDate&) = default;
};

// A lunar date. The year is numbered by the Gregorian year in which it begins; a leap month
// has the number of the month it follows, with leapMonth set. year 0 means "no date".
struct LunarDate {
    std::uint16_t year = 0;
    std::uint16_t month = 0;  // [1, 12]
    std::uint16_t day = 0;    // [1, 30]
    bool leapMonth = false;

    friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

// The first and last days every reading covers, in both calendars.
inline constexpr GregorianDate FirstDate{1645, 1, 28};
inline constexpr GregorianDate LastDate{2100, 12, 31};
inline constexpr LunarDate FirstLunarDate{1645, 1, 1, false};
inline constexpr LunarDate LastLunarDate{2100, 12, 1, false};

// YYYY-MM-DD: 1990-01-05.
CHENGGU_EXPORT std::string IsoDate(const GregorianDate& date);
// YYYY-M-D with 闰 before the month of a leap month, the form lunar input takes: 2020-闰4-1.
CHENGGU_EXPORT std::string LunarDateText(const LunarDate& date);

CHENGGU_END_NAMESPACE
