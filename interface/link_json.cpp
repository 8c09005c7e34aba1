#include "interface/link_json.h"

#include <algorithm>
#include <array>
#include <vector>

#include "chenggu/date.h"
#include "chenggu/written_input.h"
#include "interface/error_json.h"
#include "interface/json_reader.h"
#include "interface/json_writer.h"
#include "interface/reading_members.h"
#include "text/messages.h"
#include "text/query_text.h"
#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::array<std::string_view, 13> PageParameters{
    "date", "lunar", "period", "time", "place", "lon", "zone", "lateZi", "yearStart",
    "leapMonth", "calendarRule", "solarTime", "script"};
constexpr std::array<std::string_view, 4> ConventionParameters{"lateZi", "yearStart", "leapMonth",
                                                                "calendarRule"};

// As URLSearchParams writes a component: letters, digits and *-._ as they are, a space as +,
// every other byte as %XX.
std::string Encoded(std::string_view text) {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            c == '*' || c == '-' || c == '.' || c == '_') {
            out += c;
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += Digits[byte >> 4];
            out += Digits[byte & 15];
        }
    }
    return out;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// The period of an hour of the clock as the page's list offers it: 早子 at 0, 晚子 at 23.
std::string PeriodAt(int hour) {
    if (hour == 23) return "晚子";
    if (hour == 0) return "早子";
    constexpr std::string_view Branches = "子丑寅卯辰巳午未申酉戌亥";
    return std::string(Branches.substr(static_cast<std::size_t>((hour + 1) / 2 % 12) * 3, 3));
}

// A clock time written H:MM or HH:MM (full-width digits and colon too), as HH:MM.
std::optional<std::string> LinkTime(std::string_view text) {
    const std::string folded = NormalizedInput(text);
    const std::string_view t = Trimmed(folded);
    const std::size_t colon = t.find(':');
    const auto digits = [](std::string_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || t.size() != colon + 3 ||
        !digits(t.substr(0, colon)) || !digits(t.substr(colon + 1))) {
        return std::nullopt;
    }
    return (colon == 1 ? "0" : "") + std::string(t);
}

struct Today {
    GregorianDate date;
    int hour = 0;
};

// "2026-12-08T14:30" or "2026-12-08"; a day outside the calendar's range (a device's clock far
// off) is the range's nearest end, as the page's lists hold it.
std::optional<Today> TodayOf(std::string_view text) {
    const auto digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    if (text.size() != 10 && (text.size() < 13 || text[10] != 'T' || !digit(11) || !digit(12))) return std::nullopt;
    const int hour = text.size() == 10 ? 0 : (text[11] - '0') * 10 + (text[12] - '0');
    if (hour > 23 || !digit(0) || !digit(1) || !digit(2) || !digit(3)) return std::nullopt;
    const std::string_view year = text.substr(0, 4);
    if (year < "1645") return Today{FirstDate, hour};
    if (year > "2100") return Today{LastDate, hour};
    const Result<GregorianDate> date = ParseDate(text.substr(0, 10));
    if (!date) return std::nullopt;
    return Today{*date, hour};
}

struct Parameter {
    std::string name, value;
};

// The page's parameters of a link, in order. Parameters the page does not know are left
// alone: chat apps and trackers append their own (from=singlemessage, utm_source=…) to every
// link they pass on.
std::vector<Parameter> ParametersOf(std::string_view link) {
    std::vector<Parameter> parameters;
    for (const auto& [name, value] : QueryPairs(link)) {
        // As a browser's URLSearchParams reads them: broken escapes kept, bytes that are not
        // UTF-8 as U+FFFD.
        Parameter parameter{ValidUtf8(*QueryComponent(name, false)), ValidUtf8(*QueryComponent(value, false))};
        if (std::find(PageParameters.begin(), PageParameters.end(), parameter.name) != PageParameters.end()) {
            parameters.push_back(std::move(parameter));
        }
    }
    return parameters;
}

}  // namespace

std::string PageQuery(std::string_view link) {
    std::string query;
    for (const Parameter& p : ParametersOf(link)) {
        query += (query.empty() ? "" : "&") + Encoded(p.name) + "=" + Encoded(p.value);
    }
    return query;
}

LinkReading ReadLink(std::string_view link, std::string_view todayText, Script defaultScript) {
    const std::vector<Parameter> parameters = ParametersOf(link);
    const auto find = [&](std::string_view name) -> const std::string* {
        for (const Parameter& p : parameters) {
            if (p.name == name) return &p.value;
        }
        return nullptr;
    };

    LinkReading read;
    read.fromLink = !parameters.empty();
    const std::string* scriptName = find("script");
    const std::optional<Script> named = scriptName ? ParseScript(*scriptName) : std::nullopt;
    const Script script = named.value_or(defaultScript);
    const Language language = script == Script::Traditional ? Language::TraditionalChinese : Language::Chinese;
    const std::optional<Today> today = TodayOf(todayText);

    // The library's request of the link, or why there is none.
    const auto requestOf = [&]() -> Result<std::string> {
        const auto refuse = [&](std::string english, std::string chinese) -> Result<std::string> {
            return refusal::BadRequest(std::move(english), [&](Script s) { return T(s, chinese); });
        };
        for (const Parameter& p : parameters) {
            if (std::count_if(parameters.begin(), parameters.end(), [&](const Parameter& q) { return q.name == p.name; }) > 1) {
                return refusal::BadRequest(p.name + " is given more than once", [&](Script s) {
                    return T(s, "链接里的 ") + p.name + T(s, " 出现了不止一次");
                });
            }
        }
        if (scriptName && !named) {
            return refuse("script is simplified or traditional", "script 的值只能是 simplified 或 traditional");
        }
        const std::string* date = find("date");
        const std::string* lunar = find("lunar");
        if (date && lunar) return refuse("give date or lunar, not both", "date 和 lunar 只能给出一个");
        const std::string* timeText = find("time");
        std::optional<std::string> time;
        if (timeText && !(time = LinkTime(*timeText))) {
            return refuse("time is written hours:minutes, such as 14:30", "time 的值要写作 时:分，如 14:30");
        }
        if (!today && !(date || lunar)) return refuse("no day to read", "没有可测算的日期");
        JsonWriter writer(-1);
        writer.StartObject();
        writer.Member("date", lunar ? *lunar : date ? *date : IsoDate(today->date));
        writer.Member("lunar", lunar != nullptr);
        const std::string* period = find("period");
        writer.Member("period", time ? *time : period ? *period : !(date || lunar) ? PeriodAt(today->hour) : "子");
        for (const std::string_view name : ConventionParameters) {
            if (const std::string* value = find(name)) writer.Member(name, *value);
        }
        for (const auto& [parameter, member] : {std::pair<std::string_view, std::string_view>{"place", "place"},
                                               {"lon", "longitude"}, {"zone", "zone"}}) {
            const std::string* value = find(parameter);
            if (value && !Trimmed(*value).empty()) writer.Member(member, Trimmed(*value));
        }
        if (const std::string* solarTime = find("solarTime")) writer.Member("solarTime", *solarTime);
        writer.Member("script", ScriptName(script));
        writer.Member("language", "zh");
        writer.EndObject();
        return std::move(writer).Take();
    };
    const auto todays = [&]() {
        JsonWriter writer(-1);
        writer.StartObject();
        writer.Member("date", today ? IsoDate(today->date) : std::string("2000-01-01"));
        writer.Member("period", PeriodAt(today ? today->hour : 0));
        writer.Member("script", ScriptName(script));
        writer.Member("language", "zh");
        writer.EndObject();
        return std::move(writer).Take();
    };

    Result<std::string> requestJson = read.fromLink ? requestOf() : Result<std::string>(todays());
    Result<Request> request = requestJson ? ParseRequest(*requestJson) : Result<Request>(requestJson.error());
    // The reading too must be had: a late 子 on the last day cannot be read on the next.
    Result<BirthReading> reading = request ? Read(request->birth, request->options) : Result<BirthReading>(request.error());
    if (!reading) {
        read.message = T(script, "无法打开链接：") + reading.error().Reason(language) +
                       T(script, "。已显示今天的测算。");
        requestJson = todays();
        request = ParseRequest(*requestJson);
        reading = Read(request->birth, request->options);
    }
    read.requestJson = *requestJson;
    read.request = *request;
    if (reading) read.reading = std::move(*reading);
    read.today = !read.message.empty() || !(find("date") || find("lunar"));
    if (read.message.empty()) {
        if (read.request.birth.clock) {
            const ClockTime& clock = *read.request.birth.clock;
            read.time = (clock.hour < 10 ? "0" : "") + std::to_string(clock.hour) + ":" +
                        (clock.minute < 10 ? "0" : "") + std::to_string(clock.minute);
        }
        for (const auto& [name, field] : {std::pair<std::string_view, std::string*>{"place", &read.place},
                                          {"lon", &read.lon}, {"zone", &read.zone}}) {
            if (const std::string* value = find(name)) *field = Trimmed(*value);
        }
    }
    return read;
}

std::string LinkJson(std::string_view requestJson) {
    constexpr std::array<std::string_view, 6> Members{"link", "today", "script", "markup", "steps", "language"};
    const Result<std::vector<JsonMember>> members = ReadFlatObject(requestJson, Members);
    if (!members) return ErrorJson(members.error(), Language::English);
    const Language language = LanguageOf(*members);
    std::string_view link, today;
    bool markup = false, steps = false;
    for (const JsonMember& member : *members) {
        std::optional<Error> error;
        if (member.name == "link" || member.name == "today") {
            const std::string* text = TextOf(member.value);
            if (text == nullptr) {
                error = WrongKind(member.name, "a string", "字符串");
            } else {
                (member.name == "link" ? link : today) = *text;
            }
        } else if (member.name == "markup" || member.name == "steps") {
            const bool* flag = std::get_if<bool>(&member.value);
            if (flag == nullptr) error = WrongKind(member.name, "true or false", "true 或 false");
            else (member.name == "markup" ? markup : steps) = *flag;
        } else if (member.name == "script") {
            error = CheckScript(member);
        } else if (member.name == "language") {
            if (const Result<Language> read = ReadLanguage(member); !read) error = read.error();
        } else {
            error = UnknownMember(member.name, Members);
        }
        if (error) return ErrorJson(*error, language);
    }
    if (!TodayOf(today)) {
        return ErrorJson(refusal::BadRequest("today is the day and hour to read without a link: "
                                             "\"2026-12-08T14:30\"",
                                             [](Script s) {
                                                 return T(s, "today 应是没有链接时测算的日期和钟点，如 "
                                                             "\"2026-12-08T14:30\"");
                                             }),
                         language);
    }
    const LinkReading read = ReadLink(link, today, ScriptOf(*members));
    const Script script = read.request.script;
    // (Today's reading is always had; null stands for none.)
    const std::string reading = !read.reading ? "null"
                                : markup      ? ReadingJsonWithMarkup(*read.reading, -1, script, steps)
                                              : ReadingJson(*read.reading, -1, script, steps);
    return WrittenJson(-1, [&](JsonWriter& writer) {
        writer.StartObject();
        writer.Member("fromLink", read.fromLink);
        writer.Key("request");
        writer.Json(read.requestJson);
        writer.Member("time", read.time);
        writer.Member("place", read.place);
        writer.Member("lon", read.lon);
        writer.Member("zone", read.zone);
        writer.Key("message");
        if (read.message.empty()) {
            writer.Null();
        } else {
            writer.String(read.message);
        }
        writer.Key("reading");
        writer.Json(reading);
        writer.EndObject();
    });
}

CHENGGU_END_NAMESPACE
