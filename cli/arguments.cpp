#include "cli/arguments.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string_view>

#include "chenggu/places.h"
#include "cli/say.h"
#include "text/messages.h"

namespace chenggu::cli {
namespace {

// The options that take a value, with the values they accept.
struct ValueOption {
    std::string_view name;
    std::string_view accepted;
};
constexpr std::array<ValueOption, 14> ValueOptions{{{"--late-zi", "same-day | next-day"},
                                                    {"--year-start", "new-year | spring"},
                                                    {"--leap-month", "whole | split"},
                                                    {"--calendar-rule", "printed | computed"},
                                                    {"--solar-time", "true | mean | clock"},
                                                    {"--script", "simplified | traditional"},
                                                    {"--place", "NAME"},
                                                    {"--longitude", "DEG"},
                                                    {"--zone", "ZONE"},
                                                    {"--places", "QUERY"},
                                                    {"--terms", "YEAR"},
                                                    {"--birthdays", "DATE"},
                                                    {"--from", "YEAR"},
                                                    {"--to", "YEAR"}}};
constexpr std::array<std::string_view, 8> Flags{"--json",    "--calendar", "--batch", "--lunar",
                                                "--version", "-V",         "--help",  "-h"};

std::string Quoted(std::string_view text) { return '"' + Printable(text) + '"'; }
std::string QuotedZh(std::string_view text) { return "“" + Printable(text) + "”"; }

[[noreturn]] void Refuse(std::string english, const std::function<std::string(Script)>& chinese) {
    throw UsageError(refusal::BadRequest(std::move(english), chinese));
}

const ValueOption* ValueOptionNamed(std::string_view name) {
    for (const ValueOption& option : ValueOptions) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

// What the argument library would otherwise say in its own words: an unknown option, or an
// option without its value.
void CheckOptions(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        // Not an option: a word, or a negative number (-1:00 is read, and refused, as a time).
        if (argument.size() < 2 || argument[0] != '-' ||
            (argument[1] >= '0' && argument[1] <= '9')) {
            continue;
        }
        const std::string_view name = argument.substr(0, argument.find('='));
        if (const ValueOption* option = ValueOptionNamed(name)) {
            if (name.size() == argument.size() && i + 1 == arguments.size()) {
                const std::string shown(option->name), accepted(option->accepted);
                Refuse(shown + " needs a value: " + accepted,
                       [&](Script s) { return shown + Say(s, " 后要写一个值：") + accepted; });
            }
            if (name.size() == argument.size()) ++i;  // its value
            continue;
        }
        if (std::find(Flags.begin(), Flags.end(), argument) != Flags.end()) continue;
        Refuse("unknown option " + Quoted(argument) + " (see chenggu --help)", [&](Script s) {
            return Say(s, "无法识别的选项") + QuotedZh(argument) + Say(s, "（见 chenggu --help）");
        });
    }
}

// A Gregorian year, 1645 to 2100, in digits.
int ParseYear(std::string_view text) {
    const std::string folded = NormalizedInput(text);
    int year = 0;
    const auto [end, error] = std::from_chars(folded.data(), folded.data() + folded.size(), year);
    if (error != std::errc{} || end != folded.data() + folded.size() || year < FirstDate.year ||
        year > LastDate.year) {
        const std::string shown = Quoted(text), shownZh = QuotedZh(text);
        Refuse("--terms needs a year from 1645 to 2100, not " + shown, [&](Script s) {
            return Say(s, "--terms 后要写 1645 至 2100 之间的年份，而不是") + shownZh;
        });
    }
    return year;
}

// A lunar year of --from or --to, 1645 to 2100, in digits.
int ParseLunarYear(std::string_view option, std::string_view text) {
    const std::string folded = NormalizedInput(text);
    int year = 0;
    const auto [end, error] = std::from_chars(folded.data(), folded.data() + folded.size(), year);
    if (error != std::errc{} || end != folded.data() + folded.size() || year < FirstLunarDate.year || year > LastDate.year) {
        const std::string name(option), shown = Quoted(text), shownZh = QuotedZh(text);
        Refuse(name + " needs a lunar year from 1645 to 2100, not " + shown, [&](Script s) {
            return name + Say(s, " 后要写 1645 至 2100 之间的农历年份，而不是") + shownZh;
        });
    }
    return year;
}

GregorianDate ParseAnyDate(std::string_view text, bool lunar) {
    return Accepted(ParseBirth(text, std::nullopt, lunar)).date;
}

}  // namespace

Voice VoiceOfLocale(std::string_view locale) {
    Voice voice;
    const auto starts = [&](std::string_view prefix) {
        return locale.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), locale.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    };
    if (starts("en")) voice.language = Language::English;
    for (const std::string_view traditional :
         {"zh_TW", "zh-TW", "zh_HK", "zh-HK", "zh_MO", "zh-MO", "zh_Hant", "zh-Hant"}) {
        if (starts(traditional)) {
            voice.script = Script::Traditional;
            voice.language = Language::TraditionalChinese;
        }
    }
    return voice;
}

// The birthplace of the operands after DATE PERIOD: a longitude and optionally a zone
// (-74.0 America/New_York), or a place's name, which may hold blanks (New York), optionally
// followed by a zone.
// A longitude has digits, ASCII or full-width; a place's name has none.
bool HasDigits(std::string_view text) {
    constexpr std::array<std::string_view, 10> FullWidthDigits{"０", "１", "２", "３", "４",
                                                               "５", "６", "７", "８", "９"};
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
           std::any_of(FullWidthDigits.begin(), FullWidthDigits.end(), [&](std::string_view digit) {
               return text.find(digit) != std::string_view::npos;
           });
}

Birthplace ParsePlaceOperands(std::vector<std::string> operands) {
    if (HasDigits(operands[0])) {
        const double longitude = Accepted(ParseLongitude(operands[0]));
        if (operands.size() > 2) {
            Refuse("too many arguments: a longitude takes at most a zone after it",
                   [](Script s) { return Say(s, "参数太多：经度后面最多再写一个时区"); });
        }
        const std::optional<std::string_view> zone =
            operands.size() == 2 ? std::optional<std::string_view>(operands[1]) : std::nullopt;
        return Accepted(BirthplaceOf(std::nullopt, longitude, zone));
    }
    std::optional<std::string> zone;
    if (operands.size() > 1 && ParseZone(operands.back())) {
        zone = operands.back();
        operands.pop_back();
    }
    std::string place;
    for (const std::string& word : operands) place += (place.empty() ? "" : " ") + word;
    return Accepted(BirthplaceOf(place, std::nullopt, zone));
}

Birth ParseBirthOperands(const std::vector<std::string>& operands, bool lunar,
                         const std::optional<Birthplace>& birthplace) {
    if (operands.empty()) {
        Refuse("a birth date is needed: chenggu DATE [PERIOD] (see chenggu --help)", [](Script s) {
            return Say(s, "需要出生日期：chenggu 日期 [时辰]（见 chenggu --help）");
        });
    }
    const std::optional<std::string_view> period =
        operands.size() >= 2 ? std::optional<std::string_view>(operands[1]) : std::nullopt;
    Birth birth = Accepted(ParseBirth(operands[0], period, lunar));
    if (operands.size() > 2) {
        if (!birth.clock) throw UsageError(refusal::BirthplaceWithoutClockTime());
        birth.birthplace =
            ParsePlaceOperands(std::vector<std::string>(operands.begin() + 2, operands.end()));
    } else {
        birth.birthplace = birthplace;
    }
    return birth;
}

std::optional<Script> ScriptOption(const std::vector<std::string>& arguments) {
    std::optional<Script> script;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view value;
        if (arguments[i] == "--script" && i + 1 < arguments.size()) {
            value = arguments[++i];
        } else if (arguments[i].starts_with("--script=")) {
            value = std::string_view(arguments[i]).substr(9);
        } else {
            continue;
        }
        if (const std::optional<Script> named = ParseScript(value)) script = named;
    }
    return script;
}

Arguments ParseArguments(const std::vector<std::string>& arguments) {
    CheckOptions(arguments);
    CLI::App app{"", "chenggu"};
    bool json = false, calendar = false, batch = false, lunar = false, version = false;
    std::optional<std::string> lateZi, yearStart, leapMonth, calendarRule, solarTime, script;
    std::optional<std::string> place, longitude, zone, places, terms, birthdays, from, to;
    std::vector<std::string> operands;
    app.set_help_flag("-h,--help");
    app.add_flag("--json", json);
    app.add_flag("--calendar", calendar);
    app.add_flag("--batch", batch);
    app.add_flag("--lunar", lunar);
    app.add_flag("-V,--version", version);
    app.add_option("--late-zi", lateZi);
    app.add_option("--year-start", yearStart);
    app.add_option("--leap-month", leapMonth);
    app.add_option("--calendar-rule", calendarRule);
    app.add_option("--script", script);
    app.add_option("--solar-time", solarTime);
    app.add_option("--place", place);
    app.add_option("--longitude", longitude);
    app.add_option("--zone", zone);
    app.add_option("--places", places);
    app.add_option("--terms", terms);
    app.add_option("--birthdays", birthdays);
    app.add_option("--from", from);
    app.add_option("--to", to);
    app.add_option("operands", operands);

    std::vector<const char*> argv{"chenggu"};
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::CallForHelp&) {
        Arguments help;
        help.command = Command::Help;
        return help;
    } catch (const CLI::ParseError&) {  // what CheckOptions lets through: say it in our words
        Refuse("the arguments cannot be read (see chenggu --help)",
               [](Script s) { return Say(s, "无法读取这些参数（见 chenggu --help）"); });
    }

    Arguments request;
    if (version) {
        request.command = Command::Version;
        return request;
    }
    const auto refuseTogether = [](std::string_view a, std::string_view b) {
        const std::string first(a), second(b);
        Refuse(first + " cannot be used with " + second + " (see chenggu --help)", [&](Script s) {
            return first + Say(s, " 不能与 ") + second + Say(s, " 同用（见 chenggu --help）");
        });
    };
    if (calendar && json) refuseTogether("--json", "--calendar");
    if (calendar && batch) refuseTogether("--batch", "--calendar");

    request.json = json;
    request.lunar = lunar;
    if (script) {
        const std::optional<Script> parsed = ParseScript(*script);
        if (!parsed) {
            const std::string value = *script;
            Refuse(
                "unknown value " + Quoted(value) + " for --script: use simplified or traditional",
                [&](Script s) {
                    return Say(s, "--script 的值") + QuotedZh(value) +
                           Say(s, "无法识别：可用 simplified 或 traditional");
                });
        }
        request.script = parsed;
    }
    // Conventions are checked first, so that --batch refuses them before reading any input.
    const struct {
        Convention convention;
        const std::optional<std::string>& value;
        const char* option;
    } conventions[] = {{Convention::LateZi, lateZi, "--late-zi"},
                       {Convention::YearStart, yearStart, "--year-start"},
                       {Convention::LeapMonth, leapMonth, "--leap-month"},
                       {Convention::CalendarRule, calendarRule, "--calendar-rule"},
                       {Convention::SolarTime, solarTime, "--solar-time"}};
    for (const auto& c : conventions) {
        if (c.value) {
            request.options =
                Accepted(SetConvention(request.options, c.convention, *c.value, c.option));
        }
    }
    if (terms) {
        request.command = Command::Terms;
        request.termsYear = ParseYear(*terms);
        return request;
    }
    if (birthdays) {
        request.command = Command::Birthdays;
        request.birthdaysDate = *birthdays;
        if (from) request.fromYear = ParseLunarYear("--from", *from);
        if (to) request.toYear = ParseLunarYear("--to", *to);
        return request;
    }
    if (from || to) {
        Refuse("--from and --to go with --birthdays (see chenggu --help)",
               [](Script s) { return Say(s, "--from 和 --to 只用于 --birthdays（见 chenggu --help）"); });
    }
    if (places) {
        request.command = Command::Places;
        request.placesQuery = *places;
        return request;
    }
    if (place || longitude || zone) {
        std::optional<double> degrees;
        if (longitude) degrees = Accepted(ParseLongitude(*longitude));
        request.birthplace = Accepted(BirthplaceOf(place, degrees, zone));
    }
    if (calendar) {
        request.command = Command::Calendar;
        if (operands.empty()) {
            Refuse("--calendar needs a date: --calendar FROM [TO]", [](Script s) {
                return Say(s, "--calendar 需要日期：--calendar 起始日 [结束日]");
            });
        }
        if (operands.size() > 2) {
            Refuse("too many dates: --calendar FROM [TO]",
                   [](Script s) { return Say(s, "日期太多：--calendar 起始日 [结束日]"); });
        }
        request.firstDate = ParseAnyDate(operands[0], lunar);
        request.lastDate =
            operands.size() == 2 ? ParseAnyDate(operands[1], lunar) : request.firstDate;
        return request;
    }
    if (batch) {
        request.command = Command::Batch;
        if (!operands.empty()) {
            Refuse(
                "--batch reads its requests from standard input, one DATE [PERIOD] a line: give "
                "no date after it",
                [](Script s) {
                    return Say(s, "--batch 从标准输入逐行读取“日期 [时辰]”，后面不要再写日期");
                });
        }
        return request;
    }
    request.birth = ParseBirthOperands(operands, lunar, request.birthplace);
    return request;
}

}  // namespace chenggu::cli
