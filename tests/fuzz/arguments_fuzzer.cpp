// Fuzzes chenggu's argument handling with arbitrary argument vectors (the input split at
// NUL bytes). Whatever comes in, the command answers 0 with output and no message, or 2
// with one "chenggu: " line and no output.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/chenggu.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    if (size == 0) arguments.clear();

    std::istringstream in;
    std::ostringstream out, err;
    const int status = RunChenggu(arguments, in, out, err);
    if (status == ExitSuccess) {
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
