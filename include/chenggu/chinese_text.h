// Readings in words (UTF-8, Simplified or Traditional characters): the traditional names of
// lunar months and days, periods, weights in liang and qian, verses and the conventions as
// phrases. Every face says the same thing because it says it with these.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chenggu/export.h"
#include "chenggu/birth.h"
#include "chenggu/birth_reading.h"
#include "chenggu/conventions.h"
#include "chenggu/lunar_date_names.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

// A weight in qian as liang and qian: 41 → 四两一钱, 40 → 四两, 7 → 七钱.
CHENGGU_EXPORT std::string WeightText(std::int32_t qian, Script script = Script::Simplified);

// 子时, 早子时, 晚子时, 丑时 …; and the hours they cover: 23:00-0:59, 0:00-0:59,
// 23:00-23:59, 1:00-2:59 …. "?" for a period that is not ok().
CHENGGU_EXPORT std::string_view PeriodName(const Period& period,
                                           Script script = Script::Simplified);
CHENGGU_EXPORT std::string_view PeriodLabel(const Period& period);

// The verse of a total weight from 21 to 72 qian, two lines, and its explanation in modern
// Chinese; empty outside.
CHENGGU_EXPORT std::array<std::string_view, 2> VerseLines(std::int32_t totalWeight,
                                                          Script script = Script::Simplified);
CHENGGU_EXPORT std::string_view VerseExplanation(std::int32_t totalWeight,
                                                 Script script = Script::Simplified);

// Each convention value as a phrase: 晚子时算次日, 年以立春为界, 闰月十六日起按下月.
CHENGGU_EXPORT std::string_view ConventionText(LateZi value, Script script = Script::Simplified);
CHENGGU_EXPORT std::string_view ConventionText(YearStart value, Script script = Script::Simplified);
CHENGGU_EXPORT std::string_view ConventionText(LeapMonthRule value,
                                               Script script = Script::Simplified);
// 按真太阳时, 按平太阳时, 按钟表时间.
CHENGGU_EXPORT std::string_view ConventionText(SolarTime value, Script script = Script::Simplified);
CHENGGU_EXPORT std::string_view ConventionText(CalendarRule value,
                                               Script script = Script::Simplified);
// The name of the time a reading follows: 真太阳时, 平太阳时, 钟表时间.
CHENGGU_EXPORT std::string_view TimeName(SolarTime value, Script script = Script::Simplified);
// 东经 104.0667°, 西经 74.006° (at most four decimals).
CHENGGU_EXPORT std::string LongitudeText(double longitude, Script script = Script::Simplified);
// What a clock time said without its part of the day was read as, and how to say the other
// (没写上午或下午，按 24 小时制读作 8:30；若指 20:30，请写“晚上”或 20:30); empty for any other.
CHENGGU_EXPORT std::string ClockNote(const ClockTime& clock, Script script = Script::Simplified);
// A signed span of time: +27 分 10 秒, -2 小时 3 分 44 秒, 0 秒.
CHENGGU_EXPORT std::string DurationText(std::int64_t seconds, Script script = Script::Simplified);
// The steps from the clock to the time a reading follows, a line each: 钟表时间 and zone,
// 夏令时 when in force, 经度 and its correction to 平太阳时, 均时差 to 真太阳时, and the period
// by the time used (with a note when it lies within 5 minutes of a boundary).
CHENGGU_EXPORT std::vector<std::string> BirthTimeSteps(const BirthReading& reading,
                                                       Script script = Script::Simplified);
// The sectional term of a reading's day and the birth's side of it: 立春 2024年2月4日
// 16:26:53（北京时间），出生在立春之前; …，出生时辰跨过交节时刻，按交节之后论 when the period holds
// the instant.
CHENGGU_EXPORT std::string SolarTermText(const TermMoment& moment,
                                         Script script = Script::Simplified);
// What an alternative of a reading supposes, as a condition: 若年以立春为界, or
// 若生于 23:00 后且晚子时算次日 when a plain 子 is taken as a 晚子, 若按平太阳时,
// 若真太阳时在 13:00 前, 若是第二次的 01:30（夏令时已结束）, 若生于立春之前.
CHENGGU_EXPORT std::string AlternativeCondition(const BirthReading& reading,
                                                const BirthReading& alternative,
                                                Script script = Script::Simplified);

CHENGGU_END_NAMESPACE
