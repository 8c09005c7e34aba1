// Places as JSON, and the search of places as a request.
#include "interface/places_json.h"

#include <array>

#include "chenggu/json.h"
#include "interface/error_json.h"
#include "interface/json_reader.h"
#include "interface/json_writer.h"
#include "text/messages.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

void WritePlaces(JsonWriter& writer, const std::vector<Place>& places) {
    writer.StartArray();
    for (const Place& place : places) {
        writer.StartObject();
        writer.Member("name", place.name);
        writer.Member("fullName", place.fullName);
        writer.Member("region", place.region);
        writer.Member("englishName", place.englishName);
        writer.Key("longitude");
        writer.Number(place.longitude, 4);
        writer.Member("zone", place.zone);
        writer.EndObject();
    }
    writer.EndArray();
}

}  // namespace

std::string PlacesJson(const std::vector<Place>& places, int indent) {
    return WrittenJson(indent, [&](JsonWriter& writer) { WritePlaces(writer, places); });
}

constexpr std::array<std::string_view, 3> PlacesMembers{"query", "limit", "language"};

std::string SearchPlacesJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, PlacesMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Language language = LanguageOf(*members);
    const std::string* query = nullptr;
    std::size_t limit = 20;
    for (const JsonMember& member : *members) {
        std::optional<Error> error;
        if (member.name == "query") {
            query = TextOf(member.value);
            if (query == nullptr) error = WrongKind(member.name, "a string", "字符串");
        } else if (member.name == "limit") {
            const auto* number = std::get_if<JsonNumber>(&member.value);
            if (number != nullptr && number->whole && *number->whole >= 1 &&
                *number->whole <= 1000) {
                limit = static_cast<std::size_t>(*number->whole);
            } else {
                error = WrongKind(member.name, "a whole number from 1 to 1000", "1 至 1000 的整数");
            }
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
        WritePlaces(writer, SearchPlaces(*query, limit));
        writer.EndObject();
    });
}

CHENGGU_END_NAMESPACE
