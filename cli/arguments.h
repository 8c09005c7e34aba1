// The command line of chenggu: what the user asked for, or why it cannot be done.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "chenggu/birth.h"
#include "chenggu/error.h"

namespace chenggu::cli {

// Input the tool refuses; what() is one line saying what is wrong and what is accepted.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The value of a result, or a UsageError with its reason.
template <class T>
T Accepted(Result<T> result) {
    if (!result) throw UsageError(result.error().reason);
    return std::move(result).value();
}

enum class Command { Reading, Batch, Calendar, Help, Version };

struct Arguments {
    Command command = Command::Reading;
    bool json = false;
    bool lunar = false;  // DATE, FROM and TO are lunar dates
    Options options;
    Birth birth;                        // of a reading; without a period, all twelve
    GregorianDate firstDate, lastDate;  // of the calendar
};

// Parses the arguments that follow the program name. Throws UsageError.
Arguments ParseArguments(const std::vector<std::string>& arguments);
// DATE [PERIOD], on the command line or on a line of --batch input. Throws UsageError.
Birth ParseBirthOperands(const std::vector<std::string>& operands, bool lunar);

// The text of --help.
std::string UsageText();

}  // namespace chenggu::cli
