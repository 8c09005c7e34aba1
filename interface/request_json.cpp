// Requests read from JSON, and their answers.
#include "chenggu/json.h"

#include <array>
#include <cmath>

#include "chenggu/places.h"
#include "interface/error_json.h"
#include "interface/json_reader.h"
#include "interface/reading_members.h"
#include "text/messages.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::array<std::string_view, 15> RequestMembers{
    "date",      "period",    "lunar",        "place",  "longitude", "zone",  "lateZi",
    "yearStart", "leapMonth", "calendarRule", "solarTime", "script", "language", "steps",
    "markup"};

// The request of an object's members.
Result<Request> RequestFrom(const std::vector<JsonMember>& members) {
    Request request;
    request.language = LanguageOf(members);
    request.script = ScriptOf(members);
    const std::string* date = nullptr;
    std::optional<std::string_view> period;
    bool lunar = false;
    std::optional<std::string_view> place, zone;
    std::optional<double> longitude;
    // A flag, true or false; a text, or null for none.
    const auto readFlag = [](const JsonMember& member, bool& flag) -> std::optional<Error> {
        const bool* value = std::get_if<bool>(&member.value);
        if (value == nullptr) return WrongKind(member.name, "true or false", "true 或 false");
        flag = *value;
        return std::nullopt;
    };
    const auto readText = [](const JsonMember& member,
                             std::optional<std::string_view>& target) -> std::optional<Error> {
        if (const std::string* text = TextOf(member.value)) {
            target = *text;
        } else if (!std::holds_alternative<std::nullptr_t>(member.value)) {
            return WrongKind(member.name, "a string or null", "字符串或 null");
        }
        return std::nullopt;
    };
    for (const JsonMember& member : members) {
        const std::string& name = member.name;
        const std::string* text = TextOf(member.value);
        if (name == "date") {
            if (text == nullptr) return WrongKind(name, "a string", "字符串");
            date = text;
        } else if (name == "period" || name == "place" || name == "zone") {
            if (const auto error = readText(member, name == "period"  ? period
                                                    : name == "place" ? place
                                                                      : zone)) {
                return *error;
            }
        } else if (name == "lunar" || name == "steps" || name == "markup") {
            if (const auto error = readFlag(member, name == "lunar"   ? lunar
                                                    : name == "steps" ? request.steps
                                                                      : request.markup)) {
                return *error;
            }
        } else if (name == "longitude") {
            if (const auto* number = std::get_if<JsonNumber>(&member.value)) {
                // Refused here, where the number is still as the request wrote it.
                if (!std::isfinite(number->value) || std::abs(number->value) > 180) {
                    return refusal::NotALongitude(number->text);
                }
                longitude = number->value;
            } else if (text != nullptr) {
                const Result<double> parsed = ParseLongitude(*text);
                if (!parsed) return parsed.error();
                longitude = *parsed;
            } else if (!std::holds_alternative<std::nullptr_t>(member.value)) {
                return WrongKind(name, "a number, a string or null", "数字、字符串或 null");
            }
        } else if (name == "language") {
            const Result<Language> language = ReadLanguage(member);
            if (!language) return language.error();
        } else if (name == "script") {
            if (const auto error = CheckScript(member)) return *error;
        } else {
            const auto convention = [&]() -> std::optional<Convention> {
                for (const Convention c : Conventions) {
                    if (ConventionName(c) == name) return c;
                }
                return std::nullopt;
            }();
            if (!convention) return UnknownMember(name, RequestMembers);
            if (text == nullptr) return WrongKind(name, "a string", "字符串");
            const Result<Options> options =
                SetConvention(request.options, *convention, *text, name);
            if (!options) return options.error();
            request.options = *options;
        }
    }
    if (date == nullptr) {
        return refusal::BadRequest(
            "a request needs a date: {\"date\": \"1990-01-30\"}",
            [](Script s) { return T(s, "请求需要日期：{\"date\": \"1990-01-30\"}"); });
    }
    const Result<Birth> birth = ParseBirth(*date, period, lunar);
    if (!birth) return birth.error();
    request.birth = *birth;
    if (place || longitude || zone) {
        const Result<Birthplace> birthplace = BirthplaceOf(place, longitude, zone);
        if (!birthplace) return birthplace.error();
        request.birth.birthplace = *birthplace;
    }
    return request;
}

}  // namespace

Result<Request> ParseRequest(std::string_view json) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(json, RequestMembers);
    if (!members) return members.error();
    return RequestFrom(*members);
}

Result<std::string> AnswerJson(const Request& request, int indent) {
    if (request.birth.period) {
        const Result<BirthReading> reading = Read(request.birth, request.options);
        if (!reading) return reading.error();
        return request.markup
                   ? ReadingJsonWithMarkup(*reading, indent, request.script, request.steps)
                   : ReadingJson(*reading, indent, request.script, request.steps);
    }
    const Result<std::array<BirthReading, 12>> readings =
        ReadEveryPeriod(request.birth, request.options);
    if (!readings) return readings.error();
    return ReadingsJson(*readings, indent, request.script);
}

std::string ReadJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, RequestMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Result<Request> request = RequestFrom(*members);
    if (!request) return ErrorJson(request.error(), LanguageOf(*members));
    const Result<std::string> answer = AnswerJson(*request, -1);
    if (!answer) return ErrorJson(answer.error(), request->language);
    return *answer;
}

CHENGGU_END_NAMESPACE
