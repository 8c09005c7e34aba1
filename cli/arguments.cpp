#include "cli/arguments.h"

#include <CLI/CLI.hpp>

#include <array>
#include <charconv>
#include <cstdio>

#include "calendar/calendar_date.h"
#include "reading/utf8.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"

namespace {

const char* const DateForm = "write it as YYYY-MM-DD, for example 1990-01-30";
const char* const LunarDateForm =
    "write it as YYYY-MM-DD, with 闰 or L before the month of a leap month, for example "
    "2020-04-01 or 2020-闰4-1";
const char* const PeriodForm =
    "give an earthly branch (子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥), 早子 (0:00-0:59) or 晚子 "
    "(23:00-23:59), or a clock time H:MM, for example 子, 晚子 or 23:30";
constexpr std::string_view LeapMark = "闰";

std::string Quoted(std::string_view text) { return '"' + Printable(text, 40) + '"'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A run of 1 to maxDigits ASCII digits starting at text[pos]; advances pos.
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

const char* const MonthNames[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};

// A lunar date as typed back in messages: 2020-04-01, 2020-闰04-01.
std::string FormatLunarDate(const LunarDate& lunar) {
    std::array<char, 24> text{};
    std::snprintf(text.data(), text.size(), "%04u-%s%02u-%02u", unsigned{lunar.year},
                  lunar.leapMonth ? "闰" : "", unsigned{lunar.month}, unsigned{lunar.day});
    return text.data();
}

[[noreturn]] void RefuseLunarDate(const LunarDate& lunar, LunarDateError error) {
    const std::string date = "lunar " + FormatLunarDate(lunar);
    const std::string year = "lunar " + std::to_string(lunar.year);
    switch (error) {
        case LunarDateError::NoSuchMonth:
            throw UsageError(date + " does not exist: lunar months run from 1 to 12");
        case LunarDateError::NoSuchLeapMonth: {
            const int leap = CalendarDate::LunarLeapMonth(lunar.year);
            throw UsageError(date + " does not exist: " + year +
                             (leap == 0 ? " has no leap month"
                                        : "'s leap month follows month " + std::to_string(leap)));
        }
        case LunarDateError::NoSuchDay: {
            if (lunar.day == 0)
                throw UsageError(date + " does not exist: lunar days run from 1 to 30");
            const unsigned days =
                CalendarDate::LunarMonthLength(lunar.year, lunar.month, lunar.leapMonth);
            throw UsageError(date + " does not exist: " +
                             (lunar.leapMonth ? "the leap month after month " : "month ") +
                             std::to_string(lunar.month) + " of " + year + " has " +
                             std::to_string(days) + " days");
        }
        case LunarDateError::OutsideRange:
        case LunarDateError::None:
            break;
    }
    throw UsageError(date +
                     " is outside the calendar's range: lunar dates run from 1900-11-11 to "
                     "2050-11-18 (1901-01-01 to 2050-12-31)");
}

}  // namespace

std::string Printable(std::string_view text, std::size_t longestShown) {
    std::string quoted;
    std::size_t shown = 0, pos = 0;
    for (; pos < text.size() && shown < longestShown; ++shown) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        const auto c = static_cast<unsigned char>(text[pos]);
        if (length == 0 || c < 0x20 || c == 0x7f || c == '"' || c == '\\') {
            static constexpr char Hex[] = "0123456789abcdef";
            quoted += "\\x";
            quoted += Hex[c >> 4];
            quoted += Hex[c & 0xf];
            ++pos;
        } else {
            quoted.append(text.substr(pos, length));
            pos += length;
        }
    }
    if (pos < text.size()) quoted += "...";
    return quoted;
}

GregorianDate ParseDate(std::string_view text) {
    std::size_t pos = 0;
    const auto year = Number(text, pos, 4, 4);
    const bool dash1 = year && Skip(text, pos, '-');
    const auto month = dash1 ? Number(text, pos, 1, 2) : std::nullopt;
    const bool dash2 = month && Skip(text, pos, '-');
    const auto day = dash2 ? Number(text, pos, 1, 2) : std::nullopt;
    if (!day || pos != text.size()) {
        throw UsageError(Quoted(text) + " is not a date: " + DateForm);
    }

    const GregorianDate date{static_cast<std::uint16_t>(*year), static_cast<std::uint16_t>(*month),
                             static_cast<std::uint16_t>(*day)};
    if (*month < 1 || *month > 12) {
        throw UsageError(IsoDate(date) + " does not exist: months run from 1 to 12");
    }
    const int monthDays = CalendarDate::GregorianMonthDays(date.year, date.month);
    if (*day < 1 || *day > monthDays) {
        throw UsageError(IsoDate(date) + " does not exist: " + MonthNames[*month - 1] + " " +
                         std::to_string(*year) + " has " + std::to_string(monthDays) + " days");
    }
    if (!CalendarDate::IsSupportedDate(date.year, date.month, date.day)) {
        throw UsageError(IsoDate(date) +
                         " is outside the calendar's range: dates run from 1901-01-01 to "
                         "2050-12-31");
    }
    return date;
}

LunarDate ParseLunarDate(std::string_view text) {
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
    if (leap && !month) {
        throw UsageError(Quoted(text) + " is not a lunar date: 闰 needs the number of the month " +
                         "it repeats, for example 2020-闰4-1");
    }
    const bool dash2 = month && Skip(text, pos, '-');
    const auto day = dash2 ? Number(text, pos, 1, 2) : std::nullopt;
    if (!day || pos != text.size()) {
        throw UsageError(Quoted(text) + " is not a lunar date: " + LunarDateForm);
    }
    const LunarDate lunar{static_cast<std::uint16_t>(*year), static_cast<std::uint16_t>(*month),
                          static_cast<std::uint16_t>(*day), leap};
    const LunarDateError error = CalendarDate::CheckLunarDate(lunar);
    if (error != LunarDateError::None) RefuseLunarDate(lunar, error);
    return lunar;
}

PeriodInput ParsePeriod(std::string_view text) {
    // An earthly branch, alone or with 时; 子 may be split into its early and late halves.
    const auto named = [text](const std::string& name) {
        return text == name || text == name + "时";
    };
    if (named("早子")) return {0, ZiHalf::Early};
    if (named("晚子")) return {0, ZiHalf::Late};
    for (std::size_t period = 0; period < BirthPeriods.size(); ++period) {
        if (named(Utf8(BirthPeriods[period].periodBranch))) return {static_cast<int>(period)};
    }
    // A clock time.
    std::size_t pos = 0;
    const auto hour = Number(text, pos, 1, 2);
    const bool colon = hour && Skip(text, pos, ':');
    const auto minute = colon ? Number(text, pos, 2, 2) : std::nullopt;
    if (!minute || pos != text.size()) {
        throw UsageError(Quoted(text) + " is not a birth period: " + PeriodForm);
    }
    if (*hour > 23 || *minute > 59) {
        throw UsageError(Quoted(text) + " is not a time of day: times run from 0:00 to 23:59");
    }
    if (*hour == 23) return {0, ZiHalf::Late};
    if (*hour == 0) return {0, ZiHalf::Early};
    return {PeriodForHour(static_cast<std::uint16_t>(*hour))};
}

BirthQuery ParseBirthQuery(std::span<const std::string> operands, bool lunar) {
    if (operands.empty()) {
        throw UsageError("a birth date is needed: chenggu DATE [PERIOD] (see chenggu --help)");
    }
    if (operands.size() > 2) {
        throw UsageError("too many arguments: DATE [PERIOD] takes a date and a period");
    }
    BirthQuery query;
    if (lunar) {
        query = BirthQuery::FromLunar(ParseLunarDate(operands[0]));
    } else {
        query.date = ParseDate(operands[0]);
    }
    if (operands.size() == 2) {
        const PeriodInput period = ParsePeriod(operands[1]);
        query.period = period.period;
        query.ziHalf = period.ziHalf;
    }
    return query;
}

namespace {

template <class Value>
Value ConventionValue(std::optional<Value> value, const char* option, std::string_view text,
                      const char* accepted) {
    if (!value) {
        throw UsageError("unknown value " + Quoted(text) + " for " + option + ": use " + accepted);
    }
    return *value;
}

GregorianDate ParseAnyDate(std::string_view text, bool lunar) {
    return lunar ? CalendarDate::LunarToGregorian(ParseLunarDate(text)) : ParseDate(text);
}

}  // namespace

Request ParseArguments(const std::vector<std::string>& arguments) {
    CLI::App app{"", "chenggu"};
    bool json = false, calendar = false, batch = false, lunar = false, version = false;
    std::optional<std::string> lateZi, yearStart, leapMonth;
    std::vector<std::string> operands;
    app.set_help_flag("-h,--help");
    auto* jsonFlag = app.add_flag("--json", json);
    auto* calendarFlag = app.add_flag("--calendar", calendar)->excludes(jsonFlag);
    app.add_flag("--batch", batch)->excludes(calendarFlag);
    app.add_flag("--lunar", lunar);
    app.add_flag("--version", version);
    app.add_option("--late-zi", lateZi);
    app.add_option("--year-start", yearStart);
    app.add_option("--leap-month", leapMonth);
    app.add_option("operands", operands);

    std::vector<const char*> argv{"chenggu"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        Request help;
        help.command = Command::Help;
        return help;
    } catch (const CLI::ExtrasError&) {
        for (const std::string& argument : arguments) {
            if (argument.size() > 1 && argument[0] == '-' && !app.get_option_no_throw(argument) &&
                argument.find('=') == std::string::npos) {
                throw UsageError("unknown option " + Quoted(argument) + " (see chenggu --help)");
            }
        }
        throw UsageError("unexpected arguments (see chenggu --help)");
    } catch (const CLI::ParseError& e) {
        throw UsageError(Printable(e.what(), 200) + " (see chenggu --help)");
    }

    Request request;
    if (version) {
        request.command = Command::Version;
        return request;
    }
    request.json = json;
    request.lunar = lunar;
    // Conventions are checked first, so that --batch refuses them before reading any input.
    if (lateZi) {
        request.options.lateZi =
            ConventionValue(ParseLateZi(*lateZi), "--late-zi", *lateZi, "same-day or next-day");
    }
    if (yearStart) {
        request.options.yearStart = ConventionValue(ParseYearStart(*yearStart), "--year-start",
                                                    *yearStart, "new-year or spring");
    }
    if (leapMonth) {
        request.options.leapMonth = ConventionValue(ParseLeapMonthRule(*leapMonth), "--leap-month",
                                                    *leapMonth, "whole or split");
    }
    if (calendar) {
        request.command = Command::Calendar;
        if (operands.empty()) throw UsageError("--calendar needs a date: --calendar FROM [TO]");
        if (operands.size() > 2) throw UsageError("too many dates: --calendar FROM [TO]");
        request.firstDate = ParseAnyDate(operands[0], lunar);
        request.lastDate =
            operands.size() == 2 ? ParseAnyDate(operands[1], lunar) : request.firstDate;
        if (request.lastDate < request.firstDate) {
            throw UsageError("FROM " + IsoDate(request.firstDate) + " is after TO " +
                             IsoDate(request.lastDate));
        }
        return request;
    }
    if (batch) {
        request.command = Command::Batch;
        if (!operands.empty()) {
            throw UsageError(
                "--batch reads its requests from standard input, one DATE [PERIOD] "
                "a line: give no date after it");
        }
        return request;
    }
    request.birth = ParseBirthQuery(operands, lunar);
    return request;
}

std::string UsageText() {
    return R"(chenggu: the bone-weight reading (称骨算命) of a birth date and period

Usage:
  chenggu [OPTIONS] DATE [PERIOD]   one reading, or all twelve periods when PERIOD is left out
  chenggu --json [OPTIONS] DATE [PERIOD]
                                   the same as JSON
  chenggu --batch [OPTIONS] < FILE  one reading a line of input (DATE [PERIOD]), as JSON Lines
  chenggu --calendar FROM [TO]     the lunar calendar for a range of dates, tab-separated
  chenggu --help | --version

DATE, FROM, TO   a Gregorian date YYYY-MM-DD from 1901-01-01 to 2050-12-31
PERIOD           an earthly branch 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥 (子时 also works),
                 早子 (0:00-0:59) or 晚子 (23:00-23:59), or a clock time H:MM;
                 子 runs from 23:00 to 0:59

Options:
  --lunar                  DATE, FROM and TO are lunar dates YYYY-MM-DD; write the month of
                           a leap month as 闰M or LM (2020-闰4-1, 2020-L04-01)
  --late-zi same-day|next-day
                           a 晚子 birth (23:00-23:59) is read on its own day (default) or on
                           the next day
  --year-start new-year|spring
                           the year weight follows the lunar year, from the lunar new year
                           (default), or the stem-branch year, from Start of Spring (立春)
  --leap-month whole|split
                           a leap month weighs as the month it follows (default), or from its
                           16th day on as the next month
  --batch                  read DATE [PERIOD] requests from standard input, one a line (blank
                           lines and lines starting with # are skipped); write one JSON line
                           each, or {"line": N, "input": ..., "error": ...} for a bad one; exit
                           status 2 if any line was bad

Examples:
  chenggu 1990-01-30 子
  chenggu 1990-01-30 23:30 --late-zi next-day
  chenggu --lunar 2020-闰4-1 午
  chenggu --json 1990-01-30
  chenggu --calendar 2020-05-20 2020-06-25

Errors go to standard error as one line starting "chenggu: ", with exit status 2.
)";
}
