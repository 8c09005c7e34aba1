// What the engine says when it refuses input: each error in English and in Chinese, with
// what was read (quoted, made printable) and the forms that are accepted.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_date.h"
#include "chenggu/date.h"
#include "chenggu/error.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

// User input for a one-line message: control characters, quotes, backslashes and bytes that
// are not UTF-8 as \xNN escapes, cut short with "..." after longestShown characters.
std::string Printable(std::string_view text, std::size_t longestShown = 40);

// A number for a message, whatever its size: 104.07, -74, 1.5e+300, Infinity, NaN (never in
// the locale's form).
std::string NumberText(double number);

// Names one after another with a separator between them: 北京市朝阳区、吉林省长春市朝阳区.
std::string Listed(const std::vector<std::string>& names, std::string_view separator);

namespace refusal {

Error NotADate(std::string_view text);
Error NoSuchMonth(const GregorianDate& date);
Error NoSuchDay(const GregorianDate& date);
Error OutsideRange(const GregorianDate& date);
Error YearOutsideRange(int year);  // a year whose solar terms are asked for
Error NotALunarDate(std::string_view text);
Error LeapMarkWithoutMonth(std::string_view text);
Error NoSuchLunarDate(const LunarDate& date, LunarDateError error);
Error NotAPeriod(std::string_view text);
Error NotATime(std::string_view text);
// A period index outside 0-11, or a half of 子 given to another period.
Error UnsoundPeriod(int index);
Error NoPeriod();
// A convention's value it does not have; values lists those it has (same-day, next-day).
Error UnknownConvention(std::string_view shownName, std::string_view value,
                        const std::vector<std::string_view>& values);
Error ReadingDayAfterRange(const GregorianDate& date);
// text as written; a number given as a number is shown by NumberText.
Error NotALongitude(std::string_view text);
Error NotALongitude(double degrees);
Error UnknownZone(std::string_view text, const std::vector<std::string_view>& nearest);
Error UnknownPlace(std::string_view text, const std::vector<std::string>& nearest);
// A place or zone name longer than any there is: refused as unknown, with no search.
Error PlaceNameTooLong(std::string_view text, std::size_t longest);
Error ZoneNameTooLong(std::string_view text, std::size_t longest);
Error AmbiguousPlace(std::string_view text, const std::vector<std::string>& places);
Error BirthplaceWithoutClockTime();
Error ZoneWithoutLongitude();
// valueName: "true" or "mean".
Error SolarTimeWithoutBirthplace(std::string_view valueName);
Error ClockTimeSkipped(const std::string& clock, std::string_view zone, const std::string& from,
                       const std::string& to, bool summerTimeBegan);
Error SolarDateOutsideRange(const std::string& time, std::string_view which);
// A request of more bytes than limit.
Error RequestTooLarge(std::size_t bytes, std::size_t limit);
// A request that is not what it should be; the reasons are the caller's, the Chinese one
// composed by chinese(script) from fragments in the script asked for.
Error BadRequest(std::string english, const std::function<std::string(Script)>& chinese);

}  // namespace refusal
CHENGGU_END_NAMESPACE
