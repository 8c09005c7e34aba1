// The command line of chenggu: what the user asked for, or why it cannot be done, and the
// language and characters it answers in.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chenggu/birth.h"
#include "chenggu/error.h"
#include "chenggu/script.h"

namespace chenggu::cli {

// The language of the tool's help and messages, and the characters of its readings.
struct Voice {
    Language language = Language::Chinese;
    Script script = Script::Simplified;
};
// The voice of a locale name as LC_ALL, LC_MESSAGES or LANG give it (or Windows, as zh-TW):
// English messages for en*, Traditional characters for zh_TW, zh_HK, zh_MO and zh-Hant, and
// Simplified Chinese otherwise.
Voice VoiceOfLocale(std::string_view locale);

// Input the tool refuses, with its reason in every language the tool speaks.
class UsageError : public std::exception {
  public:
    explicit UsageError(Error error) : error_(std::move(error)) {}
    const Error& error() const { return error_; }
    const char* what() const noexcept override { return error_.reason.c_str(); }

  private:
    Error error_;
};

// The value of a result, or a UsageError with its reason.
template <class T>
T Accepted(Result<T> result) {
    if (!result) throw UsageError(result.error());
    return std::move(result).value();
}

enum class Command { Reading, Batch, Calendar, Places, Terms, Birthdays, Help, Version };

struct Arguments {
    Command command = Command::Reading;
    bool json = false;
    bool lunar = false;  // DATE, FROM and TO are lunar dates
    Options options;
    std::optional<Script> script;          // --script, over the locale's
    Birth birth;                           // of a reading; without a period, all twelve
    std::optional<Birthplace> birthplace;  // --place, --longitude, --zone (for every batch line)
    GregorianDate firstDate, lastDate;     // of the calendar
    std::string placesQuery;               // of --places
    int termsYear = 0;                     // of --terms
    std::string birthdaysDate;             // of --birthdays, lunar with --lunar
    std::optional<int> fromYear, toYear;   // its lunar years (--from, --to)
};

// The value of a sound --script option (--script traditional, --script=simplified), if the
// arguments hold one; the last one counts.
std::optional<Script> ScriptOption(const std::vector<std::string>& arguments);
// Parses the arguments that follow the program name. Throws UsageError.
Arguments ParseArguments(const std::vector<std::string>& arguments);
// DATE [PERIOD [PLACE | LONGITUDE [ZONE]]], on the command line or on a line of --batch
// input; birthplace is the options' place, for operands that name none. Throws UsageError.
Birth ParseBirthOperands(const std::vector<std::string>& operands, bool lunar,
                         const std::optional<Birthplace>& birthplace = std::nullopt);

// The text of --help, in the language and characters of the voice.
std::string UsageText(const Voice& voice);

}  // namespace chenggu::cli
