// JSON written as it is produced, without a document tree: --batch writes a reading in a
// few microseconds.
#include "cli/reading_json.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "reading/chinese_text.h"
#include "reading/utf8.h"
#include "reading/verses.h"

namespace {

template <class Writer>
void String(Writer& writer, std::string_view text) {
    writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

template <class Writer>
void Member(Writer& writer, std::string_view key, std::string_view text) {
    writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
    String(writer, text);
}

template <class Writer>
void Member(Writer& writer, std::string_view key, int number) {
    writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
    writer.Int(number);
}

template <class Writer>
void WriteConventions(Writer& writer, const ReadingOptions& options) {
    writer.Key("conventions");
    writer.StartObject();
    Member(writer, ConventionName(Convention::LateZi), ValueName(options.lateZi));
    Member(writer, ConventionName(Convention::YearStart), ValueName(options.yearStart));
    Member(writer, ConventionName(Convention::LeapMonth), ValueName(options.leapMonth));
    writer.EndObject();
}

// Every member of the reading by its name. An alternative (alternativeOf is the reading it
// is an alternative of) is a full reading without alternatives of its own, and says which
// convention it switched.
template <class Writer>
void WriteReading(Writer& writer, const BirthQuery& query, const BirthReading& br,
                  const BirthReading* alternativeOf) {
    const Reading& r = br.reading;
    const auto period = static_cast<std::size_t>(br.birth.period);
    writer.StartObject();
    Member(writer, "date", IsoDate(br.birth.date));
    Member(writer, "period", br.birth.period);
    Member(writer, "periodLabel", Utf8(BirthPeriods[period].periodLabel));
    Member(writer, "lunarYear", r.lunarYear);
    Member(writer, "lunarMonth", r.lunarMonth);
    Member(writer, "lunarDay", r.lunarDay);
    Member(writer, "lunarMonthName", LunarMonthName(r.lunarMonth, br.lunarDate.leapMonth));
    Member(writer, "lunarDayName", LunarDayName(r.lunarDay));
    Member(writer, "periodBranch", Utf8(r.periodBranch));
    Member(writer, "yearStemBranch", Utf8(r.yearStemBranch));
    Member(writer, "monthStemBranch", Utf8(r.monthStemBranch));
    Member(writer, "dayStemBranch", Utf8(r.dayStemBranch));
    Member(writer, "yearWeight", r.yearWeight);
    Member(writer, "monthWeight", r.monthWeight);
    Member(writer, "dayWeight", r.dayWeight);
    Member(writer, "periodWeight", r.periodWeight);
    Member(writer, "totalWeight", r.totalWeight);
    const VerseText& verse = VerseTextFor(r.totalWeight);
    Member(writer, "verse", verse.verse);
    writer.Key("leapMonth");
    writer.Bool(br.lunarDate.leapMonth);
    Member(writer, "weightText", WeightText(r.totalWeight));
    WriteConventions(writer, br.options);
    Member(writer, "readingDate", IsoDate(br.readingDate));
    writer.Key("verseLines");
    writer.StartArray();
    for (const std::string& line : verse.lines) String(writer, line);
    writer.EndArray();
    if (query.lunarInput) {
        writer.Key("leapMonthDate");
        if (query.leapMonthDate) {
            String(writer, IsoDate(*query.leapMonthDate));
        } else {
            writer.Null();
        }
    }
    if (alternativeOf != nullptr) {
        // Which convention was switched, and the switch as a condition.
        for (const Convention convention : Conventions) {
            if (Switched(alternativeOf->options, convention) == br.options) {
                Member(writer, "switched", ConventionName(convention));
            }
        }
        Member(writer, "condition", AlternativeName(*alternativeOf, br));
    } else {
        writer.Key("alternatives");
        writer.StartArray();
        for (const BirthReading& alternative : br.Alternatives()) {
            WriteReading(writer, query, alternative, &br);
        }
        writer.EndArray();
    }
    writer.EndObject();
}

// Writes with line breaks and indent spaces a level, or on one line for indent -1.
template <class Write>
std::string Json(int indent, Write write) {
    rapidjson::StringBuffer buffer;
    if (indent < 0) {
        rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
        write(writer);
    } else {
        rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
        writer.SetIndent(' ', static_cast<unsigned>(indent));
        write(writer);
    }
    return {buffer.GetString(), buffer.GetSize()};
}

}  // namespace

std::string ReadingJson(const BirthQuery& query, const BirthReading& reading, int indent) {
    return Json(indent, [&](auto& writer) { WriteReading(writer, query, reading, nullptr); });
}

std::string ReadingsJson(const BirthQuery& query, const std::array<BirthReading, 12>& readings,
                         int indent) {
    return Json(indent, [&](auto& writer) {
        writer.StartArray();
        for (const BirthReading& reading : readings) WriteReading(writer, query, reading, nullptr);
        writer.EndArray();
    });
}

std::string BatchErrorJson(std::size_t line, std::string_view input, std::string_view error) {
    return Json(-1, [&](auto& writer) {
        writer.StartObject();
        writer.Key("line");
        writer.Uint64(line);
        Member(writer, "input", ValidUtf8(input));
        Member(writer, "error", ValidUtf8(error));
        writer.EndObject();
    });
}
