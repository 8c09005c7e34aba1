// Places as JSON, and the search of places as a request.
#include "interface/places_json.h"

#include <algorithm>
#include <array>

#include "chenggu/json.h"
#include "interface/error_json.h"
#include "interface/json_reader.h"
#include "interface/json_writer.h"
#include "text/messages.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

std::size_t Characters(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The first count characters of UTF-8 text.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    while (at < text.size() && (count > 0 || (text[at] & 0xC0) == 0x80)) {
        if ((text[at] & 0xC0) != 0x80) {
            if (count == 0) break;
            --count;
        }
        ++at;
    }
    return text.substr(0, at);
}

void WritePlaces(JsonWriter& writer, const std::vector<Place>& places, Script script) {
    writer.StartArray();
    for (const Place& place : places) {
        writer.StartObject();
        // In Traditional characters: the full name from the table; the region and the name as
        // its first and last characters, as many as theirs (the conversion keeps the count).
        const std::string fullName = PlaceNameIn(place.fullName, script);
        std::string_view name = place.name, region = place.region;
        if (script == Script::Traditional) {
            const std::string_view simplified = place.fullName;
            if (simplified.starts_with(region)) region = FirstCharacters(fullName, Characters(region));
            if (simplified.ends_with(name)) {
                const std::size_t keep = Characters(fullName) - Characters(name);
                name = std::string_view(fullName).substr(FirstCharacters(fullName, keep).size());
            }
        }
        writer.Member("name", name);
        writer.Member("fullName", fullName);
        writer.Member("region", region);
        writer.Member("englishName", place.englishName);
        writer.Key("longitude");
        writer.Number(place.longitude, 4);
        writer.Member("zone", place.zone);
        if (!place.longitudeOf.empty()) {
            writer.Member("longitudeOf", PlaceNameIn(place.longitudeOf, script));
        }
        writer.EndObject();
    }
    writer.EndArray();
}

}  // namespace

std::string PlacesJson(const std::vector<Place>& places, int indent, Script script) {
    return WrittenJson(indent, [&](JsonWriter& writer) { WritePlaces(writer, places, script); });
}

constexpr std::array<std::string_view, 5> PlacesMembers{"query", "limit", "near", "script",
                                                       "language"};

std::string SearchPlacesJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, PlacesMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Language language = LanguageOf(*members);
    const std::string *query = nullptr, *near = nullptr;
    std::size_t limit = 20;
    for (const JsonMember& member : *members) {
        std::optional<Error> error;
        if (member.name == "query") {
            query = TextOf(member.value);
            if (query == nullptr) error = WrongKind(member.name, "a string", "字符串");
        } else if (member.name == "near") {
            near = TextOf(member.value);
            if (near == nullptr) error = WrongKind(member.name, "a string", "字符串");
        } else if (member.name == "limit") {
            const auto* number = std::get_if<JsonNumber>(&member.value);
            if (number != nullptr && number->whole && *number->whole >= 1 &&
                *number->whole <= static_cast<std::int64_t>(MostPlacesAnswered)) {
                limit = static_cast<std::size_t>(*number->whole);
            } else {
                error = WrongKind(member.name, "a whole number from 1 to 100", "1 至 100 的整数");
            }
        } else if (member.name == "script") {
            error = CheckScript(member);
        } else if (member.name == "language") {
            if (const Result<Language> read = ReadLanguage(member); !read) error = read.error();
        } else {
            error = UnknownMember(member.name, PlacesMembers);
        }
        if (error) return ErrorJson(*error, language);
    }
    if (query == nullptr) {
        return ErrorJson(refusal::BadRequest(
                             "a request needs a query: {\"query\": \"成都\"}",
                             [](Script s) { return T(s, "请求需要地名：{\"query\": \"成都\"}"); }),
                         language);
    }
    return WrittenJson(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Key("places");
        WritePlaces(writer, SearchPlaces(*query, limit, near ? *near : std::string_view()),
                    ScriptOf(*members));
        writer.EndObject();
    });
}

CHENGGU_END_NAMESPACE
