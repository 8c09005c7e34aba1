#include "interface/birthdays_json.h"

#include <array>
#include <chrono>

#include "chenggu/birth.h"
#include "chenggu/birthdays.h"
#include "interface/error_json.h"
#include "interface/json_reader.h"
#include "interface/json_writer.h"
#include "text/messages.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::array<std::string_view, 7> BirthdaysMembers{"date", "lunar", "from", "to", "script",
                                                          "language", "now"};
constexpr int MostYears = 200;

// The day of an instant in a zone this many seconds ahead of UTC, and its second of the day.
std::pair<GregorianDate, std::int64_t> DayOf(std::chrono::system_clock::time_point now, std::int64_t ahead) {
    const std::int64_t seconds = std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count() + ahead;
    const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    return {GregorianDate::FromDayOffset(static_cast<std::int32_t>(days) + GregorianDate{1970, 1, 1}.DayOffset()),
            seconds - days * 86400};
}

// The clock's time as a DTSTAMP: 20261208T143000Z.
std::string Stamp(std::chrono::system_clock::time_point now) {
    const auto [date, second] = DayOf(now, 0);
    const auto two = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    return std::to_string(date.year) + two(date.month) + two(date.day) + "T" + two(second / 3600) +
           two(second / 60 % 60) + two(second % 60) + "Z";
}

// 2026-12-08T14:30:00Z as a DTSTAMP; nothing for another form.
std::optional<std::string> StampOf(std::string_view iso) {
    if (iso.size() != 20 || iso[4] != '-' || iso[7] != '-' || iso[10] != 'T' || iso[13] != ':' ||
        iso[16] != ':' || iso[19] != 'Z') {
        return std::nullopt;
    }
    std::string stamp;
    for (const char c : iso) {
        if (c >= '0' && c <= '9') stamp += c;
    }
    return stamp.size() == 14 ? std::optional(stamp.substr(0, 8) + "T" + stamp.substr(8) + "Z") : std::nullopt;
}

}  // namespace

Result<BirthdaysAnswer> AnswerBirthdays(const BirthdaysRequest& request,
                                        std::chrono::system_clock::time_point now) {
    const Result<Birth> birth = ParseBirth(request.date, std::nullopt, request.lunar);
    if (!birth) return birth.error();
    BirthdaysAnswer answer;
    answer.birth = *birth;
    answer.born = birth->lunarInput.value_or(ToLunar(birth->date));
    // This lunar year by Beijing's date, and the 29 after it, within the calendar.
    answer.from = request.from.value_or(ToLunar(DayOf(now, 8 * 3600).first).year);
    answer.to = request.to.value_or(std::min<std::int64_t>(answer.from + 29, LastDate.year));
    if (answer.to < answer.from || answer.to - answer.from >= MostYears) {
        return refusal::BadRequest("from and to name at most 200 lunar years, from first",
                                   [](Script s) { return T(s, "from 与 to 最多相隔 200 个农历年，且 from 在前"); });
    }
    answer.birthdays = LunarBirthdays(answer.born, static_cast<int>(std::clamp<std::int64_t>(answer.from, 0, 10000)),
                                      static_cast<int>(std::clamp<std::int64_t>(answer.to, 0, 10000)));
    answer.ics = LunarBirthdaysCalendar(answer.born, answer.birthdays, request.script,
                                        request.stamp.value_or(Stamp(now)));
    return answer;
}

std::string BirthdaysAnswerJson(const BirthdaysAnswer& answer) {
    return WrittenJson(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Key("birth");
        writer.StartObject();
        writer.Member("date", IsoDate(answer.birth.date));
        writer.Member("lunarDate", LunarDateText(answer.born));
        writer.Member("leapMonth", answer.born.leapMonth);
        writer.EndObject();
        writer.Member("from", answer.from);
        writer.Member("to", answer.to);
        writer.Key("birthdays");
        writer.StartArray();
        for (const LunarBirthday& day : answer.birthdays) {
            writer.StartObject();
            writer.Member("lunarYear", day.date.year);
            writer.Member("lunarMonth", day.date.month);
            writer.Member("lunarDay", day.date.day);
            writer.Member("leapMonth", day.date.leapMonth);
            writer.Member("date", IsoDate(day.gregorian));
            writer.EndObject();
        }
        writer.EndArray();
        writer.Member("ics", answer.ics);
        writer.EndObject();
    });
}

std::string BirthdaysJson(std::string_view requestJson) {
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, BirthdaysMembers);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Language language = LanguageOf(*members);
    BirthdaysRequest request;
    request.script = ScriptOf(*members);
    bool dated = false;
    for (const JsonMember& member : *members) {
        std::optional<Error> error;
        if (member.name == "date") {
            const std::string* date = TextOf(member.value);
            if (date == nullptr) error = WrongKind(member.name, "a string", "字符串");
            else {
                request.date = *date;
                dated = true;
            }
        } else if (member.name == "lunar") {
            const bool* flag = std::get_if<bool>(&member.value);
            if (flag == nullptr) error = WrongKind(member.name, "true or false", "true 或 false");
            else request.lunar = *flag;
        } else if (member.name == "from" || member.name == "to") {
            const JsonNumber* number = std::get_if<JsonNumber>(&member.value);
            if (number == nullptr || !number->whole) {
                error = WrongKind(member.name, "a whole number (a lunar year)", "整数（农历年份）");
            } else {
                (member.name == "from" ? request.from : request.to) = *number->whole;
            }
        } else if (member.name == "now") {
            const std::string* text = TextOf(member.value);
            request.stamp = text ? StampOf(*text) : std::nullopt;
            if (!request.stamp) {
                error = WrongKind(member.name, "an instant in UTC such as 2026-12-08T14:30:00Z",
                                  "UTC 时刻，如 2026-12-08T14:30:00Z");
            }
        } else if (member.name == "script") {
            error = CheckScript(member);
        } else if (member.name == "language") {
            if (const Result<Language> read = ReadLanguage(member); !read) error = read.error();
        } else {
            error = UnknownMember(member.name, BirthdaysMembers);
        }
        if (error) return ErrorJson(*error, language);
    }
    if (!dated) {
        return ErrorJson(refusal::BadRequest("a request needs a date: {\"date\": \"1990-01-30\"}",
                                             [](Script s) { return T(s, "请求需要日期：{\"date\": \"1990-01-30\"}"); }),
                         language);
    }
    const Result<BirthdaysAnswer> answer = AnswerBirthdays(request, std::chrono::system_clock::now());
    if (!answer) return ErrorJson(answer.error(), language);
    return BirthdaysAnswerJson(*answer);
}

CHENGGU_END_NAMESPACE
