#include "cli/arguments.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string_view>

#include "reading/messages.h"

namespace chenggu::cli {
namespace {

std::string Quoted(std::string_view text) { return '"' + Printable(text) + '"'; }

GregorianDate ParseAnyDate(std::string_view text, bool lunar) {
    return Accepted(ParseBirth(text, std::nullopt, lunar)).date;
}

}  // namespace

Birth ParseBirthOperands(const std::vector<std::string>& operands, bool lunar) {
    if (operands.empty()) {
        throw UsageError("a birth date is needed: chenggu DATE [PERIOD] (see chenggu --help)");
    }
    if (operands.size() > 2) {
        throw UsageError("too many arguments: DATE [PERIOD] takes a date and a period");
    }
    const std::optional<std::string_view> period =
        operands.size() == 2 ? std::optional<std::string_view>(operands[1]) : std::nullopt;
    return Accepted(ParseBirth(operands[0], period, lunar));
}

Arguments ParseArguments(const std::vector<std::string>& arguments) {
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
        Arguments help;
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

    Arguments request;
    if (version) {
        request.command = Command::Version;
        return request;
    }
    request.json = json;
    request.lunar = lunar;
    // Conventions are checked first, so that --batch refuses them before reading any input.
    const struct {
        Convention convention;
        const std::optional<std::string>& value;
        const char* option;
    } conventions[] = {{Convention::LateZi, lateZi, "--late-zi"},
                       {Convention::YearStart, yearStart, "--year-start"},
                       {Convention::LeapMonth, leapMonth, "--leap-month"}};
    for (const auto& c : conventions) {
        if (c.value) {
            request.options =
                Accepted(SetConvention(request.options, c.convention, *c.value, c.option));
        }
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
    request.birth = ParseBirthOperands(operands, lunar);
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

}  // namespace chenggu::cli
