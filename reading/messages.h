// What the engine says when it refuses input: each error in English and in Chinese, with
// what was read (quoted, made printable) and the forms that are accepted.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_date.h"
#include "chenggu/birth.h"
#include "chenggu/error.h"
#include "chenggu/script.h"

namespace chenggu {

// User input for a one-line message: control characters, quotes, backslashes and bytes that
// are not UTF-8 as \xNN escapes, cut short with "..." after longestShown characters.
std::string Printable(std::string_view text, std::size_t longestShown = 40);

namespace refusal {

Error NotADate(std::string_view text);
Error NoSuchMonth(const GregorianDate& date);
Error NoSuchDay(const GregorianDate& date);
Error OutsideRange(const GregorianDate& date);
Error NotALunarDate(std::string_view text);
Error LeapMarkWithoutMonth(std::string_view text);
Error NoSuchLunarDate(const LunarDate& date, LunarDateError error);
Error NotAPeriod(std::string_view text);
Error NotATime(std::string_view text);
Error UnsoundPeriod(const Period& period);
Error NoPeriod();
Error UnknownConvention(Convention convention, std::string_view shownName, std::string_view value);
Error ReadingDayAfterRange(const GregorianDate& date);
Error NotALongitude(std::string_view text);
Error UnknownZone(std::string_view text, const std::vector<std::string_view>& nearest);
Error UnknownPlace(std::string_view text, const std::vector<std::string>& nearest);
Error AmbiguousPlace(std::string_view text, const std::vector<std::string>& places);
Error PlaceWithoutLongitude(const std::string& place, const std::string& prefecture);
Error BirthplaceWithoutClockTime();
Error ZoneWithoutLongitude();
Error SolarTimeWithoutBirthplace(SolarTime value);
Error ClockTimeSkipped(const std::string& clock, std::string_view zone, const std::string& from,
                       const std::string& to, bool summerTimeBegan);
Error SolarDateOutsideRange(const std::string& time, std::string_view which);
// A request that is not what it should be; the reasons are the caller's, the Chinese one
// composed by chinese(script) from fragments in the script asked for.
Error BadRequest(std::string english, const std::function<std::string(Script)>& chinese);

}  // namespace refusal
}  // namespace chenggu
