#include "cli/chenggu.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <string_view>

#include "chenggu/chinese_text.h"
#include "chenggu/json.h"
#include "chenggu/places.h"
#include "chenggu/version.h"
#include "cli/arguments.h"
#include "cli/calendar_export.h"
#include "cli/reading_text.h"
#include "cli/say.h"
#include "interface/birthdays_json.h"
#include "interface/calendar_json.h"
#include "interface/error_json.h"
#include "interface/places_json.h"
#include "text/messages.h"
#include "text/utf8.h"

namespace chenggu::cli {
namespace {

// The longest --batch line read; the rest of a longer line is skipped and the line refused.
constexpr std::size_t LongestBatchLine = 1024;

// The reading of a birth as text or JSON; all twelve periods when it has no period.
std::string ReadingOutput(const Birth& birth, const Options& options, bool json, int indent,
                          Script script) {
    if (json) return Accepted(AnswerJson({birth, options, script}, indent)) + "\n";
    if (birth.period) return ReadingText(Accepted(Read(birth, options)), script);
    return PeriodTableText(Accepted(ReadEveryPeriod(birth, options)), script);
}

// The places a query finds, a line each (name, longitude, zone), or as JSON.
std::string PlacesOutput(std::string_view query, bool json, const Voice& voice) {
    const std::vector<Place> places = SearchPlaces(query, 50);
    if (json) return PlacesJson(places, 2, voice.script) + "\n";
    if (places.empty()) {
        // The refusal of the name as a birthplace names the nearest places by spelling.
        const Result<Place> found = FindPlace(query);
        if (!found) throw UsageError(found.error());
        const std::string shown = Printable(query);
        throw UsageError(refusal::BadRequest(
            "no place matches " + std::string("\"") + shown + "\"",
            [&](Script s) { return Say(s, "地名表中没有与“") + shown + Say(s, "”相符的地方"); }));
    }
    std::string text;
    for (const Place& place : places) {
        text += PlaceNameIn(place.fullName, voice.script);
        if (!place.englishName.empty()) text += " (" + std::string(place.englishName) + ")";
        text += "  " + LongitudeText(place.longitude, voice.script);
        if (!place.longitudeOf.empty()) {
            text += Say(voice.script, "（按") + PlaceNameIn(place.longitudeOf, voice.script) +
                    Say(voice.script, "的经度）");
        }
        text += "  " + std::string(place.zone) + "\n";
    }
    return text;
}

// The 24 solar terms of a year in Beijing time, a line each, or as JSON.
std::string TermsOutput(int year, bool json, const Voice& voice) {
    const std::array<SolarTerm, 24> terms = Accepted(SolarTermsOf(year));
    if (json) return SolarTermsJson(year, terms, voice.script, 2) + "\n";
    std::string text =
        std::to_string(year) + Say(voice.script, " 年的二十四节气（北京时间）：") + "\n";
    for (const SolarTerm& term : terms) {
        const DateTime& t = term.beijing;
        text += std::string(InScript(term.name, voice.script)) + "  " +
                std::to_string(t.date.year) + Say(voice.script, "年") +
                std::to_string(t.date.month) + Say(voice.script, "月") +
                std::to_string(t.date.day) + Say(voice.script, "日 ") + IsoDateTime(t).substr(11) +
                "\n";
    }
    return text;
}

// The lunar birthdays of a birth as an iCalendar file (a phone's calendar takes it), or as
// JSON.
std::string BirthdaysOutput(const Arguments& request, const Voice& voice) {
    BirthdaysRequest asked{request.birthdaysDate, request.lunar, {}, {}, voice.script, {}};
    if (request.fromYear) asked.from = *request.fromYear;
    if (request.toYear) asked.to = *request.toYear;
    const BirthdaysAnswer answer = Accepted(AnswerBirthdays(asked, std::chrono::system_clock::now()));
    return request.json ? BirthdaysAnswerJson(answer) + "\n" : answer.ics;
}

std::string Output(const Arguments& request, const Voice& voice) {
    switch (request.command) {
        case Command::Help:
            return UsageText(voice);
        case Command::Version:
            return std::string("chenggu ") + CHENGGU_VERSION + "\n";
        case Command::Calendar:
            return Accepted(
                CalendarExport(request.firstDate, request.lastDate, request.options.calendarRule));
        case Command::Places:
            return PlacesOutput(request.placesQuery, request.json, voice);
        case Command::Terms:
            return TermsOutput(request.termsYear, request.json, voice);
        case Command::Birthdays:
            return BirthdaysOutput(request, voice);
        case Command::Reading:
        case Command::Batch:
            break;
    }
    return ReadingOutput(request.birth, request.options, request.json, 2, voice.script);
}

// Reads one line without its end into line, keeping at most LongestBatchLine bytes. Returns
// false at the end of the input; overlong tells whether bytes were dropped.
bool ReadLine(std::streambuf& in, std::string& line, bool& overlong) {
    line.clear();
    overlong = false;
    using Traits = std::streambuf::traits_type;
    Traits::int_type c = in.sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) return false;
    for (; !Traits::eq_int_type(c, Traits::eof()) && c != '\n'; c = in.sbumpc()) {
        if (line.size() < LongestBatchLine) {
            line += Traits::to_char_type(c);
        } else {
            overlong = true;
        }
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// The fields of a line, split at blanks (tabs and the ideographic space too, since the line is
// normalized first).
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (true) {
        pos = line.find_first_not_of(" \t", pos);
        if (pos == std::string_view::npos) return fields;
        const std::size_t end = std::min(line.find_first_of(" \t", pos), line.size());
        fields.emplace_back(line.substr(pos, end - pos));
        pos = end;
    }
}

// One JSON line per request line, in order, flushed whenever the input has nothing more
// ready, so that a reader at the other end of a pipe sees each answer without waiting.
int RunBatch(const Arguments& request, const Voice& voice, std::istream& in, std::ostream& out) {
    std::streambuf& input = *in.rdbuf();
    std::string line;
    bool overlong = false, anyBad = false;
    for (std::size_t number = 1; out && ReadLine(input, line, overlong); ++number) {
        // Fields split after normalizing: an ideographic space separates too, and a
        // byte-order mark (Notepad's) before the first line is no part of it.
        const std::vector<std::string> fields = Fields(NormalizedInput(line));
        if (fields.empty() || fields[0].starts_with('#')) continue;
        std::string answer;
        try {
            if (overlong) {
                const std::string longest = std::to_string(LongestBatchLine);
                throw UsageError(refusal::BadRequest(
                    "the line is longer than " + longest + " bytes",
                    [&](Script s) { return Say(s, "这一行超过了 ") + longest + Say(s, " 字节"); }));
            }
            if (ValidUtf8(line) != line) {
                throw UsageError(refusal::BadRequest(
                    "the line is not UTF-8 text: save the requests as UTF-8",
                    [](Script s) { return Say(s, "这一行不是 UTF-8 文本：请把输入存为 UTF-8"); }));
            }
            answer = ReadingOutput(ParseBirthOperands(fields, request.lunar, request.birthplace),
                                   request.options, true, -1, voice.script);
        } catch (const UsageError& e) {
            answer = LineErrorJson(number, line, e.error(), voice.language) + "\n";
            anyBad = true;
        }
        out.write(answer.data(), static_cast<std::streamsize>(answer.size()));
        if (input.in_avail() <= 0) out.flush();
    }
    return anyBad ? ExitUsage : ExitSuccess;
}

}  // namespace

int RunChenggu(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
               std::ostream& err, std::string_view locale) {
    Voice voice = VoiceOfLocale(locale);
    // --script chooses the characters of the messages, those about the arguments included.
    if (const std::optional<Script> script = ScriptOption(arguments)) voice.script = *script;
    if (voice.language != Language::English) {
        voice.language =
            voice.script == Script::Traditional ? Language::TraditionalChinese : Language::Chinese;
    }
    std::string text;
    Arguments request;
    try {
        request = ParseArguments(arguments);
        if (request.command != Command::Batch) text = Output(request, voice);
    } catch (const UsageError& e) {
        err << "chenggu: " << e.error().Reason(voice.language) << '\n';
        return ExitUsage;
    }
    errno = 0;
    int status = ExitSuccess;
    if (request.command == Command::Batch) {
        status = RunBatch(request, voice, in, out);
    } else {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    out.flush();
    if (!out) {
        // A reader that went away (head -1) is no news: EPIPE, or EINVAL from the Windows
        // runtime, which reports a closed pipe that way.
        if (errno != EPIPE && errno != EINVAL) {
            err << "chenggu: "
                << (voice.language == Language::English ? "cannot write the output"
                                                        : Say(voice.script, "无法写出结果"))
                << '\n';
        }
        return ExitOutputFailed;
    }
    return status;
}

}  // namespace chenggu::cli
