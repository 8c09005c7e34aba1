// A birth as a value: its date, Gregorian or given in the lunar calendar, and its birth
// period (时辰), with the two halves of 子 when they are known; and the text forms people
// type them in, read with a reason for what cannot be read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chenggu/export.h"
#include "chenggu/birth_time.h"
#include "chenggu/conventions.h"
#include "chenggu/date.h"
#include "chenggu/error.h"
#include "chenggu/written_input.h"

CHENGGU_BEGIN_NAMESPACE

// Which half of the 子 period, 23:00 to 0:59, a birth fell in, when it is known: early
// (早子, 0:00-0:59, always read on its own day) or late (晚子, 23:00-23:59).
enum class ZiHalf : std::uint8_t { Unsaid, Early, Late };

// One of the twelve birth periods: 0 = 子 (23:00-0:59), 1 = 丑 (1:00-2:59), … 11 = 亥.
struct Period {
    int index = 0;
    ZiHalf ziHalf = ZiHalf::Unsaid;  // only for 子

    // An index 0-11, and a half only for 子.
    CHENGGU_EXPORT bool ok() const;
    friend bool operator==(const Period&, const Period&) = default;
};

struct Birth {
    GregorianDate date;                   // the birth date, converted when given as lunar
    std::optional<LunarDate> lunarInput;  // the lunar date as given, for lunar input
    std::optional<Period> period;         // none: the reading of every period
    // The clock time, when the period was given as one (its period is then the clock's).
    std::optional<ClockTime> clock;
    // Where: with a clock time, the reading follows the solar time there (Options::solarTime).
    std::optional<Birthplace> birthplace;
};

// A birth from a Gregorian date, or from a lunar date; refused with a reason when the date
// does not exist, lies outside the range or the period is not one of the twelve.
CHENGGU_EXPORT Result<Birth> GregorianBirth(const GregorianDate& date, std::optional<Period> period = {});
CHENGGU_EXPORT Result<Birth> LunarBirth(const LunarDate& date, std::optional<Period> period = {},
                                        CalendarRule rule = CalendarRule::Printed);

// The lunar date of a Gregorian date inside the range (year 0 outside it).
CHENGGU_EXPORT LunarDate ToLunar(const GregorianDate& date, CalendarRule rule = CalendarRule::Printed);
// The Gregorian date of a lunar date, or why it has none.
CHENGGU_EXPORT Result<GregorianDate> ToGregorian(const LunarDate& date, CalendarRule rule = CalendarRule::Printed);
// For a day of a month that a leap month follows: the Gregorian date of the same day of
// that leap month, when the day exists there. People who know only "the fourth month" may
// have been born in either.
CHENGGU_EXPORT std::optional<GregorianDate> LeapMonthTwin(const LunarDate& date,
                                                          CalendarRule rule = CalendarRule::Printed);

// Text as people type it, for the command line, lines of a batch, requests and the web page's
// addresses, folded first by NormalizedInput: each says what it could not read and which forms
// it accepts.
//
// A Gregorian date, 1645-01-28 to 2100-12-31: 1990-01-30 (month and day may have one digit),
// 1990/1/30, 1990.1.30, 1990年1月30日 (or 号), optionally after 公历 or 阳历.
CHENGGU_EXPORT Result<GregorianDate> ParseDate(std::string_view text);
// A lunar date, 1645-1-1 to 2100-12-01: the numbers of the forms above with 闰 or L before
// the month of a leap month (2020-闰4-1, 2020-L04-01, 2020年闰4月1日), or the date in words,
// 1990年正月初四, 2020年闰四月初一 (months 正月 … 十月, 冬月, 腊月; days 初一 … 初十, 十一 …, 二十,
// 廿一 …, 三十), optionally after 农历 or 阴历.
CHENGGU_EXPORT Result<LunarDate> ParseLunarDate(std::string_view text);
// An earthly branch (子 … 亥, optionally followed by 时), 早子 or 晚子 (optionally with 时), or a
// clock time: 23:30, 23点, 23点30分, 23时 (23:MM is 晚子, 0:MM 早子).
CHENGGU_EXPORT Result<Period> ParsePeriod(std::string_view text);
// DATE [PERIOD]. A period given as a clock time sets the birth's clock. The date is lunar when it
// is written in words, after 农历, or with a leap month, and its numbers are read as lunar when
// lunar is set.
CHENGGU_EXPORT Result<Birth> ParseBirth(std::string_view date, std::optional<std::string_view> period, bool lunar);
// The options with one convention set from its value's name; shownName is the name the
// user wrote it under (--late-zi, lateZi), for the message when the value is unknown.
CHENGGU_EXPORT Result<Options> SetConvention(Options options, Convention convention, std::string_view value,
                              std::string_view shownName);

CHENGGU_END_NAMESPACE
