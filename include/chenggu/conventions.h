// The conventions on which bone-weight readings differ, and the names they go by in the
// command line's options, in JSON and in the web page's addresses.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "chenggu/export.h"
#include "chenggu/birth_time.h"
#include "chenggu/date.h"

CHENGGU_BEGIN_NAMESPACE

// A birth from 23:00 to 23:59 (晚子时) is read on its own civil day or on the next day.
enum class LateZi { SameDay, NextDay };
// The year weight follows the lunar year (from the lunar new year) or the stem-branch year
// (from Start of Spring, 立春).
enum class YearStart { NewYear, Spring };
// A day of a leap month weighs as the month it follows, or, from day 16 on, as the next.
enum class LeapMonthRule { Whole, Split };
// SolarTime, the time a birth with a clock time and a place is read by: chenggu/birth_time.h.
// CalendarRule, the calendar as printed at the time or as computed today: chenggu/date.h.

// Defaults: the reading as the window has always made it.
struct Options {
    LateZi lateZi = LateZi::SameDay;
    YearStart yearStart = YearStart::NewYear;
    LeapMonthRule leapMonth = LeapMonthRule::Whole;
    // Unset: True for a birth with a place or longitude, Clock for one without. A reading
    // states the value it used.
    std::optional<SolarTime> solarTime;
    CalendarRule calendarRule = CalendarRule::Printed;

    friend bool operator==(const Options&, const Options&) = default;
};

// The switches, in the order in which alternatives are listed.
enum class Convention { LateZi, YearStart, LeapMonth, SolarTime, CalendarRule };
inline constexpr std::array<Convention, 5> Conventions{
    Convention::LateZi, Convention::YearStart, Convention::LeapMonth, Convention::SolarTime,
    Convention::CalendarRule};

// The options with one of the two-valued conventions turned to its other value.
CHENGGU_EXPORT Options Switched(Options options, Convention convention);

// Names: "lateZi", "yearStart", "leapMonth", "solarTime", "calendarRule"; values:
// "same-day"/"next-day", "new-year"/"spring", "whole"/"split", "true"/"mean"/"clock",
// "printed"/"computed".
CHENGGU_EXPORT std::string_view ConventionName(Convention convention);
CHENGGU_EXPORT std::string_view ValueName(LateZi value);
CHENGGU_EXPORT std::string_view ValueName(YearStart value);
CHENGGU_EXPORT std::string_view ValueName(LeapMonthRule value);
CHENGGU_EXPORT std::string_view ValueName(SolarTime value);
CHENGGU_EXPORT std::string_view ValueName(CalendarRule value);
// The value of a name; nothing for an unknown name.
CHENGGU_EXPORT std::optional<LateZi> ParseLateZi(std::string_view name);
CHENGGU_EXPORT std::optional<YearStart> ParseYearStart(std::string_view name);
CHENGGU_EXPORT std::optional<LeapMonthRule> ParseLeapMonthRule(std::string_view name);
CHENGGU_EXPORT std::optional<SolarTime> ParseSolarTime(std::string_view name);
CHENGGU_EXPORT std::optional<CalendarRule> ParseCalendarRule(std::string_view name);

CHENGGU_END_NAMESPACE
