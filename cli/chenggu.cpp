#include "cli/chenggu.h"

#include <array>
#include <cerrno>

#include "calendar/calendar_date.h"
#include "cli/arguments.h"
#include "cli/calendar_export.h"
#include "cli/reading_json.h"
#include "cli/reading_text.h"

#ifndef CHENGGU_VERSION
#define CHENGGU_VERSION "unknown"
#endif

namespace {

LunarDate LunarDateOf(const GregorianDate& date) {
    return CalendarDate::LunarDateAt(
        CalendarDate::DayDifference(date.year, date.month, date.day, 1901, 1, 1));
}

std::string Output(const Request& request) {
    switch (request.command) {
        case Command::Help:
            return UsageText();
        case Command::Version:
            return std::string("chenggu ") + CHENGGU_VERSION + "\n";
        case Command::Calendar:
            return CalendarExport(request.date, request.lastDate);
        case Command::Reading:
            break;
    }
    const GregorianDate& date = request.date;
    const LunarDate lunar = LunarDateOf(date);
    if (request.period) {
        const Reading reading = MakeReading(date.year, date.month, date.day, *request.period);
        return request.json ? ReadingJson(date, lunar, *request.period, reading)
                            : ReadingText(date, lunar, *request.period, reading);
    }
    std::array<Reading, 12> readings;
    for (std::size_t period = 0; period < readings.size(); ++period) {
        readings[period] = MakeReading(date.year, date.month, date.day, static_cast<int>(period));
    }
    return request.json ? ReadingsJson(date, lunar, readings)
                        : PeriodTableText(date, lunar, readings);
}

}  // namespace

int RunChenggu(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::string text;
    try {
        text = Output(ParseArguments(arguments));
    } catch (const UsageError& e) {
        err << "chenggu: " << e.what() << '\n';
        return ExitUsage;
    }
    errno = 0;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
        // A reader that went away (head -1) is no news: EPIPE, or EINVAL from the Windows
        // runtime, which reports a closed pipe that way.
        if (errno != EPIPE && errno != EINVAL) err << "chenggu: cannot write the output\n";
        return ExitOutputFailed;
    }
    return ExitSuccess;
}
