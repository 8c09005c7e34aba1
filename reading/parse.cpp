// Dates, lunar dates, periods and convention values as people type them: ASCII or
// full-width, Simplified or Traditional, numbers or the traditional words of the lunar
// calendar.
#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <vector>

#include "calendar/calendar_date.h"
#include "chenggu/birth.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"
#include "text/messages.h"
#include "text/text_scanner.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// The months and days of the lunar calendar in words, longest first where one begins another.
constexpr std::array<std::pair<std::string_view, int>, 15> MonthWords{{{"十一月", 11},
                                                                       {"十二月", 12},
                                                                       {"正月", 1},
                                                                       {"一月", 1},
                                                                       {"二月", 2},
                                                                       {"三月", 3},
                                                                       {"四月", 4},
                                                                       {"五月", 5},
                                                                       {"六月", 6},
                                                                       {"七月", 7},
                                                                       {"八月", 8},
                                                                       {"九月", 9},
                                                                       {"十月", 10},
                                                                       {"冬月", 11},
                                                                       {"腊月", 12}}};
constexpr std::array<std::string_view, 10> Units{"一", "二", "三", "四", "五",
                                                 "六", "七", "八", "九", "十"};

// 一 to 九 (or to 十), as a number.
std::optional<int> Unit(TextScanner& in, int largest) {
    for (int n = 1; n <= largest; ++n) {
        if (in.Take(Units[static_cast<std::size_t>(n - 1)])) return n;
    }
    return std::nullopt;
}

// A lunar month in words: 正月 … 十月, 冬月 (十一月), 腊月 (十二月).
std::optional<int> MonthWord(TextScanner& in) {
    for (const auto& [word, month] : MonthWords) {
        if (in.Take(word)) return month;
    }
    return std::nullopt;
}

// A unit after 十, 廿 or 二十: 一 … 九, or the digit people mix in (十5, 廿5).
std::optional<int> UnitOrDigit(TextScanner& in) {
    if (const auto unit = Unit(in, 9)) return unit;
    const auto digit = in.Digits(1, 1);
    return digit && *digit > 0 ? digit : std::nullopt;
}

// A lunar day in words: 初一 … 初十, 十一 … 十九, 二十, 廿一 … 廿九 (二十一 …), 三十 (卅), or with
// digits mixed in, read as the number they write: 初5, 初15, 十5, 廿5. Nothing is taken when
// there is no such day, so that a day half read is never another day.
std::optional<int> DayWord(TextScanner& in) {
    TextScanner at = in;
    std::optional<int> day;
    if (at.Take("初")) {
        day = Unit(at, 10);
        if (!day) day = at.Digits(1, 2);
    } else if (at.Take("廿")) {
        const auto unit = UnitOrDigit(at);
        if (unit) day = 20 + *unit;
    } else if (at.Take("二十")) {
        TextScanner rest = at;
        const auto unit = UnitOrDigit(rest);
        if (unit) at = rest;
        day = 20 + unit.value_or(0);
    } else if (at.Take("三十") || at.Take("卅")) {
        day = 30;
    } else if (at.Take("十")) {
        const auto unit = UnitOrDigit(at);
        if (unit) day = 10 + *unit;
    }
    if (day) in = at;
    return day;
}

// A date as written, before it is checked against a calendar.
struct DateForm {
    int year = 0, month = 0, day = 0;
    bool leap = false;             // 闰 or L before the month
    bool words = false;            // a month or day in words: a lunar date
    bool lunarPrefix = false;      // 农历…, 阴历…
    bool gregorianPrefix = false;  // 公历…, 阳历…

    // Whether the date is lunar, when the caller reads numbers as lunar or not.
    bool Lunar(bool numbersAreLunar) const {
        if (words || lunarPrefix || leap) return true;
        return numbersAreLunar && !gregorianPrefix;
    }
};

// YYYY-M-D, YYYY/M/D, YYYY.M.D (a leap month as 闰M or LM), YYYY年M月D日 (or 号), and the
// lunar YYYY年[闰]正月初一, each after an optional 公历/阳历 or 农历/阴历.
std::optional<DateForm> ReadDateForm(std::string_view text, bool* leapWithoutMonth = nullptr) {
    TextScanner in(text);
    DateForm form;
    form.lunarPrefix = in.Take("农历") || in.Take("阴历");
    form.gregorianPrefix = !form.lunarPrefix && (in.Take("公历") || in.Take("阳历"));
    const auto year = in.Digits(4, 4);
    if (!year) return std::nullopt;
    form.year = *year;
    for (const char separator : {'-', '/', '.'}) {
        const char mark[] = {separator, '\0'};
        if (!in.Take(mark)) continue;
        form.leap = in.Take("闰") || in.Take("L") || in.Take("l");
        const auto month = in.Digits(1, 2);
        if (leapWithoutMonth != nullptr) *leapWithoutMonth = form.leap && !month;
        const auto day = month && in.Take(mark) ? in.Digits(1, 2) : std::nullopt;
        if (!day || !in.AtEnd()) return std::nullopt;
        form.month = *month;
        form.day = *day;
        return form;
    }
    if (!in.Take("年")) return std::nullopt;
    form.leap = in.Take("闰");
    if (const auto month = MonthWord(in)) {
        form.month = *month;
        form.words = true;
    } else if (const auto number = in.Digits(1, 2); number && in.Take("月")) {
        form.month = *number;
    } else {
        return std::nullopt;
    }
    if (const auto day = DayWord(in)) {
        form.day = *day;
        form.words = true;
    } else if (const auto number = in.Digits(1, 2)) {
        form.day = *number;
        if (!in.Take("日")) in.Take("号");
    } else {
        return std::nullopt;
    }
    if (!in.AtEnd()) return std::nullopt;
    return form;
}

// A name alone or followed by 时: 子, 子时.
bool Named(std::string_view text, std::string_view name) {
    if (!text.starts_with(name)) return false;
    const std::string_view rest = text.substr(name.size());
    return rest.empty() || rest == "时";
}

std::uint16_t Field(int value) { return static_cast<std::uint16_t>(value); }

// The names of a convention's values, in enumerator order.
std::vector<std::string_view> ValueNames(Convention convention) {
    switch (convention) {
        case Convention::LateZi:
            return {ValueName(LateZi::SameDay), ValueName(LateZi::NextDay)};
        case Convention::YearStart:
            return {ValueName(YearStart::NewYear), ValueName(YearStart::Spring)};
        case Convention::LeapMonth:
            return {ValueName(LeapMonthRule::Whole), ValueName(LeapMonthRule::Split)};
        case Convention::CalendarRule:
            return {ValueName(CalendarRule::Printed), ValueName(CalendarRule::Computed)};
        case Convention::SolarTime:
            break;
    }
    return {ValueName(SolarTime::True), ValueName(SolarTime::Mean), ValueName(SolarTime::Clock)};
}

}  // namespace

Result<GregorianDate> ParseDate(std::string_view text) {
    const std::string folded = NormalizedInput(text);
    const std::optional<DateForm> form = ReadDateForm(folded);
    if (!form || form->Lunar(false)) return refusal::NotADate(text);
    const GregorianDate date{Field(form->year), Field(form->month), Field(form->day)};
    const Result<Birth> birth = GregorianBirth(date);
    if (!birth) return birth.error();
    return date;
}

Result<LunarDate> ParseLunarDate(std::string_view text) {
    const std::string folded = NormalizedInput(text);
    bool leapWithoutMonth = false;
    const std::optional<DateForm> form = ReadDateForm(folded, &leapWithoutMonth);
    if (leapWithoutMonth) return refusal::LeapMarkWithoutMonth(text);
    if (!form || !form->Lunar(true)) return refusal::NotALunarDate(text);
    const LunarDate date{Field(form->year), Field(form->month), Field(form->day), form->leap};
    // A date of either calendar: the reading says when the rule read by has no such day.
    const LunarDateError error = CalendarDate::CheckLunarDate(date);
    if (error != LunarDateError::None &&
        CalendarDate::CheckLunarDate(date, CalendarRule::Computed) != LunarDateError::None) {
        return refusal::NoSuchLunarDate(date, error);
    }
    return date;
}

Result<Period> ParsePeriod(std::string_view text) {
    const std::string folded = NormalizedInput(text);
    // An earthly branch, alone or with 时; 子 may be split into its early and late halves.
    if (Named(folded, "早子")) return Period{0, ZiHalf::Early};
    if (Named(folded, "晚子")) return Period{0, ZiHalf::Late};
    for (std::size_t index = 0; index < BirthPeriods.size(); ++index) {
        if (Named(folded, BirthPeriods[index].periodBranch)) {
            return Period{static_cast<int>(index)};
        }
    }
    const Result<ClockTime> clock = ParseClockTime(text);
    if (!clock) return clock.error();
    if (clock->hour == 23) return Period{0, ZiHalf::Late};
    if (clock->hour == 0) return Period{0, ZiHalf::Early};
    return Period{PeriodForHour(static_cast<std::uint16_t>(clock->hour))};
}

namespace {

// A date written with its time or period and no period apart (1990年1月30日23时30分,
// 1990年正月初四子时, 1990-01-30 23:30): the two, split where the longest end reads as a
// period and what is before it as a date.
std::optional<std::pair<std::string, std::string>> DateWithTime(const std::string& folded) {
    for (std::size_t at = 1; at < folded.size(); ++at) {
        if ((static_cast<unsigned char>(folded[at]) & 0xC0) == 0x80) continue;  // inside a character
        const auto digit = [](char c) { return c >= '0' && c <= '9'; };
        if (digit(folded[at - 1]) && digit(folded[at])) continue;  // never inside a number
        std::string time = folded.substr(at);
        std::string day = folded.substr(0, at);
        while (!day.empty() && (day.back() == ' ' || day.back() == 'T')) day.pop_back();
        if (!ParsePeriod(time) || !ReadDateForm(day)) continue;
        return std::pair{std::move(day), std::move(time)};
    }
    return std::nullopt;
}

}  // namespace

Result<Birth> ParseBirth(std::string_view date, std::optional<std::string_view> period,
                         bool lunar) {
    // The date is read first, so that a bad date is what a message about both names.
    const std::string folded = NormalizedInput(date);
    const std::optional<DateForm> form = ReadDateForm(folded);
    if (!form && !period) {
        if (const auto apart = DateWithTime(folded)) {
            return ParseBirth(apart->first, std::string_view(apart->second), lunar);
        }
    }
    Birth birth;
    if (form && form->Lunar(lunar)) {
        // A date of either calendar rule: the reading resolves it under the rule it reads by.
        const LunarDate given{Field(form->year), Field(form->month), Field(form->day), form->leap};
        const Result<Birth> lunarBirth = LunarBirth(given);
        const Result<Birth> computed =
            lunarBirth ? lunarBirth : LunarBirth(given, {}, CalendarRule::Computed);
        if (!computed) return lunarBirth;
        birth = *computed;
    } else if (lunar) {
        const Result<LunarDate> refused = ParseLunarDate(date);  // says why
        return refused.error();
    } else {
        const Result<GregorianDate> gregorian = ParseDate(date);
        if (!gregorian) return gregorian.error();
        birth.date = *gregorian;
    }
    if (period) {
        const Result<Period> parsed = ParsePeriod(*period);
        if (!parsed) return parsed.error();
        birth.period = *parsed;
        if (const Result<ClockTime> clock = ParseClockTime(*period)) birth.clock = *clock;
    }
    return birth;
}

Result<Options> SetConvention(Options options, Convention convention, std::string_view value,
                              std::string_view shownName) {
    const auto set = [&](auto parsed, auto& member) -> Result<Options> {
        if (!parsed) {
            return refusal::UnknownConvention(shownName, value, ValueNames(convention));
        }
        member = *parsed;
        return options;
    };
    switch (convention) {
        case Convention::LateZi:
            return set(ParseLateZi(value), options.lateZi);
        case Convention::YearStart:
            return set(ParseYearStart(value), options.yearStart);
        case Convention::LeapMonth:
            return set(ParseLeapMonthRule(value), options.leapMonth);
        case Convention::CalendarRule:
            return set(ParseCalendarRule(value), options.calendarRule);
        case Convention::SolarTime:
            break;
    }
    return set(ParseSolarTime(value), options.solarTime);
}

CHENGGU_END_NAMESPACE
