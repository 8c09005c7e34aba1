#include "cli/chenggu.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

#include "calendar/utf8.h"
#include "chenggu/json.h"
#include "chenggu/version.h"
#include "cli/arguments.h"
#include "cli/calendar_export.h"
#include "cli/reading_text.h"

namespace chenggu::cli {
namespace {

// The longest --batch line read; the rest of a longer line is skipped and the line refused.
constexpr std::size_t LongestBatchLine = 1024;

// The reading of a birth as text or JSON; all twelve periods when it has no period.
std::string ReadingOutput(const Birth& birth, const Options& options, bool json, int indent) {
    if (json) return Accepted(AnswerJson({birth, options}, indent)) + "\n";
    if (birth.period) return ReadingText(Accepted(Read(birth, options)));
    return PeriodTableText(Accepted(ReadEveryPeriod(birth, options)));
}

std::string Output(const Arguments& request) {
    switch (request.command) {
        case Command::Help:
            return UsageText();
        case Command::Version:
            return std::string("chenggu ") + CHENGGU_VERSION + "\n";
        case Command::Calendar:
            return Accepted(CalendarExport(request.firstDate, request.lastDate));
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
int RunBatch(const Arguments& request, std::istream& in, std::ostream& out) {
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
            if (ValidUtf8(line) != line) {
                throw UsageError("the line is not UTF-8 text: save the requests as UTF-8");
            }
            answer =
                ReadingOutput(ParseBirthOperands(fields, request.lunar), request.options, true, -1);
        } catch (const UsageError& e) {
            answer = LineErrorJson(number, line, e.what()) + "\n";
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
    Arguments request;
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

}  // namespace chenggu::cli
