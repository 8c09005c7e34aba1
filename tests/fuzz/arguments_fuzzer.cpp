// Fuzzes chenggu's argument handling with arbitrary argument vectors (the input split at
// NUL bytes; what follows the first 0x01 byte is standard input, read by --batch). Whatever
// comes in, the command answers 0 with output and no message, or 2 with one "chenggu: "
// line and no output; a --batch run answers every request line with one JSON line.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/chenggu.h"

namespace {

using namespace chenggu::cli;

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* end = std::find(data, data + size, std::uint8_t{1});
    const std::string input(end == data + size ? end : end + 1, data + size);
    std::vector<std::string> arguments(1);
    for (const auto* p = data; p != end; ++p) {
        if (*p == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(*p);
        }
    }
    if (end == data) arguments.clear();

    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunChenggu(arguments, in, out, err, "");
    bool batch = false;
    try {
        batch = ParseArguments(arguments).command == Command::Batch;
    } catch (const UsageError&) {
    }
    if (batch) {
        Check(err.str().empty());
        Check(status == ExitSuccess || status == ExitUsage);
        std::istringstream lines(out.str());
        bool anyError = false;
        for (std::string line; std::getline(lines, line);) {
            Check(!line.empty() && (line[0] == '{' || line[0] == '['));
            anyError = anyError || line.rfind("{\"line\":", 0) == 0;
        }
        Check(anyError == (status == ExitUsage));
    } else if (status == ExitSuccess) {
        Check(!out.str().empty());
        Check(err.str().empty());
    } else {
        Check(status == ExitUsage);
        Check(out.str().empty());
        const std::string message = err.str();
        Check(message.rfind("chenggu: ", 0) == 0);
        Check(message.find('\n') == message.size() - 1);
    }
    return 0;
}
