// The command line of chenggu: what the user asked for, or why it cannot be done.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_date.h"
#include "cli/birth_query.h"
#include "reading/birth_reading.h"
#include "reading/reading_options.h"

// Input the tool refuses; what() is one line saying what is wrong and what is accepted.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class Command { Reading, Batch, Calendar, Help, Version };

struct Request {
    Command command = Command::Reading;
    bool json = false;
    bool lunar = false;  // DATE, FROM and TO are lunar dates
    ReadingOptions options;
    BirthQuery birth;
    GregorianDate firstDate, lastDate;  // of the calendar
};

// Parses the arguments that follow the program name. Throws UsageError.
Request ParseArguments(const std::vector<std::string>& arguments);
// DATE [PERIOD], on the command line or on a line of --batch input. Throws UsageError.
BirthQuery ParseBirthQuery(std::span<const std::string> operands, bool lunar);

// YYYY-MM-DD (month and day may have one digit) from 1901-01-01 to 2050-12-31.
GregorianDate ParseDate(std::string_view text);
// A lunar date YYYY-MM-DD, the month of a leap month written 闰M or LM, inside the range.
LunarDate ParseLunarDate(std::string_view text);

struct PeriodInput {
    int period = 0;
    ZiHalf ziHalf = ZiHalf::Unsaid;
    friend bool operator==(const PeriodInput&, const PeriodInput&) = default;
};
// An earthly branch (子 … 亥, optionally followed by 时), 早子 or 晚子 (optionally with 时),
// or a clock time H:MM or HH:MM (23:MM is 晚子, 0:MM 早子).
PeriodInput ParsePeriod(std::string_view text);

// User input for a one-line message: control characters, quotes and bytes that are not
// UTF-8 as \xNN escapes, cut short after longestShown characters.
std::string Printable(std::string_view text, std::size_t longestShown);

// The text of --help.
std::string UsageText();
