// The chenggu command: arguments (and, for --batch, lines of standard input) in, text out.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace chenggu::cli {

// Exit statuses.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitOutputFailed = 1;
inline constexpr int ExitUsage = 2;

// Runs the command on the arguments that follow the program name, writing UTF-8 output to
// out and a one-line "chenggu: " message to err; --batch reads its requests from in. The
// locale (as LC_ALL, LC_MESSAGES or LANG name it) chooses the language of help and messages
// and the characters of the readings (see VoiceOfLocale).
// Returns the exit status: 0; 2 for input it refuses (with nothing written to out), or for
// a --batch run with a bad line (reported in out, the run going on); 1 when the output
// cannot be written, with a message unless the reader has simply gone away (a closed pipe).
int RunChenggu(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
               std::ostream& err, std::string_view locale);

}  // namespace chenggu::cli
