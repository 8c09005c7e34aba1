#include "cli/arguments.h"

#include <CLI/CLI.hpp>

#include <array>
#include <charconv>
#include <cstdio>

#include "calendar/calendar_date.h"
#include "cli/utf8.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"

namespace {

const char* const DateForm = "write it as YYYY-MM-DD, for example 1990-01-30";
const char* const PeriodForm =
    "give an earthly branch (子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥) or a clock time H:MM, "
    "for example 子 or 23:30";

// Length of the well-formed UTF-8 sequence at text[pos], or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        c = lead & 0x1fu;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        c = lead & 0x0fu;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        c = lead & 0x07u;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xc0) != 0x80) return 0;
        c = c << 6 | (next & 0x3fu);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    const bool surrogate = c >= 0xd800 && c <= 0xdfff;
    return overlong || surrogate || c > 0x10ffff ? 0 : length;
}

// User input for a one-line message: control characters, quotes and bytes that are not
// UTF-8 appear as \xNN escapes, and text longer than longestShown characters is cut short.
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

}  // namespace

std::string FormatDate(const GregorianDate& date) {
    std::array<char, 24> text{};
    std::snprintf(text.data(), text.size(), "%04u-%02u-%02u", unsigned{date.year},
                  unsigned{date.month}, unsigned{date.day});
    return text.data();
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
        throw UsageError(FormatDate(date) + " does not exist: months run from 1 to 12");
    }
    const int monthDays = CalendarDate::GregorianMonthDays(date.year, date.month);
    if (*day < 1 || *day > monthDays) {
        throw UsageError(FormatDate(date) + " does not exist: " + MonthNames[*month - 1] + " " +
                         std::to_string(*year) + " has " + std::to_string(monthDays) + " days");
    }
    if (!CalendarDate::IsSupportedDate(date.year, date.month, date.day)) {
        throw UsageError(FormatDate(date) +
                         " is outside the calendar's range: dates run from 1901-01-01 to "
                         "2050-12-31");
    }
    return date;
}

int ParsePeriod(std::string_view text) {
    // An earthly branch, alone or with 时.
    for (std::size_t period = 0; period < BirthPeriods.size(); ++period) {
        const std::string branch = Utf8(BirthPeriods[period].periodBranch);
        if (text == branch || text == branch + "时") return static_cast<int>(period);
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
    return PeriodForHour(static_cast<std::uint16_t>(*hour));
}

Request ParseArguments(const std::vector<std::string>& arguments) {
    CLI::App app{"", "chenggu"};
    bool json = false, calendar = false, version = false;
    std::vector<std::string> operands;
    app.set_help_flag("-h,--help");
    auto* jsonFlag = app.add_flag("--json", json);
    app.add_flag("--calendar", calendar)->excludes(jsonFlag);
    app.add_flag("--version", version);
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
            if (argument.size() > 1 && argument[0] == '-' && argument != "--json" &&
                argument != "--calendar" && argument != "--version") {
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
    if (calendar) {
        request.command = Command::Calendar;
        if (operands.empty()) throw UsageError("--calendar needs a date: --calendar FROM [TO]");
        if (operands.size() > 2) throw UsageError("too many dates: --calendar FROM [TO]");
        request.date = ParseDate(operands[0]);
        request.lastDate = operands.size() == 2 ? ParseDate(operands[1]) : request.date;
        if (request.lastDate < request.date) {
            throw UsageError("FROM " + FormatDate(request.date) + " is after TO " +
                             FormatDate(request.lastDate));
        }
        return request;
    }
    if (operands.empty()) {
        throw UsageError("a birth date is needed: chenggu DATE [PERIOD] (see chenggu --help)");
    }
    if (operands.size() > 2) {
        throw UsageError("too many arguments: chenggu DATE [PERIOD] takes a date and a period");
    }
    request.date = ParseDate(operands[0]);
    if (operands.size() == 2) request.period = ParsePeriod(operands[1]);
    return request;
}

std::string UsageText() {
    return R"(chenggu: the bone-weight reading (称骨算命) of a birth date and period

Usage:
  chenggu DATE [PERIOD]            one reading, or all twelve periods when PERIOD is left out
  chenggu --json DATE [PERIOD]     the same as JSON
  chenggu --calendar FROM [TO]     the lunar calendar for a range of dates, tab-separated
  chenggu --help | --version

DATE, FROM, TO   a Gregorian date YYYY-MM-DD from 1901-01-01 to 2050-12-31
PERIOD           an earthly branch 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥 (子时 also works),
                 or a clock time H:MM; 子 runs from 23:00 to 0:59

Examples:
  chenggu 1990-01-30 子
  chenggu 1990-01-30 23:30
  chenggu --json 1990-01-30
  chenggu --calendar 2020-05-20 2020-06-25

Errors go to standard error as one line starting "chenggu: ", with exit status 2.
)";
}
