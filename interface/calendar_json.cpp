// The calendar as forms that offer dates in lists need it: a year's months with their names
// and days, the days inside the range, the periods, and a day in both calendars.
#include <algorithm>

#include "interface/calendar_json.h"

#include "calendar/calendar_date.h"
#include "calendar/day_cursor.h"
#include "chenggu/lunar_date_names.h"
#include "chenggu/chinese_text.h"
#include "interface/error_json.h"
#include "interface/json_reader.h"
#include "interface/json_writer.h"
#include "reading/verses.h"
#include "text/messages.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::array<std::string_view, 4> MonthsMembers{"calendar", "year", "script", "language"};
constexpr std::array<std::string_view, 3> DateMembers{"date", "lunar", "language"};
constexpr std::array<std::string_view, 3> TermsMembers{"year", "script", "language"};
constexpr std::array<std::string_view, 4> CalendarMembers{"from", "to", "script", "language"};

struct MonthsRequest {
    bool lunar = false;
    int year = 0;
    Script script = Script::Simplified;
    Language language = Language::English;
};

Result<MonthsRequest> ReadMonthsRequest(const std::vector<JsonMember>& members) {
    MonthsRequest request;
    request.language = LanguageOf(members);
    request.script = ScriptOf(members);
    std::optional<int> year;
    for (const JsonMember& member : members) {
        if (member.name == "calendar") {
            const std::string* text = TextOf(member.value);
            if (text == nullptr || (*text != "gregorian" && *text != "lunar")) {
                return WrongKind(member.name, "\"gregorian\" or \"lunar\"",
                                 "\"gregorian\" 或 \"lunar\"");
            }
            request.lunar = *text == "lunar";
        } else if (member.name == "year") {
            const JsonNumber* number = std::get_if<JsonNumber>(&member.value);
            if (number == nullptr || !number->whole) {
                return WrongKind(member.name, "a whole number", "整数");
            }
            year = static_cast<int>(std::clamp<std::int64_t>(*number->whole, -1, 10000));
        } else if (member.name == "language") {
            if (const Result<Language> language = ReadLanguage(member); !language) {
                return language.error();
            }
        } else if (member.name == "script") {
            if (const auto error = CheckScript(member)) return *error;
        } else {
            return UnknownMember(member.name, MonthsMembers);
        }
    }
    const int firstYear = request.lunar ? FirstLunarDate.year : FirstDate.year;
    if (!year || *year < firstYear || *year > LastDate.year) {
        const std::string first = std::to_string(firstYear);
        return refusal::BadRequest(
            "the year must be a number from " + first + " to " + std::to_string(LastDate.year),
            [&](Script s) {
                return T(s, "年份应是 ") + first + T(s, " 至 ") + std::to_string(LastDate.year) +
                       T(s, " 之间的数");
            });
    }
    request.year = *year;
    return request;
}

// One month of a year: its number, its leap flag and its days.
struct Month {
    std::uint16_t number;
    bool leap;
    std::uint16_t days;
};

void WriteMonth(JsonWriter& writer, const MonthsRequest& request, const Month& month) {
    const auto year = static_cast<std::uint16_t>(request.year);
    writer.StartObject();
    writer.Member("month", month.number);
    writer.Member("leap", month.leap);
    if (request.lunar) {
        writer.Member("name", LunarMonthName(month.number, month.leap, request.script));
    } else {
        writer.Member("name", std::to_string(month.number) + T(request.script, "月"));
    }
    writer.Member("days", month.days);
    // The first and last days inside the range.
    std::optional<std::uint16_t> first, last;
    for (std::uint16_t day = 1; day <= month.days; ++day) {
        const bool inside =
            request.lunar ? CalendarDate::CheckLunarDate({year, month.number, day, month.leap}) ==
                                LunarDateError::None
                          : CalendarDate::IsSupportedDate(year, month.number, day);
        if (!inside) continue;
        if (!first) first = day;
        last = day;
    }
    writer.Key("firstDay");
    first ? writer.Int(*first) : writer.Null();
    writer.Key("lastDay");
    last ? writer.Int(*last) : writer.Null();
    writer.EndObject();
}

void WritePeriods(JsonWriter& writer, Script script) {
    writer.Key("periods");
    writer.StartArray();
    const auto write = [&](std::string_view value, const Period& period) {
        writer.StartObject();
        writer.Member("value", value);
        writer.Member("name", PeriodName(period, script));
        writer.Member("label", PeriodLabel(period));
        writer.EndObject();
    };
    for (int index = 0; index < 12; ++index) {
        write(BirthPeriods[static_cast<std::size_t>(index)].periodBranch, Period{index});
        if (index == 0) {
            write("早子", Period{0, ZiHalf::Early});
            write("晚子", Period{0, ZiHalf::Late});
        }
    }
    writer.EndArray();
}

// A date member of a calendar request: a Gregorian date as people write it.
Result<GregorianDate> ReadCalendarDate(const JsonMember& member) {
    const std::string* text = TextOf(member.value);
    if (text == nullptr) return WrongKind(member.name, "a string", "字符串");
    const Result<Birth> birth = ParseBirth(*text, std::nullopt, false);
    if (!birth) return birth.error();
    return birth->date;
}

}  // namespace

std::string MonthsJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, MonthsMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Result<MonthsRequest> request = ReadMonthsRequest(*members);
    if (!request) return ErrorJson(request.error(), LanguageOf(*members));
    const auto year = static_cast<std::uint16_t>(request->year);
    std::vector<Month> months;
    for (std::uint16_t number = 1; number <= 12; ++number) {
        if (request->lunar) {
            const std::uint16_t days = CalendarDate::LunarMonthLength(year, number, false);
            if (days > 0) months.push_back({number, false, days});
            if (CalendarDate::LunarLeapMonth(year) == number) {
                months.push_back(
                    {number, true, CalendarDate::LunarMonthLength(year, number, true)});
            }
        } else {
            months.push_back({number, false, CalendarDate::GregorianMonthDays(year, number)});
        }
    }

    JsonWriter writer(-1);
    writer.StartObject();
    writer.Member("calendar", request->lunar ? "lunar" : "gregorian");
    writer.Member("year", request->year);
    writer.Member("firstYear", request->lunar ? FirstLunarDate.year : FirstDate.year);
    writer.Member("lastYear", LastDate.year);
    writer.Key("months");
    writer.StartArray();
    for (const Month& month : months) WriteMonth(writer, *request, month);
    writer.EndArray();
    writer.Key("dayNames");
    writer.StartArray();
    for (std::uint16_t day = 1; day <= (request->lunar ? 30 : 31); ++day) {
        if (request->lunar) {
            writer.String(LunarDayName(day, request->script));
        } else {
            writer.String(std::to_string(day) + T(request->script, "日"));
        }
    }
    writer.EndArray();
    WritePeriods(writer, request->script);
    writer.EndObject();
    return std::move(writer).Take();
}

std::string DateJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, DateMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Language language = LanguageOf(*members);
    const std::string* date = nullptr;
    bool lunar = false;
    for (const JsonMember& member : *members) {
        std::optional<Error> error;
        if (member.name == "date") {
            date = TextOf(member.value);
            if (date == nullptr) error = WrongKind(member.name, "a string", "字符串");
        } else if (member.name == "lunar") {
            const bool* flag = std::get_if<bool>(&member.value);
            if (flag == nullptr) error = WrongKind(member.name, "true or false", "true 或 false");
            lunar = flag != nullptr && *flag;
        } else if (member.name == "language") {
            if (const Result<Language> read = ReadLanguage(member); !read) error = read.error();
        } else {
            error = UnknownMember(member.name, DateMembers);
        }
        if (error) return ErrorJson(*error, language);
    }
    if (date == nullptr) {
        return ErrorJson(refusal::BadRequest("a request needs a date",
                                             [](Script s) { return T(s, "请求需要日期"); }),
                         language);
    }
    const Result<Birth> birth = ParseBirth(*date, std::nullopt, lunar);
    if (!birth) return ErrorJson(birth.error(), language);
    const LunarDate day = ToLunar(birth->date);

    JsonWriter writer(-1);
    writer.StartObject();
    writer.Member("date", IsoDate(birth->date));
    writer.Member("lunarYear", day.year);
    writer.Member("lunarMonth", day.month);
    writer.Member("lunarDay", day.day);
    writer.Member("leapMonth", day.leapMonth);
    writer.Member("lunarDate", LunarDateText(day));
    writer.EndObject();
    return std::move(writer).Take();
}

std::string SolarTermsJson(int year, const std::array<SolarTerm, 24>& terms, Script script,
                           int indent) {
    return WrittenJson(indent, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Member("year", year);
        writer.Key("terms");
        writer.StartArray();
        for (const SolarTerm& term : terms) {
            writer.StartObject();
            writer.Member("name", InScript(term.name, script));
            writer.Member("utc", IsoDateTime(term.utc) + "Z");
            writer.Member("beijing", IsoDateTime(term.beijing));
            writer.EndObject();
        }
        writer.EndArray();
        writer.EndObject();
    });
}

std::string TermsJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, TermsMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Language language = LanguageOf(*members);
    std::optional<std::int64_t> year;
    for (const JsonMember& member : *members) {
        std::optional<Error> error;
        if (member.name == "year") {
            const JsonNumber* number = std::get_if<JsonNumber>(&member.value);
            if (number != nullptr && number->whole) {
                year = *number->whole;
            } else {
                error = WrongKind(member.name, "a whole number", "整数");
            }
        } else if (member.name == "script") {
            error = CheckScript(member);
        } else if (member.name == "language") {
            if (const Result<Language> read = ReadLanguage(member); !read) error = read.error();
        } else {
            error = UnknownMember(member.name, TermsMembers);
        }
        if (error) return ErrorJson(*error, language);
    }
    if (!year) {
        return ErrorJson(
            refusal::BadRequest("a request needs a year: {\"year\": 2024}",
                                [](Script s) { return T(s, "请求需要年份：{\"year\": 2024}"); }),
            language);
    }
    const Result<std::array<SolarTerm, 24>> terms =
        SolarTermsOf(static_cast<int>(std::clamp<std::int64_t>(*year, -1, 100000)));
    if (!terms) return ErrorJson(terms.error(), language);
    return SolarTermsJson(static_cast<int>(*year), *terms, ScriptOf(*members));
}

std::string CalendarJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, CalendarMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Language language = LanguageOf(*members);
    const Script script = ScriptOf(*members);
    std::optional<GregorianDate> from, to;
    for (const JsonMember& member : *members) {
        std::optional<Error> error;
        if (member.name == "from" || member.name == "to") {
            const Result<GregorianDate> date = ReadCalendarDate(member);
            if (!date) {
                error = date.error();
            } else {
                (member.name == "from" ? from : to) = *date;
            }
        } else if (member.name == "script") {
            error = CheckScript(member);
        } else if (member.name == "language") {
            if (const Result<Language> read = ReadLanguage(member); !read) error = read.error();
        } else {
            error = UnknownMember(member.name, CalendarMembers);
        }
        if (error) return ErrorJson(*error, language);
    }
    if (!from) {
        return ErrorJson(refusal::BadRequest(
                             "a request needs a first day: {\"from\": \"2024-01-01\"}",
                             [](Script s) { return T(s, "请求需要起始日：{\"from\": \"2024-01-01\"}"); }),
                         language);
    }
    if (!to) to = from;
    const std::int32_t days = to->DayOffset() - from->DayOffset() + 1;
    if (days < 1) {
        return ErrorJson(refusal::BadRequest(
                             "from " + IsoDate(*from) + " is after to " + IsoDate(*to),
                             [&](Script s) {
                                 return T(s, "起始日 ") + IsoDate(*from) + T(s, " 在结束日 ") +
                                        IsoDate(*to) + T(s, " 之后");
                             }),
                         language);
    }
    if (days > LongestCalendarRange) {
        const std::string most = std::to_string(LongestCalendarRange);
        Error tooLong = refusal::BadRequest(
            "a calendar request covers at most " + most + " days",
            [&](Script s) { return T(s, "一次最多查 ") + most + T(s, " 天的日历"); });
        tooLong.code = ErrorCode::RequestTooLarge;
        return ErrorJson(tooLong, language);
    }

    JsonWriter writer(-1);
    writer.StartObject();
    writer.Member("from", IsoDate(*from));
    writer.Member("to", IsoDate(*to));
    writer.Key("days");
    writer.StartArray();
    DayCursor cursor(from->year, from->month, from->day);
    for (std::int32_t i = 0; i < days; ++i, cursor.Advance()) {
        const LunarDate& lunar = cursor.lunar();
        const StemBranchIndex& index = cursor.index();
        writer.StartObject();
        writer.Member("date", IsoDate({cursor.year(), cursor.month(), cursor.day()}));
        writer.Member("lunarYear", lunar.year);
        writer.Member("lunarMonth", lunar.month);
        writer.Member("lunarDay", lunar.day);
        writer.Member("leapMonth", lunar.leapMonth);
        writer.Member("lunarMonthName", LunarMonthName(lunar.month, lunar.leapMonth, script));
        writer.Member("lunarDayName", LunarDayName(lunar.day, script));
        writer.Member("yearStemBranch", InScript(StemBranchText(index.year), script));
        writer.Member("monthStemBranch", InScript(StemBranchText(index.month), script));
        writer.Member("dayStemBranch", InScript(StemBranchText(index.day), script));
        writer.EndObject();
    }
    writer.EndArray();
    writer.EndObject();
    return std::move(writer).Take();
}

CHENGGU_END_NAMESPACE
