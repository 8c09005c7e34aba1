#include "interface/error_json.h"

#include "interface/json_writer.h"
#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE

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
        writer.Member("input", ValidUtf8(input));
        writer.Member("error", ValidUtf8(error.Reason(language)));
        writer.Member("code", ErrorCodeName(error.code));
        writer.EndObject();
    });
}

CHENGGU_END_NAMESPACE
