// Readings as JSON: every member of a reading by name, its alternatives, its birth time.
#include <cmath>

#include "chenggu/chinese_text.h"
#include "chenggu/json.h"
#include "chenggu/places.h"
#include "interface/birth_time_writing.h"
#include "interface/json_writer.h"
#include "interface/reading_markup.h"
#include "interface/reading_members.h"

CHENGGU_BEGIN_NAMESPACE

void WriteConventions(JsonWriter& writer, const Options& options) {
    writer.Key("conventions");
    writer.StartObject();
    writer.Member(ConventionName(Convention::LateZi), ValueName(options.lateZi));
    writer.Member(ConventionName(Convention::YearStart), ValueName(options.yearStart));
    writer.Member(ConventionName(Convention::LeapMonth), ValueName(options.leapMonth));
    writer.Member(ConventionName(Convention::SolarTime),
                  ValueName(options.solarTime.value_or(SolarTime::Clock)));
    writer.Member(ConventionName(Convention::CalendarRule), ValueName(options.calendarRule));
    writer.EndObject();
}

void WriteSolarTermObject(JsonWriter& writer, const TermMoment& moment, Script script) {
    writer.StartObject();
    writer.Member("name", InScript(moment.term.name, script));
    writer.Member("utc", IsoDateTime(moment.term.utc) + "Z");
    writer.Member("beijing", IsoDateTime(moment.term.beijing));
    constexpr std::array<std::string_view, 3> Sides{"before", "after", "unknown"};
    writer.Member("birthIs", Sides[static_cast<std::size_t>(moment.birthIs)]);
    writer.EndObject();
}

namespace {

std::string_view HalfName(ZiHalf half) { return half == ZiHalf::Early ? "early" : "late"; }

// The steps from the clock to the time read by.
void WriteBirthTime(JsonWriter& writer, const BirthReading& reading, bool withSteps,
                    Script script) {
    writer.Key("birthTime");
    WriteBirthTimeObject(writer, reading, withSteps, script);
}

// What an alternative changed: a convention's name, or boundary, secondOccurrence, solarTerm.
std::string_view SwitchName(const BirthReading& alternative) {
    switch (alternative.timeChange) {
        case BirthReading::TimeChange::OtherSideOfBoundary:
            return "boundary";
        case BirthReading::TimeChange::SecondOccurrence:
            return "secondOccurrence";
        case BirthReading::TimeChange::OtherSideOfTerm:
            return "solarTerm";
        case BirthReading::TimeChange::None:
            break;
    }
    return ConventionName(alternative.switched.value_or(Convention::LateZi));
}

// The sectional term of the birth's day: its name, its instant in UTC and in Beijing time, and
// the birth's side of it; null on other days.
void WriteSolarTerm(JsonWriter& writer, const std::optional<TermMoment>& moment, Script script) {
    writer.Key("solarTerm");
    if (!moment) return writer.Null();
    WriteSolarTermObject(writer, *moment, script);
}

// Every member of the reading by its name. An alternative (base is the reading it is an
// alternative of) has no alternatives of its own, and says which convention it switched.
void WriteReading(JsonWriter& writer, const BirthReading& r, const BirthReading* base,
                  Script script, bool withSteps, bool withMarkup = false) {
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
        if (const auto twin = LeapMonthTwin(*r.birth.lunarInput, r.options.calendarRule)) {
            writer.String(IsoDate(*twin));
        } else {
            writer.Null();
        }
    }
    if (base == nullptr && r.birth.clock && r.birth.clock->partOfDayUnsaid) {
        writer.Member("clockNote", ClockNote(*r.birth.clock, script));
    }
    WriteSolarTerm(writer, r.solarTerm, script);
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
    if (withMarkup) {
        const ReadingMarkup markup = MarkupOf(r, script);
        writer.Key("markup");
        writer.StartObject();
        writer.Member("headline", markup.headline);
        writer.Member("details", markup.details);
        writer.EndObject();
    }
    writer.EndObject();
}

}  // namespace

std::string ReadingJson(const BirthReading& reading, int indent, Script script, bool steps) {
    return WrittenJson(
        indent, [&](JsonWriter& writer) { WriteReading(writer, reading, nullptr, script, steps); });
}

std::string ReadingJsonWithMarkup(const BirthReading& reading, int indent, Script script,
                                  bool steps) {
    return WrittenJson(indent, [&](JsonWriter& writer) {
        WriteReading(writer, reading, nullptr, script, steps, true);
    });
}

std::string ReadingsJson(const std::array<BirthReading, 12>& readings, int indent, Script script) {
    return WrittenJson(indent, [&](JsonWriter& writer) {
        writer.StartArray();
        for (const BirthReading& reading : readings) {
            WriteReading(writer, reading, nullptr, script, false);
        }
        writer.EndArray();
    });
}

CHENGGU_END_NAMESPACE
