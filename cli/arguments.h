// The command line of chenggu: what the user asked for, or why it cannot be done.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_date.h"

// Input the tool refuses; what() is one line saying what is wrong and what is accepted.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class Command { Reading, Calendar, Help, Version };

struct Request {
    Command command = Command::Reading;
    bool json = false;
    GregorianDate date;         // the birth date, or the first date of the calendar
    GregorianDate lastDate;     // the last date of the calendar
    std::optional<int> period;  // 0 (子) to 11 (亥); none = all twelve
};

// Parses the arguments that follow the program name. Throws UsageError.
Request ParseArguments(const std::vector<std::string>& arguments);

// YYYY-MM-DD (month and day may have one digit) from 1901-01-01 to 2050-12-31.
GregorianDate ParseDate(std::string_view text);
// An earthly branch (子 … 亥, optionally followed by 时) or a clock time H:MM or HH:MM.
int ParsePeriod(std::string_view text);

std::string FormatDate(const GregorianDate& date);

// The text of --help.
std::string UsageText();
