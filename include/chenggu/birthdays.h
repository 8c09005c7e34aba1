// Lunar birthdays: the day a lunar birth date comes round in each lunar year, on the
// Gregorian calendar, and as an iCalendar file (RFC 5545) for a phone's calendar, whose apps
// cannot repeat a lunar date themselves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chenggu/date.h"
#include "chenggu/export.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

struct LunarBirthday {
    LunarDate date;         // the lunar day kept in that lunar year
    GregorianDate gregorian;
};

// The lunar birthday of a birth in each lunar year from fromYear to toYear, in order. A birth
// in a leap month is kept in that leap month in years that have it, and in the month of the
// same number otherwise; a birth on the 30th falls on the month's last day, the 29th, in a
// month of 29 days. Years whose day lies outside the calendar's range (a 腊月 birthday of 2100
// falls in 2101) are left out.
CHENGGU_EXPORT std::vector<LunarBirthday> LunarBirthdays(const LunarDate& birth, int fromYear,
                                                         int toYear);

// The lunar birthdays as an iCalendar file: one all-day event a year (DTSTART;VALUE=DATE),
// summary 农历生日（正月初四）, the rules in each description, a UID made of the birth and the
// year (the same on every face and run), stamp the DTSTAMP (20261208T143000Z); lines folded
// at 75 octets, never inside a character, ended by CRLF.
CHENGGU_EXPORT std::string LunarBirthdaysCalendar(const LunarDate& birth,
                                                  const std::vector<LunarBirthday>& birthdays,
                                                  Script script, std::string_view stamp);

CHENGGU_END_NAMESPACE
