#include "text/messages.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "chenggu/lunar_date_names.h"
#include "chenggu/script.h"
#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::string_view DateForm =
    "write it as YYYY-MM-DD, for example 1990-01-30, or 1990/1/30, 1990.1.30, 1990年1月30日; "
    "a lunar date as 1990年正月初四 or 2020-闰4-1";
constexpr std::string_view GregorianRange = "dates run from 1645-01-28 to 2100-12-31";
constexpr std::array<std::string_view, 12> EnglishMonths{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

std::string Quoted(std::string_view text) { return '"' + Printable(text) + '"'; }
std::string QuotedZh(std::string_view text) { return "“" + Printable(text) + "”"; }

// A refusal with its reason in English and in Chinese; chinese(script) composes the Chinese
// from fragments in the script asked for.
template <class Chinese>
Error Make(ErrorCode code, std::string english, Chinese chinese) {
    return {code, std::move(english), chinese(Script::Simplified), chinese(Script::Traditional)};
}

// A lunar date as typed back: 2020-闰04-01.
std::string TypedLunarDate(const LunarDate& date, Script script = Script::Simplified) {
    const auto twoDigits = [](unsigned value) {
        return (value < 10 ? "0" : "") + std::to_string(value);
    };
    return std::to_string(date.year) + (date.leapMonth ? T(script, "-闰") : "-") +
           twoDigits(date.month) + "-" + twoDigits(date.day);
}

}  // namespace

std::string Printable(std::string_view text, std::size_t longestShown) {
    std::string shown;
    std::size_t count = 0, pos = 0;
    for (; pos < text.size() && count < longestShown; ++count) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        const auto c = static_cast<unsigned char>(text[pos]);
        if (length == 0 || c < 0x20 || c == 0x7f || c == '"' || c == '\\') {
            static constexpr char Hex[] = "0123456789abcdef";
            shown += "\\x";
            shown += Hex[c >> 4];
            shown += Hex[c & 0xf];
            ++pos;
        } else {
            shown.append(text.substr(pos, length));
            pos += length;
        }
    }
    if (pos < text.size()) shown += "...";
    return shown;
}

std::string NumberText(double number) {
    if (std::isnan(number)) return "NaN";
    if (std::isinf(number)) return number < 0 ? "-Infinity" : "Infinity";
    const std::string sign = number < 0 ? "-" : "";
    const double magnitude = std::abs(number);
    // Up to six decimals, as integers: exact for what a longitude can be.
    const auto decimals = [](std::int64_t millionths) {
        std::string text = std::to_string(millionths / 1000000);
        std::string fraction = std::to_string(millionths % 1000000);
        fraction.insert(0, 6 - fraction.size(), '0');
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
        return fraction.empty() ? text : text + "." + fraction;
    };
    if (magnitude < 1e12) return sign + decimals(std::llround(magnitude * 1e6));
    // Six significant digits and a power of ten, found by dividing (a message needs no more
    // precision, and the web page's engine no pow or log10).
    double scaled = magnitude;
    int exponent = 0;
    for (; scaled >= 10; scaled /= 10) ++exponent;
    std::int64_t millionths = std::llround(scaled * 1e5) * 10;  // [1000000, 10000000]
    if (millionths >= 10000000) {
        millionths /= 10;
        ++exponent;
    }
    return sign + decimals(millionths) + "e+" + std::to_string(exponent);
}

std::string Listed(const std::vector<std::string>& names, std::string_view separator) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty()) text += separator;
        text += name;
    }
    return text;
}

namespace refusal {

Error NotADate(std::string_view text) {
    return Make(ErrorCode::NotADate, Quoted(text) + " is not a date: " + std::string(DateForm),
                [&](Script s) {
                    return QuotedZh(text) +
                           T(s,
                             "不是日期：请写作 年-月-日，如 1990-01-30、1990/1/30、1990.1.30 或 "
                             "1990年1月30日；农历写作 1990年正月初四 或 2020-闰4-1");
                });
}

Error NoSuchMonth(const GregorianDate& date) {
    return Make(ErrorCode::NoSuchDate, IsoDate(date) + " does not exist: months run from 1 to 12",
                [&](Script s) { return IsoDate(date) + T(s, " 不存在：月份只有 1 至 12 月"); });
}

Error NoSuchDay(const GregorianDate& date) {
    const auto days = std::to_string(CalendarDate::GregorianMonthDays(date.year, date.month));
    const auto year = std::to_string(date.year);
    return Make(ErrorCode::NoSuchDate,
                IsoDate(date) + " does not exist: " +
                    std::string(EnglishMonths[static_cast<std::size_t>(date.month - 1)]) + " " +
                    year + " has " + days + " days",
                [&](Script s) {
                    return IsoDate(date) + T(s, " 不存在：") + year + T(s, "年") +
                           std::to_string(date.month) + T(s, "月只有 ") + days + T(s, " 天");
                });
}

Error OutsideRange(const GregorianDate& date) {
    return Make(ErrorCode::OutsideRange,
                IsoDate(date) + " is outside the calendar's range: " + std::string(GregorianRange),
                [&](Script s) {
                    return IsoDate(date) +
                           T(s, " 超出范围：可测算的范围是公历 1645-01-28 至 2100-12-31");
                });
}

Error YearOutsideRange(int year) {
    const std::string shown = std::to_string(year);
    return Make(ErrorCode::OutsideRange, "the year " + shown + " is outside 1645 to 2100", [&](Script s) {
        return T(s, "年份 ") + shown + T(s, " 超出范围：可列出 1645 至 2100 年的节气");
    });
}

Error NotALunarDate(std::string_view text) {
    return Make(ErrorCode::NotADate,
                Quoted(text) +
                    " is not a lunar date: write it as YYYY-MM-DD, with 闰 or L before the month "
                    "of a leap month, for example 2020-04-01 or 2020-闰4-1, or in words, "
                    "1990年正月初四",
                [&](Script s) {
                    return QuotedZh(text) +
                           T(s,
                             "不是农历日期：请写作 年-月-日，闰月在月份前加“闰”或 L，如 "
                             "2020-04-01 或 2020-闰4-1，或写作 1990年正月初四");
                });
}

Error LeapMarkWithoutMonth(std::string_view text) {
    return Make(ErrorCode::NotADate,
                Quoted(text) +
                    " is not a lunar date: 闰 needs the number of the month it repeats, for "
                    "example 2020-闰4-1",
                [&](Script s) {
                    return QuotedZh(text) +
                           T(s, "不是农历日期：“闰”后要写所闰的月份，如 2020-闰4-1");
                });
}

Error NoSuchLunarDate(const LunarDate& date, LunarDateError error) {
    const std::string typed = TypedLunarDate(date);
    const std::string en = "lunar " + typed + " does not exist: ";
    const auto zh = [&](Script s) {
        return T(s, "农历 ") + TypedLunarDate(date, s) + T(s, " 不存在：");
    };
    const std::string year = std::to_string(date.year);
    switch (error) {
        case LunarDateError::NoSuchMonth:
            return Make(ErrorCode::NoSuchDate, en + "lunar months run from 1 to 12", [&](Script s) {
                return zh(s) + T(s, "农历月份只有正月至腊月（1 至 12）");
            });
        case LunarDateError::NoSuchLeapMonth: {
            const int leap = CalendarDate::LunarLeapMonth(date.year);
            if (leap == 0) {
                return Make(
                    ErrorCode::NoSuchLeapMonth, en + "lunar " + year + " has no leap month",
                    [&](Script s) { return zh(s) + T(s, "农历") + year + T(s, "年没有闰月"); });
            }
            return Make(
                ErrorCode::NoSuchLeapMonth,
                en + "lunar " + year + "'s leap month follows month " + std::to_string(leap),
                [&](Script s) {
                    return zh(s) + T(s, "农历") + year + T(s, "年的闰月是") +
                           std::string(LunarMonthName(static_cast<std::uint16_t>(leap), true, s));
                });
        }
        case LunarDateError::NoSuchDay: {
            if (date.day == 0) {
                return Make(ErrorCode::NoSuchDate, en + "lunar days run from 1 to 30",
                            [&](Script s) { return zh(s) + T(s, "农历日子从初一到三十"); });
            }
            const auto days = std::to_string(
                CalendarDate::LunarMonthLength(date.year, date.month, date.leapMonth));
            return Make(ErrorCode::NoSuchDate,
                        en + (date.leapMonth ? "the leap month after month " : "month ") +
                            std::to_string(date.month) + " of lunar " + year + " has " + days +
                            " days",
                        [&](Script s) {
                            return zh(s) + T(s, "农历") + year + T(s, "年") +
                                   std::string(LunarMonthName(date.month, date.leapMonth, s)) +
                                   T(s, "只有 ") + days + T(s, " 天");
                        });
        }
        case LunarDateError::OutsideRange:
        case LunarDateError::None:
            break;
    }
    return Make(ErrorCode::OutsideRange,
                "lunar " + typed +
                    " is outside the calendar's range: lunar dates run from 1645-1-1 to "
                    "2100-12-01 (1645-01-28 to 2100-12-31)",
                [&](Script s) {
                    return T(s, "农历 ") + TypedLunarDate(date, s) +
                           T(s,
                             " 超出范围：可测算的范围是农历 1645-1-1 至 2100-12-01（公历 "
                             "1645-01-28 至 2100-12-31）");
                });
}

Error NotAPeriod(std::string_view text) {
    return Make(
        ErrorCode::NotAPeriod,
        Quoted(text) +
            " is not a birth period: give an earthly branch (子 丑 寅 卯 辰 巳 午 未 申 酉 "
            "戌 亥, also 子时), 早子 (0:00-0:59) or 晚子 (23:00-23:59), or a clock time, for "
            "example 子, 晚子, 23:30 or 23点",
        [&](Script s) {
            return QuotedZh(text) +
                   T(s,
                     "不是时辰：请写地支（子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥，可加“时”）、"
                     "早子（0:00-0:59）、晚子（23:00-23:59），或钟点，如 子、子时、晚子、"
                     "23:30、23点");
        });
}

Error NotATime(std::string_view text) {
    return Make(
        ErrorCode::NotATime, Quoted(text) + " is not a time of day: times run from 0:00 to 23:59",
        [&](Script s) { return QuotedZh(text) + T(s, "不是一天中的时刻：时刻从 0:00 到 23:59"); });
}

Error UnsoundPeriod(int index) {
    const std::string shown = std::to_string(index);
    if (index >= 0 && index < 12) {
        return Make(ErrorCode::NotAPeriod,
                    "period " + shown + " is not 子: only 子 has the halves 早子 and 晚子",
                    [&](Script s) {
                        return T(s, "只有子时分早子、晚子，第 ") + shown + T(s, " 个时辰没有");
                    });
    }
    return Make(ErrorCode::NotAPeriod,
                "period " + shown + " is not one of the twelve: periods run from 0 (子) to 11 (亥)",
                [&](Script s) {
                    return T(s, "第 ") + shown + T(s, " 个时辰不存在：时辰从 0（子）到 11（亥）");
                });
}

Error NoPeriod() {
    return Make(ErrorCode::NotAPeriod, "a birth period is needed for one reading",
                [](Script s) { return T(s, "一次测算需要出生时辰"); });
}

Error UnknownConvention(std::string_view shownName, std::string_view value,
                        const std::vector<std::string_view>& values) {
    // same-day or next-day; true, mean or clock.
    const auto listed = [&](std::string_view comma, std::string_view lastOr) {
        std::string text;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0) text += i + 1 == values.size() ? lastOr : comma;
            text += values[i];
        }
        return text;
    };
    return Make(ErrorCode::UnknownConvention,
                "unknown value " + Quoted(value) + " for " + std::string(shownName) + ": use " +
                    listed(", ", " or "),
                [&](Script s) {
                    return std::string(shownName) + T(s, " 的值") + QuotedZh(value) +
                           T(s, "无法识别：可用 ") + listed(T(s, "、"), T(s, " 或 "));
                });
}

Error ReadingDayAfterRange(const GregorianDate& date) {
    return Make(ErrorCode::ReadingDayOutsideRange,
                "a 晚子 birth on " + IsoDate(date) +
                    " is read on the next day when 晚子 counts as the next day (next-day), and "
                    "that day lies after 2100-12-31, the end of the calendar's range",
                [&](Script s) {
                    return IsoDate(date) +
                           T(s,
                             " 的晚子时按晚子时算次日应按次日论，次日已超出可测算的范围（至 "
                             "2100-12-31）");
                });
}

Error NotALongitude(double degrees) { return NotALongitude(NumberText(degrees)); }

Error NotALongitude(std::string_view text) {
    return Make(ErrorCode::NotALongitude,
                "not a longitude: " + Quoted(text) +
                    "; write degrees east from -180 to 180, for example 104.07, 104.07E, "
                    "104°04'E, 74W",
                [&](Script s) {
                    return T(s, "无法识别的经度：") + QuotedZh(text) +
                           T(s,
                             "；请写 -180 到 180 之间的东经度数，例如 104.07、104.07E、104°04′E、"
                             "东经104.07，西经写 74W 或 西经74");
                });
}

namespace {

std::vector<std::string> Strings(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

}  // namespace

Error UnknownZone(std::string_view text, const std::vector<std::string_view>& nearest) {
    return Make(ErrorCode::UnknownZone,
                "unknown time zone " + Quoted(text) +
                    "; give a tzdata name, a city's time or a whole-hour offset, such as " +
                    Listed(Strings(nearest), ", "),
                [&](Script s) {
                    return T(s, "未知的时区") + QuotedZh(text) +
                           T(s, "；请写 tzdata 的时区名、某地时间或整点时差，例如 ") +
                           Listed(Strings(nearest), "、");
                });
}

Error UnknownPlace(std::string_view text, const std::vector<std::string>& nearest) {
    return Make(ErrorCode::UnknownPlace,
                "unknown place " + Quoted(text) +
                    (nearest.empty() ? std::string("; give --longitude instead")
                                     : "; closest: " + Listed(nearest, ", ")),
                [&](Script s) {
                    return T(s, "地名表中没有") + QuotedZh(text) +
                           (nearest.empty() ? T(s, "；请改用经度")
                                            : T(s, "；相近的有：") + Listed(nearest, "、"));
                });
}

Error PlaceNameTooLong(std::string_view text, std::size_t longest) {
    const std::string most = std::to_string(longest);
    return Make(ErrorCode::UnknownPlace,
                "no place has a name as long as " + Quoted(text) + " (at most " + most +
                    " characters); give --longitude instead",
                [&](Script s) {
                    return T(s, "地名太长：") + QuotedZh(text) + T(s, "（地名最多 ") + most +
                           T(s, " 个字）；请改用经度");
                });
}

Error ZoneNameTooLong(std::string_view text, std::size_t longest) {
    const std::string most = std::to_string(longest);
    return Make(ErrorCode::UnknownZone,
                "no time zone has a name as long as " + Quoted(text) + " (at most " + most +
                    " characters); give a tzdata name, a city's time or a whole-hour offset",
                [&](Script s) {
                    return T(s, "时区名太长：") + QuotedZh(text) + T(s, "（最多 ") + most +
                           T(s, " 个字）；请写 tzdata 的时区名、某地时间或整点时差");
                });
}

Error AmbiguousPlace(std::string_view text, const std::vector<std::string>& places) {
    return Make(ErrorCode::AmbiguousPlace,
                Quoted(text) + " could be any of: " + Listed(places, ", ") + "; name one of them",
                [&](Script s) {
                    return QuotedZh(text) + T(s, "可指：") + Listed(places, "、") +
                           T(s, "；请写明是哪一个");
                });
}

Error BirthplaceWithoutClockTime() {
    return Make(ErrorCode::NoClockTime,
                "a place or longitude needs the clock time of the birth, such as 14:30, not a "
                "period",
                [](Script s) {
                    return T(s, "给出出生地或经度时，请写出生的钟表时间（例如 14:30），而不是时辰");
                });
}

Error ZoneWithoutLongitude() {
    return Make(ErrorCode::NoClockTime, "a time zone needs a place or longitude with it",
                [](Script s) { return T(s, "给出时区时，还需要出生地或经度"); });
}

Error SolarTimeWithoutBirthplace(std::string_view valueName) {
    return Make(ErrorCode::NoClockTime,
                "solar time " + std::string(valueName) +
                    " needs a place or longitude and the clock time of the birth",
                [&](Script s) {
                    return T(s, valueName == "true" ? "真太阳时" : "平太阳时") +
                           T(s, "需要出生地或经度，以及出生的钟表时间");
                });
}

Error ClockTimeSkipped(const std::string& clock, std::string_view zone, const std::string& from,
                       const std::string& to, bool summerTimeBegan) {
    return Make(ErrorCode::ClockTimeSkipped,
                clock + " never happened in " + std::string(zone) + ": clocks went from " + from +
                    " to " + to +
                    (summerTimeBegan ? " (summer time began)" : " (the zone moved its clocks on)"),
                [&](Script s) {
                    return std::string(zone) + T(s, " 没有 ") + clock + T(s, " 这个时刻：时钟从 ") +
                           from + T(s, " 直接拨到 ") + to +
                           T(s, summerTimeBegan ? "（夏令时开始）" : "（该时区调快了时钟）");
                });
}

Error SolarDateOutsideRange(const std::string& time, std::string_view which) {
    return Make(ErrorCode::SolarDateOutsideRange,
                "the " + std::string(which == "true" ? "true solar" : "mean solar") + " time, " +
                    time + ", lies outside 1645-01-28 to 2100-12-31",
                [&](Script s) {
                    return T(s, which == "true" ? "真太阳时 " : "平太阳时 ") + time +
                           T(s, " 已超出可测算的范围（1645-01-28 至 2100-12-31）");
                });
}

Error RequestTooLarge(std::size_t bytes, std::size_t limit) {
    const std::string shown = std::to_string(bytes), most = std::to_string(limit);
    return Make(
        ErrorCode::RequestTooLarge,
        "the request has " + shown + " bytes; a request has at most " + most, [&](Script s) {
            return T(s, "请求有 ") + shown + T(s, " 字节，超过了上限 ") + most + T(s, " 字节");
        });
}

Error BadRequest(std::string english, const std::function<std::string(Script)>& chinese) {
    return Make(ErrorCode::BadRequest, std::move(english), chinese);
}

}  // namespace refusal
CHENGGU_END_NAMESPACE
