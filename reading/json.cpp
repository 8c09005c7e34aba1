// Readings as JSON, and requests read from JSON.
#include "chenggu/json.h"

#include <cmath>

#include "calendar/utf8.h"
#include "chenggu/chinese_text.h"
#include "chenggu/places.h"
#include "reading/json_reader.h"
#include "reading/json_writer.h"
#include "reading/messages.h"

namespace chenggu {
namespace {

std::string_view HalfName(ZiHalf half) { return half == ZiHalf::Early ? "early" : "late"; }

void WriteConventions(JsonWriter& writer, const Options& options) {
    writer.Key("conventions");
    writer.StartObject();
    writer.Member(ConventionName(Convention::LateZi), ValueName(options.lateZi));
    writer.Member(ConventionName(Convention::YearStart), ValueName(options.yearStart));
    writer.Member(ConventionName(Convention::LeapMonth), ValueName(options.leapMonth));
    writer.Member(ConventionName(Convention::SolarTime),
                  ValueName(options.solarTime.value_or(SolarTime::Clock)));
    writer.EndObject();
}

// The steps from the clock to the time read by.
void WriteBirthTime(JsonWriter& writer, const BirthReading& reading, bool withSteps,
                    Script script) {
    const BirthTime& time = *reading.birthTime;
    writer.Key("birthTime");
    writer.StartObject();
    writer.Member("clock", IsoDateTime(time.clock, false));
    writer.Member("zone", time.zone);
    writer.Key("utcOffsetMinutes");
    writer.Number(time.utcOffsetSeconds / 60.0, 6);
    writer.Member("summerTime", time.summerTime);
    writer.Member("secondOccurrence", time.secondOccurrence);
    writer.Key("longitude");
    writer.Number(time.longitude, 6);
    writer.Key("place");
    const std::string* place = reading.birth.birthplace ? &reading.birth.birthplace->place : nullptr;
    if (place == nullptr || place->empty()) {
        writer.Null();
    } else {
        writer.String(PlaceNameIn(*place, script));
    }
    writer.Member("meanSolar", IsoDateTime(time.meanSolar));
    writer.Key("equationOfTimeSeconds");
    writer.Int(std::llround(time.equationOfTimeSeconds));
    writer.Member("trueSolar", IsoDateTime(time.trueSolar));
    writer.Member("nearBoundary", time.nearBoundary);
    if (withSteps) {
        writer.Key("steps");
        writer.StartArray();
        for (const std::string& step : BirthTimeSteps(reading, script)) writer.String(step);
        writer.EndArray();
    }
    writer.EndObject();
}

// What an alternative changed: a convention's name, or boundary, secondOccurrence.
std::string_view SwitchName(const BirthReading& alternative) {
    switch (alternative.timeChange) {
        case BirthReading::TimeChange::OtherSideOfBoundary:
            return "boundary";
        case BirthReading::TimeChange::SecondOccurrence:
            return "secondOccurrence";
        case BirthReading::TimeChange::None:
            break;
    }
    return ConventionName(alternative.switched.value_or(Convention::LateZi));
}

// Every member of the reading by its name. An alternative (base is the reading it is an
// alternative of) has no alternatives of its own, and says which convention it switched.
void WriteReading(JsonWriter& writer, const BirthReading& r, const BirthReading* base,
                  Script script, bool withSteps) {
    const auto text = [script](std::string_view simplified) {
        return InScript(simplified, script);
    };
    const Period& period = r.period();
    const LunarDate& lunar = r.lunarDate;
    writer.StartObject();
    writer.Member("date", IsoDate(r.birth.date));
    writer.Member("period", period.index);
    writer.Member("periodLabel", PeriodLabel(period));
    writer.Key("periodHalf");
    if (period.ziHalf == ZiHalf::Unsaid) {
        writer.Null();
    } else {
        writer.String(HalfName(period.ziHalf));
    }
    writer.Member("lunarYear", lunar.year);
    writer.Member("lunarMonth", lunar.month);
    writer.Member("lunarDay", lunar.day);
    writer.Member("lunarMonthName", LunarMonthName(lunar.month, lunar.leapMonth, script));
    writer.Member("lunarDayName", LunarDayName(lunar.day, script));
    writer.Member("periodBranch", text(r.periodBranch));
    writer.Member("yearStemBranch", r.yearStemBranch);
    writer.Member("monthStemBranch", r.monthStemBranch);
    writer.Member("dayStemBranch", r.dayStemBranch);
    writer.Member("periodStemBranch", r.periodStemBranch);
    writer.Member("weighedYearStemBranch", r.weighedYearStemBranch);
    writer.Member("yearWeight", r.yearWeight);
    writer.Member("monthWeight", r.monthWeight);
    writer.Member("dayWeight", r.dayWeight);
    writer.Member("periodWeight", r.periodWeight);
    writer.Member("totalWeight", r.totalWeight);
    const std::array<std::string_view, 2> lines = VerseLines(r.totalWeight, script);
    std::string verse(lines[0]);
    verse += '\n';
    verse += lines[1];
    writer.Member("verse", verse);
    writer.Member("leapMonth", lunar.leapMonth);
    writer.Member("weightText", WeightText(r.totalWeight, script));
    WriteConventions(writer, r.options);
    writer.Member("readingDate", IsoDate(r.readingDate));
    writer.Key("verseLines");
    writer.StartArray();
    for (const std::string_view line : lines) writer.String(line);
    writer.EndArray();
    writer.Member("verseExplanation", VerseExplanation(r.totalWeight, script));
    if (r.birth.lunarInput) {
        writer.Key("leapMonthDate");
        if (const auto twin = LeapMonthTwin(*r.birth.lunarInput)) {
            writer.String(IsoDate(*twin));
        } else {
            writer.Null();
        }
    }
    // An alternative shares its reading's birth time, but for the second of a repeated hour.
    if (r.birthTime &&
        (base == nullptr || r.timeChange == BirthReading::TimeChange::SecondOccurrence)) {
        WriteBirthTime(writer, r, withSteps && base == nullptr, script);
    }
    if (base != nullptr) {
        writer.Member("switched", SwitchName(r));
        writer.Member("condition", AlternativeCondition(*base, r, script));
    } else {
        writer.Key("alternatives");
        writer.StartArray();
        for (const BirthReading& alternative : r.alternatives) {
            WriteReading(writer, alternative, &r, script, false);
        }
        writer.EndArray();
    }
    writer.EndObject();
}

template <class Each>
std::string Written(int indent, Each each) {
    JsonWriter writer(indent);
    each(writer);
    return std::move(writer).Take();
}

constexpr std::string_view RequestMembers =
    "date, period, lunar, place, longitude, zone, lateZi, yearStart, leapMonth, solarTime, "
    "script, language, steps";

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
            if (const auto error = readText(member, name == "period" ? period
                                                    : name == "place"  ? place
                                                                       : zone)) {
                return *error;
            }
        } else if (name == "lunar" || name == "steps") {
            if (const auto error = readFlag(member, name == "lunar" ? lunar : request.steps)) {
                return *error;
            }
        } else if (name == "longitude") {
            if (const auto* number = std::get_if<JsonNumber>(&member.value)) {
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

std::string ReadingJson(const BirthReading& reading, int indent, Script script, bool steps) {
    return Written(indent, [&](JsonWriter& writer) {
        WriteReading(writer, reading, nullptr, script, steps);
    });
}

std::string ReadingsJson(const std::array<BirthReading, 12>& readings, int indent, Script script) {
    return Written(indent, [&](JsonWriter& writer) {
        writer.StartArray();
        for (const BirthReading& reading : readings) {
            WriteReading(writer, reading, nullptr, script, false);
        }
        writer.EndArray();
    });
}

Result<Request> ParseRequest(std::string_view json) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(json);
    if (!members) return members.error();
    return RequestFrom(*members);
}

Result<std::string> AnswerJson(const Request& request, int indent) {
    if (request.birth.period) {
        const Result<BirthReading> reading = Read(request.birth, request.options);
        if (!reading) return reading.error();
        return ReadingJson(*reading, indent, request.script, request.steps);
    }
    const Result<std::array<BirthReading, 12>> readings =
        ReadEveryPeriod(request.birth, request.options);
    if (!readings) return readings.error();
    return ReadingsJson(*readings, indent, request.script);
}

std::string ReadJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson);
    if (!members) return ErrorJson(members.error().reason);
    const Result<Request> request = RequestFrom(*members);
    if (!request) return ErrorJson(request.error().Reason(LanguageOf(*members)));
    const Result<std::string> answer = AnswerJson(*request, -1);
    if (!answer) return ErrorJson(answer.error().Reason(request->language));
    return *answer;
}

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
    return Written(indent, [&](JsonWriter& writer) { WritePlaces(writer, places); });
}

std::string SearchPlacesJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson);
    if (!members) return ErrorJson(members.error().reason);
    std::optional<std::string> query;
    std::size_t limit = 20;
    for (const JsonMember& member : *members) {
        if (member.name == "query" && TextOf(member.value) != nullptr) {
            query = *TextOf(member.value);
        } else if (const auto* number = std::get_if<JsonNumber>(&member.value);
                   member.name == "limit" && number != nullptr && number->whole &&
                   *number->whole > 0 && *number->whole <= 1000) {
            limit = static_cast<std::size_t>(*number->whole);
        } else if (member.name != "language") {
            return ErrorJson(UnknownMember(member.name, "query (a string), limit (1 to 1000)")
                                 .Reason(LanguageOf(*members)));
        }
    }
    if (!query) return ErrorJson("a request needs a query: {\"query\": \"成都\"}");
    return Written(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Key("places");
        WritePlaces(writer, SearchPlaces(*query, limit));
        writer.EndObject();
    });
}

std::string ErrorJson(std::string_view reason) {
    return Written(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Member("error", ValidUtf8(reason));
        writer.EndObject();
    });
}

std::string LineErrorJson(std::size_t line, std::string_view input, std::string_view reason) {
    return Written(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Member("line", static_cast<std::int64_t>(line));
        writer.Member("input", ValidUtf8(input));
        writer.Member("error", ValidUtf8(reason));
        writer.EndObject();
    });
}

}  // namespace chenggu
