// Dates, lunar dates, periods and convention values as people type them.
#include <charconv>
#include <optional>

#include "calendar/calendar_date.h"
#include "chenggu/birth.h"
#include "reading/messages.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"

namespace chenggu {
namespace {

constexpr std::string_view LeapMark = "闰";
constexpr std::string_view PeriodSuffix = "时";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A run of minDigits to maxDigits ASCII digits starting at text[pos]; advances pos past it.
std::optional<int> Number(std::string_view text, std::size_t& pos, std::size_t minDigits,
                          std::size_t maxDigits) {
    std::size_t end = pos;
    while (end < text.size() && IsDigit(text[end]) && end - pos < maxDigits) ++end;
    if (end - pos < minDigits) return std::nullopt;
    int value = 0;
    std::from_chars(text.data() + pos, text.data() + end, value);
    pos = end;
    return value;
}

bool Skip(std::string_view text, std::size_t& pos, char separator) {
    if (pos >= text.size() || text[pos] != separator) return false;
    ++pos;
    return true;
}

// A name alone or followed by 时: 子, 子时.
bool Named(std::string_view text, std::string_view name) {
    if (!text.starts_with(name)) return false;
    const std::string_view rest = text.substr(name.size());
    return rest.empty() || rest == PeriodSuffix;
}

}  // namespace

Result<GregorianDate> ParseDate(std::string_view text) {
    std::size_t pos = 0;
    const auto year = Number(text, pos, 4, 4);
    const bool dash1 = year && Skip(text, pos, '-');
    const auto month = dash1 ? Number(text, pos, 1, 2) : std::nullopt;
    const bool dash2 = month && Skip(text, pos, '-');
    const auto day = dash2 ? Number(text, pos, 1, 2) : std::nullopt;
    if (!day || pos != text.size()) return refusal::NotADate(text);
    const GregorianDate date{static_cast<std::uint16_t>(*year), static_cast<std::uint16_t>(*month),
                             static_cast<std::uint16_t>(*day)};
    const Result<Birth> birth = GregorianBirth(date);
    if (!birth) return birth.error();
    return date;
}

namespace {

// The form of a lunar date, not yet checked against the calendar.
Result<LunarDate> ParseLunarForm(std::string_view text) {
    std::size_t pos = 0;
    const auto year = Number(text, pos, 4, 4);
    const bool dash1 = year && Skip(text, pos, '-');
    bool leap = false;
    if (dash1 && text.substr(pos).starts_with(LeapMark)) {
        leap = true;
        pos += LeapMark.size();
    } else if (dash1 && pos < text.size() && (text[pos] == 'L' || text[pos] == 'l')) {
        leap = true;
        ++pos;
    }
    const auto month = dash1 ? Number(text, pos, 1, 2) : std::nullopt;
    if (leap && !month) return refusal::LeapMarkWithoutMonth(text);
    const bool dash2 = month && Skip(text, pos, '-');
    const auto day = dash2 ? Number(text, pos, 1, 2) : std::nullopt;
    if (!day || pos != text.size()) return refusal::NotALunarDate(text);
    return LunarDate{static_cast<std::uint16_t>(*year), static_cast<std::uint16_t>(*month),
                     static_cast<std::uint16_t>(*day), leap};
}

}  // namespace

Result<LunarDate> ParseLunarDate(std::string_view text) {
    const Result<LunarDate> date = ParseLunarForm(text);
    if (!date) return date;
    const LunarDateError error = CalendarDate::CheckLunarDate(*date);
    if (error != LunarDateError::None) return refusal::NoSuchLunarDate(*date, error);
    return date;
}

Result<Period> ParsePeriod(std::string_view text) {
    // An earthly branch, alone or with 时; 子 may be split into its early and late halves.
    if (Named(text, "早子")) return Period{0, ZiHalf::Early};
    if (Named(text, "晚子")) return Period{0, ZiHalf::Late};
    for (std::size_t index = 0; index < BirthPeriods.size(); ++index) {
        if (Named(text, BirthPeriods[index].periodBranch)) return Period{static_cast<int>(index)};
    }
    // A clock time.
    std::size_t pos = 0;
    const auto hour = Number(text, pos, 1, 2);
    const bool colon = hour && Skip(text, pos, ':');
    const auto minute = colon ? Number(text, pos, 2, 2) : std::nullopt;
    if (!minute || pos != text.size()) return refusal::NotAPeriod(text);
    if (*hour > 23 || *minute > 59) return refusal::NotATime(text);
    if (*hour == 23) return Period{0, ZiHalf::Late};
    if (*hour == 0) return Period{0, ZiHalf::Early};
    return Period{PeriodForHour(static_cast<std::uint16_t>(*hour))};
}

Result<Birth> ParseBirth(std::string_view date, std::optional<std::string_view> period,
                         bool lunar) {
    // The date is read first, so that a bad date is what a message about both names.
    Birth birth;
    if (lunar) {
        const Result<LunarDate> form = ParseLunarForm(date);
        if (!form) return form.error();
        const Result<Birth> lunarBirth = LunarBirth(*form);
        if (!lunarBirth) return lunarBirth;
        birth = *lunarBirth;
    } else {
        const Result<GregorianDate> gregorian = ParseDate(date);
        if (!gregorian) return gregorian.error();
        birth.date = *gregorian;
    }
    if (period) {
        const Result<Period> parsed = ParsePeriod(*period);
        if (!parsed) return parsed.error();
        birth.period = *parsed;
    }
    return birth;
}

Result<Options> SetConvention(Options options, Convention convention, std::string_view value,
                              std::string_view shownName) {
    const auto set = [&](auto parsed, auto& member) -> Result<Options> {
        if (!parsed) return refusal::UnknownConvention(convention, shownName, value);
        member = *parsed;
        return options;
    };
    switch (convention) {
        case Convention::LateZi:
            return set(ParseLateZi(value), options.lateZi);
        case Convention::YearStart:
            return set(ParseYearStart(value), options.yearStart);
        case Convention::LeapMonth:
            break;
    }
    return set(ParseLeapMonthRule(value), options.leapMonth);
}

}  // namespace chenggu
