#include "cli/chenggu.h"

#include <array>
#include <cerrno>
#include <string_view>

#include "cli/arguments.h"
#include "cli/calendar_export.h"
#include "cli/reading_json.h"
#include "cli/reading_text.h"

#ifndef CHENGGU_VERSION
#define CHENGGU_VERSION "unknown"
#endif

namespace {

// The longest --batch line read; the rest of a longer line is skipped and the line refused.
constexpr std::size_t LongestBatchLine = 1024;

BirthReading Read(const BirthQuery& query, int period, ReadingOptions options) {
    const ZiHalf half = period == 0 ? query.ziHalf : ZiHalf::Unsaid;
    BirthReading reading = ReadBirth({query.date, period, half}, options);
    if (!reading.ok()) {
        // The one birth inside the range that cannot be read.
        throw UsageError("a 晚子 birth on " + IsoDate(query.date) +
                         " is read on the next day under --late-zi next-day, which lies after "
                         "2050-12-31, the end of the calendar's range");
    }
    return reading;
}

// The reading of a birth as text or JSON; all twelve periods when none is given.
std::string ReadingOutput(const BirthQuery& query, ReadingOptions options, bool json, int indent) {
    if (query.period) {
        const BirthReading reading = Read(query, *query.period, options);
        return json ? ReadingJson(query, reading, indent) + "\n" : ReadingText(query, reading);
    }
    std::array<BirthReading, 12> readings;
    for (std::size_t period = 0; period < readings.size(); ++period) {
        readings[period] = Read(query, static_cast<int>(period), options);
    }
    return json ? ReadingsJson(query, readings, indent) + "\n" : PeriodTableText(query, readings);
}

std::string Output(const Request& request) {
    switch (request.command) {
        case Command::Help:
            return UsageText();
        case Command::Version:
            return std::string("chenggu ") + CHENGGU_VERSION + "\n";
        case Command::Calendar:
            return CalendarExport(request.firstDate, request.lastDate);
        case Command::Reading:
        case Command::Batch:
            break;
    }
    return ReadingOutput(request.birth, request.options, request.json, 2);
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
int RunBatch(const Request& request, std::istream& in, std::ostream& out) {
    std::streambuf& input = *in.rdbuf();
    std::string line;
    bool overlong = false, anyBad = false;
    for (std::size_t number = 1; out && ReadLine(input, line, overlong); ++number) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.empty() || fields[0].starts_with('#')) continue;
        std::string answer;
        try {
            if (overlong) {
                throw UsageError("the line is longer than " + std::to_string(LongestBatchLine) +
                                 " bytes");
            }
            answer =
                ReadingOutput(ParseBirthQuery(fields, request.lunar), request.options, true, -1);
        } catch (const UsageError& e) {
            answer = BatchErrorJson(number, line, e.what()) + "\n";
            anyBad = true;
        }
        out.write(answer.data(), static_cast<std::streamsize>(answer.size()));
        if (input.in_avail() <= 0) out.flush();
    }
    return anyBad ? ExitUsage : ExitSuccess;
}

}  // namespace

int RunChenggu(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
               std::ostream& err) {
    std::string text;
    Request request;
    try {
        request = ParseArguments(arguments);
        if (request.command != Command::Batch) text = Output(request);
    } catch (const UsageError& e) {
        err << "chenggu: " << e.what() << '\n';
        return ExitUsage;
    }
    errno = 0;
    int status = ExitSuccess;
    if (request.command == Command::Batch) {
        status = RunBatch(request, in, out);
    } else {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    out.flush();
    if (!out) {
        // A reader that went away (head -1) is no news: EPIPE, or EINVAL from the Windows
        // runtime, which reports a closed pipe that way.
        if (errno != EPIPE && errno != EINVAL) err << "chenggu: cannot write the output\n";
        return ExitOutputFailed;
    }
    return status;
}
