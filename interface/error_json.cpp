#include "interface/error_json.h"

#include <algorithm>

#include "interface/json_writer.h"
#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// The start of a refused line, enough to find it by: at most 200 characters and about 400
// bytes once written as JSON (a control character takes six), with "…" where it was cut, so
// that a line of megabytes is never echoed whole.
std::string Excerpt(std::string_view line) {
    constexpr std::size_t MostCharacters = 200, MostJsonBytes = 400;
    std::size_t pos = 0, characters = 0, bytes = 0;
    while (pos < line.size() && characters < MostCharacters) {
        const auto c = static_cast<unsigned char>(line[pos]);
        const std::size_t sequence = Utf8SequenceLength(line, pos);
        const std::size_t length = std::max<std::size_t>(1, sequence);
        // A byte that is not UTF-8 is written as U+FFFD, three bytes.
        const std::size_t written = c < 0x20 ? 6 : c == '"' || c == '\\' ? 2 : sequence == 0 ? 3 : length;
        if (bytes + written > MostJsonBytes) break;
        bytes += written;
        pos += length;
        ++characters;
    }
    std::string excerpt = ValidUtf8(line.substr(0, pos));
    if (pos < line.size()) excerpt += "…";
    return excerpt;
}

}  // namespace

std::string ErrorJson(const Error& error, Language language) {
    return WrittenJson(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Member("error", ValidUtf8(error.Reason(language)));
        writer.Member("code", ErrorCodeName(error.code));
        writer.EndObject();
    });
}

std::string LineErrorJson(std::size_t line, std::string_view input, const Error& error,
                          Language language) {
    return WrittenJson(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Member("line", static_cast<std::int64_t>(line));
        writer.Member("input", Excerpt(input));
        writer.Member("error", ValidUtf8(error.Reason(language)));
        writer.Member("code", ErrorCodeName(error.code));
        writer.EndObject();
    });
}

CHENGGU_END_NAMESPACE
