#include "interface/preview_json.h"

#include <array>

#include "chenggu/chinese_text.h"
#include "interface/error_json.h"
#include "interface/json_reader.h"
#include "interface/json_writer.h"
#include "interface/reading_markup.h"
#include "text/messages.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::array<std::string_view, 5> PreviewMembers{"totalWeight", "script", "pageUrl",
                                                        "imageUrl", "language"};
constexpr std::int64_t LightestTotal = 21, HeaviestTotal = 72;

}  // namespace

std::string PreviewJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, PreviewMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Language language = LanguageOf(*members);
    const Script script = ScriptOf(*members);
    std::optional<std::int32_t> total;
    std::string_view pageUrl, imageUrl;
    for (const JsonMember& member : *members) {
        std::optional<Error> error;
        if (member.name == "totalWeight") {
            const JsonNumber* number = std::get_if<JsonNumber>(&member.value);
            if (number != nullptr && number->whole && *number->whole >= LightestTotal &&
                *number->whole <= HeaviestTotal) {
                total = static_cast<std::int32_t>(*number->whole);
            } else {
                error = WrongKind(member.name, "a whole number of qian from 21 to 72",
                                  "21 至 72 的整数（钱）");
            }
        } else if (member.name == "pageUrl" || member.name == "imageUrl") {
            const std::string* text = TextOf(member.value);
            if (text == nullptr) error = WrongKind(member.name, "a string", "字符串");
            else (member.name == "pageUrl" ? pageUrl : imageUrl) = *text;
        } else if (member.name == "script") {
            error = CheckScript(member);
        } else if (member.name == "language") {
            if (const Result<Language> read = ReadLanguage(member); !read) error = read.error();
        } else {
            error = UnknownMember(member.name, PreviewMembers);
        }
        if (error) return ErrorJson(*error, language);
    }
    if (!total) {
        return ErrorJson(refusal::BadRequest("a request needs a total: {\"totalWeight\": 42}",
                                             [](Script s) {
                                                 return T(s, "请求需要总骨重：{\"totalWeight\": 42}");
                                             }),
                         language);
    }
    const std::array<std::string_view, 2> lines = VerseLines(*total, script);
    return WrittenJson(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Member("totalWeight", *total);
        writer.Member("weightText", WeightText(*total, script));
        writer.Member("name", T(script, "称骨算命"));
        writer.Member("totalText", T(script, "总骨重 ") + std::to_string(*total) + T(script, " 钱"));
        writer.Member("title", T(script, "称骨算命") + T(script, "：") + WeightText(*total, script));
        writer.Member("description", std::string(lines[0]) + std::string(lines[1]));
        writer.Key("verseLines");
        writer.StartArray();
        for (const std::string_view line : lines) writer.String(line);
        writer.EndArray();
        writer.Member("picture", PreviewPicturePath(*total, script));
        writer.Member("head", PreviewHead(*total, script, pageUrl, imageUrl));
        writer.Member("headline", HeadlineMarkup(*total, script));
        writer.EndObject();
    });
}

CHENGGU_END_NAMESPACE
