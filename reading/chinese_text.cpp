#include "chenggu/chinese_text.h"

#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "chenggu/lunar_date_names.h"
#include "chenggu/places.h"
#include "reading/generated/traditional_verses.h"
#include "reading/verses.h"
#include "text/messages.h"
#include "time/civil_time.h"
#include "time/zone_names.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::array<std::string_view, 11> Numerals{"〇", "一", "二", "三", "四", "五",
                                                    "六", "七", "八", "九", "十"};
// The twelve periods by name; the hours they cover are in BirthPeriods.
constexpr std::array<std::string_view, 12> PeriodNames{
    "子时", "丑时", "寅时", "卯时", "辰时", "巳时", "午时", "未时", "申时", "酉时", "戌时", "亥时"};

}  // namespace

std::string WeightText(std::int32_t qian, Script script) {
    if (qian < 0 || qian > 99) return std::to_string(qian) + T(script, "钱");
    const auto liang = static_cast<std::size_t>(qian / 10);
    const auto rest = static_cast<std::size_t>(qian % 10);
    std::string text;
    if (liang > 0) text += std::string(Numerals[liang]) + T(script, "两");
    if (rest > 0 || liang == 0) text += std::string(Numerals[rest]) + T(script, "钱");
    return text;
}

std::string_view PeriodName(const Period& period, Script script) {
    if (!period.ok()) return "?";
    if (period.ziHalf == ZiHalf::Early) return InScript("早子时", script);
    if (period.ziHalf == ZiHalf::Late) return InScript("晚子时", script);
    return InScript(PeriodNames[static_cast<std::size_t>(period.index)], script);
}

std::string_view PeriodLabel(const Period& period) {
    if (!period.ok()) return "?";
    if (period.ziHalf == ZiHalf::Early) return "0:00-0:59";
    if (period.ziHalf == ZiHalf::Late) return "23:00-23:59";
    return BirthPeriods[static_cast<std::size_t>(period.index)].periodLabel;
}

namespace {

// The verse table's entry of a total weight, if it has one.
std::optional<std::size_t> VerseEntry(std::int32_t totalWeight) {
    const std::int64_t entry = std::int64_t{totalWeight} - LightestVerseWeight;
    if (entry < 0 || entry >= static_cast<std::int64_t>(Verses.size())) return std::nullopt;
    return static_cast<std::size_t>(entry);
}

}  // namespace

std::array<std::string_view, 2> VerseLines(std::int32_t totalWeight, Script script) {
    const auto entry = VerseEntry(totalWeight);
    if (!entry) return {};
    return (script == Script::Traditional ? TraditionalVerses : Verses)[*entry];
}

std::string_view VerseExplanation(std::int32_t totalWeight, Script script) {
    const auto entry = VerseEntry(totalWeight);
    if (!entry) return {};
    return (script == Script::Traditional ? TraditionalVerseExplanations
                                          : VerseExplanations)[*entry];
}

std::string_view ConventionText(LateZi value, Script script) {
    return InScript(value == LateZi::SameDay ? "晚子时算当日" : "晚子时算次日", script);
}
std::string_view ConventionText(YearStart value, Script script) {
    return InScript(value == YearStart::NewYear ? "年以正月初一为界" : "年以立春为界", script);
}
std::string_view ConventionText(LeapMonthRule value, Script script) {
    return InScript(value == LeapMonthRule::Whole ? "闰月整月按所闰之月" : "闰月十六日起按下月",
                    script);
}

std::string_view ConventionText(SolarTime value, Script script) {
    constexpr std::array<std::string_view, 3> Texts{"按真太阳时", "按平太阳时", "按钟表时间"};
    return InScript(Texts[static_cast<std::size_t>(value)], script);
}

std::string_view ConventionText(CalendarRule value, Script script) {
    return InScript(value == CalendarRule::Printed ? "历日按当时历书" : "历日按现代推算",
                    script);
}

std::string_view TimeName(SolarTime value, Script script) {
    constexpr std::array<std::string_view, 3> Names{"真太阳时", "平太阳时", "钟表时间"};
    return InScript(Names[static_cast<std::size_t>(value)], script);
}

namespace {

std::string HourText(int hour) { return (hour < 10 ? "0" : "") + std::to_string(hour) + ":00"; }

// 1 小时 3 分 44 秒, without a sign.
std::string LengthText(std::int64_t magnitude, Script script) {
    const std::int64_t hours = magnitude / 3600, minutes = magnitude / 60 % 60,
                       rest = magnitude % 60;
    std::string text;
    if (hours > 0) text += std::to_string(hours) + T(script, " 小时 ");
    if (hours > 0 || minutes > 0) text += std::to_string(minutes) + T(script, " 分 ");
    return text + std::to_string(rest) + T(script, " 秒");
}

}  // namespace

std::string LongitudeText(double longitude, Script script) {
    const auto tenThousandths =
        static_cast<std::int64_t>(std::llround(std::abs(longitude) * 10000));
    std::string digits = std::to_string(tenThousandths / 10000);
    std::string fraction = std::to_string(tenThousandths % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) digits += "." + fraction;
    return T(script, longitude < 0 ? "西经 " : "东经 ") + digits + "°";
}

std::string DurationText(std::int64_t seconds, Script script) {
    return (seconds < 0 ? "-" : (seconds > 0 ? "+" : "")) +
           LengthText(seconds < 0 ? -seconds : seconds, script);
}

namespace {

std::string DateTimeText(const DateTime& time, Script script, bool withSeconds = true) {
    const GregorianDate& d = time.date;
    return std::to_string(d.year) + T(script, "年") + std::to_string(d.month) + T(script, "月") +
           std::to_string(d.day) + T(script, "日 ") + IsoDateTime(time, withSeconds).substr(11);
}

std::int64_t SecondsBetween(const DateTime& from, const DateTime& to) {
    const auto days = [](const GregorianDate& d) {
        return solar::DaysFromCivil(d.year, d.month, d.day);
    };
    return (days(to.date) - days(from.date)) * 86400 + (to.second - from.second);
}

std::string OffsetText(std::int32_t seconds) {
    const std::int32_t magnitude = seconds < 0 ? -seconds : seconds;
    std::string text =
        std::string("UTC") + (seconds < 0 ? "-" : "+") + std::to_string(magnitude / 3600);
    if (magnitude % 3600 != 0) {
        const std::int32_t minutes = magnitude / 60 % 60;
        text += (minutes < 10 ? ":0" : ":") + std::to_string(minutes);
    }
    return text;
}

}  // namespace

// The boundary a time read by is near, as seconds from it: midnight when the day read changes
// there (a 晚子 read on its own day) and the time lies within 5 minutes of it, else the
// nearest odd hour.
std::int32_t FromBoundaryOf(const BirthReading& reading, std::int32_t second) {
    const bool midnight = reading.options.lateZi == LateZi::SameDay &&
                          std::abs(FromMidnight(second)) <= NearBoundarySeconds;
    return midnight ? FromMidnight(second) : FromNearestBoundary(second);
}

std::string ClockNote(const ClockTime& clock, Script script) {
    if (!clock.partOfDayUnsaid) return "";
    const auto time = [&](int hour) {
        return std::to_string(hour) + (clock.minute < 10 ? ":0" : ":") + std::to_string(clock.minute);
    };
    const int other = clock.hour == 12 ? 0 : clock.hour + 12;
    const std::string part = other == 0 ? T(script, "半夜") : other < 18 ? T(script, "下午")
                                                                         : T(script, "晚上");
    return T(script, "没写上午或下午，按 24 小时制读作 ") + time(clock.hour) + T(script, "；若指 ") +
           time(other) + T(script, "，请写“") + part + T(script, "”或 ") + time(other);
}

std::vector<std::string> BirthTimeSteps(const BirthReading& reading, Script script) {
    if (!reading.birthTime) return {};
    const BirthTime& time = *reading.birthTime;
    const std::string place =
        reading.birth.birthplace ? PlaceNameIn(reading.birth.birthplace->place, script) : "";
    std::vector<std::string> steps;
    // 北京时间（UTC+8）, 纽约时间（UTC-4）; a fixed zone is its offset alone.
    const std::string zone = solar::ZoneDisplayName(time.zone, script);
    const std::string offset = OffsetText(time.utcOffsetSeconds);
    // Before a place kept a standard time its clocks kept local mean time (tzdata's LMT).
    const std::string kept = time.localMeanTime ? T(script, "当时尚无标准时，按当地平时 ") + offset
                             : zone == offset   ? ""
                                                : offset;
    steps.push_back(T(script, "钟表时间：") + DateTimeText(time.clock, script, false) +
                    T(script, "，") + zone + (kept.empty() ? "" : T(script, "（") + kept + T(script, "）")));
    if (time.summerTime || time.happenedTwice) {
        std::string line = T(script, "夏令时：");
        if (time.happenedTwice) {
            line += T(script, time.secondOccurrence
                                  ? "这一钟点在夏令时结束时出现两次，按第二次（已恢复标准时间）计"
                                  : "这一钟点在夏令时结束时出现两次，按第一次（仍是夏令时）计");
        } else {
            line += T(script, "当时实行夏令时，时钟比标准时间拨快");
        }
        steps.push_back(line);
    }
    // Against the clock, summer time included: what a reader compares with the certificate.
    const std::int64_t sunAhead = SecondsBetween(time.clock, time.meanSolar);
    // A county without a point of its own: 番禺区（…，按广州市的经度）.
    const Birthplace* birthplace = reading.birth.birthplace ? &*reading.birth.birthplace : nullptr;
    const std::string longitudeOf =
        birthplace && !birthplace->longitudeOf.empty()
            ? T(script, "，按") + PlaceNameIn(birthplace->longitudeOf, script) + T(script, "的经度")
            : "";
    steps.push_back(T(script, "经度：") + LongitudeText(time.longitude, script) +
                    (place.empty() ? " " : T(script, "（") + place + longitudeOf + T(script, "）")) +
                    T(script, "→ 平太阳时 ") + DateTimeText(time.meanSolar, script) +
                    T(script, sunAhead < 0 ? "，比钟表慢 " : "，比钟表快 ") +
                    LengthText(sunAhead < 0 ? -sunAhead : sunAhead, script));
    if (birthplace && !birthplace->otherPlaces.empty()) {
        std::vector<std::string> others;
        for (const std::string& other : birthplace->otherPlaces)
            others.push_back(PlaceNameIn(other, script));
        steps.push_back(T(script, "同名地点：") + Listed(others, T(script, "、")) +
                        T(script, "（要改用，请写出全名）"));
    }
    steps.push_back(T(script, "均时差：") +
                    DurationText(std::llround(time.equationOfTimeSeconds), script) +
                    T(script, " → 真太阳时 ") + DateTimeText(time.trueSolar, script));
    std::string period = T(script, "时辰：按") + std::string(TimeName(time.used, script)) +
                         T(script, "为") + std::string(PeriodName(reading.period(), script)) +
                         T(script, "（") + std::string(PeriodLabel(reading.period())) +
                         T(script, "）");
    if (time.nearBoundary) {
        const std::int32_t second = time.Used().second;
        const std::int32_t fromBoundary = FromBoundaryOf(reading, second);
        period +=
            T(script, fromBoundary == FromMidnight(second) ? "，距日期交界 " : "，距时辰交界 ") +
            HourText((second - fromBoundary + 86400) / 3600 % 24) + T(script, " 不到 5 分钟");
    }
    steps.push_back(period);
    return steps;
}

std::string SolarTermText(const TermMoment& moment, Script script) {
    const std::string name(InScript(moment.term.name, script));
    if (moment.printedDay) {
        // Before 1929 the month turns on the day the calendar of the time printed.
        return name + T(script, "：当时历书在 ") + IsoDate(*moment.printedDay) +
               T(script, " 交节（推算为 ") + DateTimeText(moment.term.beijing, script) +
               T(script, "），出生在") + name +
               T(script, moment.birthIs == TermMoment::Side::Before ? "之前" : "之后");
    }
    std::string text =
        name + " " + DateTimeText(moment.term.beijing, script) + T(script, "（北京时间），");
    switch (moment.birthIs) {
        case TermMoment::Side::Before:
            text += T(script, "出生在") + name + T(script, "之前");
            break;
        case TermMoment::Side::After:
            text += T(script, "出生在") + name + T(script, "之后");
            break;
        case TermMoment::Side::Unknown:
            text += T(script, "出生时辰跨过交节时刻，按交节之后论");
            break;
    }
    if (moment.nearBirth) text += T(script, "（相距不到 5 分钟）");
    return text;
}

std::string AlternativeCondition(const BirthReading& reading, const BirthReading& alternative,
                                 Script script) {
    const Options& to = alternative.options;
    if (alternative.timeChange == BirthReading::TimeChange::OtherSideOfTerm &&
        alternative.solarTerm) {
        const bool before = alternative.solarTerm->birthIs == TermMoment::Side::Before;
        return T(script, "若生于") +
               std::string(InScript(alternative.solarTerm->term.name, script)) +
               T(script, before ? "之前" : "之后");
    }
    if (alternative.timeChange == BirthReading::TimeChange::OtherSideOfBoundary &&
        reading.birthTime) {
        // The boundary is the odd hour nearest the time read by; the alternative lies across it.
        const BirthTime& time = *reading.birthTime;
        const std::int32_t second = time.Used().second;
        const std::int32_t fromBoundary = FromBoundaryOf(reading, second);
        return T(script, "若") + std::string(TimeName(time.used, script)) + T(script, "在 ") +
               HourText((second - fromBoundary + 86400) / 3600 % 24) +
               T(script, fromBoundary >= 0 ? " 之前" : " 之后");
    }
    if (alternative.timeChange == BirthReading::TimeChange::SecondOccurrence &&
        alternative.birthTime) {
        return T(script, "若是第二次的 ") +
               IsoDateTime(alternative.birthTime->clock, false).substr(11) +
               T(script, "（夏令时已结束）");
    }
    if (alternative.switched == Convention::SolarTime && to.solarTime) {
        return T(script, "若") + std::string(ConventionText(*to.solarTime, script));
    }
    if (to.lateZi != reading.options.lateZi) {
        const bool assumedLate = reading.period().ziHalf == ZiHalf::Unsaid;
        return T(script, assumedLate ? "若生于 23:00 后且" : "若") +
               std::string(ConventionText(to.lateZi, script));
    }
    if (to.calendarRule != reading.options.calendarRule) {
        // What the other calendar changes: the day of a lunar birth, the lunar date, the pillars.
        std::vector<std::string> changes;
        if (alternative.readingDate != reading.readingDate) {
            changes.push_back(T(script, "公历 ") + IsoDate(alternative.readingDate));
        }
        if (alternative.lunarDate != reading.lunarDate) {
            changes.push_back(T(script, "农历") + LunarDateName(alternative.lunarDate, script));
        }
        const auto pillar = [&](std::string_view was, std::string_view is, std::string_view unit) {
            if (was != is) changes.push_back(std::string(is) + T(script, unit));
        };
        pillar(reading.yearStemBranch, alternative.yearStemBranch, "年");
        pillar(reading.monthStemBranch, alternative.monthStemBranch, "月");
        std::string text = T(script, "若") + std::string(ConventionText(to.calendarRule, script));
        if (!changes.empty()) text += T(script, "（") + Listed(changes, T(script, "，")) + T(script, "）");
        return text;
    }
    if (to.yearStart != reading.options.yearStart) {
        return T(script, "若") + std::string(ConventionText(to.yearStart, script));
    }
    return T(script, "若") + std::string(ConventionText(to.leapMonth, script));
}

CHENGGU_END_NAMESPACE
