#include "service/routes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include <nlohmann/json.hpp>

#include "chenggu/json.h"
#include "chenggu/version.h"
#include "interface/birthdays_json.h"
#include "interface/calendar_json.h"
#include "interface/error_json.h"
#include "text/messages.h"
#include "text/query_text.h"
#include "text/utf8.h"
#include "service/mcp.h"
#include "service/metrics.h"
#include "service/embedded_files.h"
#include "service/reading_page.h"
#include "service/say.h"

namespace chenggu::service {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view JsonType = "application/json";
constexpr std::string_view ProblemType = "application/problem+json";

constexpr std::array<std::string_view, RouteCount> RouteNames{
    "/",          "/healthz",     "/readyz",    "/metrics", "/openapi.json",
    "/v1/reading", "/v1/readings", "/v1/places", "/v1/calendar", "/v1/months",
    "/v1/date",   "/v1/terms",    "/v1/birthdays.ics", "/mcp", "other"};

Script ScriptOf(Language language) {
    return language == Language::TraditionalChinese ? Script::Traditional : Script::Simplified;
}

// The one line a language tells: English, or Chinese in the script it is written in.
std::string Told(Language language, std::string_view english, std::string_view chinese) {
    return language == Language::English ? std::string(english)
                                         : Say(ScriptOf(language), chinese);
}

std::string_view Header(const HttpResponse& response, std::string_view name) {
    for (const auto& [key, value] : response.headers) {
        if (key == name) return value;
    }
    return {};
}

std::string Lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A weight of Accept-Language: 0 to 1 with at most three decimals; nothing when malformed.
std::optional<double> Weight(std::string_view text) {
    const bool form = !text.empty() && text.size() <= 5 && (text[0] == '0' || text[0] == '1') &&
                      (text.size() == 1 || text[1] == '.') &&
                      std::all_of(text.begin() + std::min<std::size_t>(2, text.size()), text.end(),
                                  [](char c) { return c >= '0' && c <= '9'; });
    if (!form) return std::nullopt;
    int thousandths = (text[0] - '0') * 1000;
    for (std::size_t i = 2, scale = 100; i < text.size(); ++i, scale /= 10) {
        thousandths += (text[i] - '0') * static_cast<int>(scale);
    }
    return thousandths <= 1000 ? std::optional<double>(thousandths / 1000.0) : std::nullopt;
}

// --- The query --------------------------------------------------------------------------

struct Query {
    std::vector<std::pair<std::string, std::string>> parameters;
    const std::string* Find(std::string_view name) const {
        for (const auto& [key, value] : parameters) {
            if (key == name) return &value;
        }
        return nullptr;
    }
};

std::string_view PathOf(std::string_view target) {
    return target.substr(0, target.find('?'));
}

// The query's parameters, each name known to the route and given once; or the problem.
Result<Query> ReadQuery(std::string_view target, std::initializer_list<std::string_view> known) {
    Query query;
    const std::size_t mark = target.find('?');
    if (mark == std::string_view::npos) return query;
    const auto refuse = [&](std::string english, std::string chinese) {
        return refusal::BadRequest(std::move(english), [&](Script s) { return Say(s, chinese); });
    };
    for (const auto& [rawName, rawValue] : QueryPairs(target.substr(mark))) {
        const std::optional<std::string> name = QueryComponent(rawName, true);
        const std::optional<std::string> value = QueryComponent(rawValue, true);
        if (!name || !value) {
            return refuse("the query has a broken %-escape", "查询参数里有无效的 % 转义");
        }
        if (ValidUtf8(*name) != *name || ValidUtf8(*value) != *value) {
            return refuse("the query is not UTF-8", "查询参数不是 UTF-8 编码");
        }
        if (std::find(known.begin(), known.end(), *name) == known.end()) {
            std::string list;
            for (const std::string_view k : known) list += (list.empty() ? "" : ", ") + std::string(k);
            const std::string shown = Printable(*name);
            return refuse("unknown parameter " + shown + "; this route takes " + list,
                          "无法识别的参数 " + shown + "；这个地址接受 " + list);
        }
        if (query.Find(*name) != nullptr) {
            return refuse("parameter " + *name + " is given more than once",
                          "参数 " + *name + " 出现了不止一次");
        }
        query.parameters.emplace_back(*name, *value);
    }
    return query;
}

// A parameter as a JSON value: a whole number as a number (years, limits), else text.
Json NumberOrText(const std::string& text) {
    const bool digits = !text.empty() && text.size() <= 9 &&
                        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? Json(std::stoi(text)) : Json(text);
}

// --- Answers ----------------------------------------------------------------------------

HttpResponse JsonAnswer(std::string body) {
    return {200, std::string(JsonType), std::move(body), {}};
}

// The answer of a library function of JSON in, JSON out: its answer, or its refusal as a
// problem in the request's language.
HttpResponse LibraryAnswer(std::string answer, Language language) {
    if (answer.rfind("{\"error\":", 0) != 0) return JsonAnswer(std::move(answer));
    const Json refusal = Json::parse(answer, nullptr, false);
    const std::string code = refusal.value("code", "bad-request");
    const std::string detail = refusal.value("error", "");
    const int status = code == "request-too-large" ? 413 : 400;
    return Problem(status, code, detail, language);
}

// The library's request of a query: each parameter under its member's name, a year as a
// number when it is written as one.
Json RequestOf(const Query& query, Language language) {
    Json request = Json::object();
    for (const auto& [name, value] : query.parameters) {
        request[name] = name == "year" ? NumberOrText(value) : Json(value);
    }
    request["language"] = language == Language::English ? "en" : "zh";
    return request;
}

// A reading request answered as chenggu_read_json answers it; a refusal as a problem.
HttpResponse ReadingOf(std::string_view json, Language language) {
    const Result<Request> request = ParseRequest(json);
    if (!request) return Problem(request.error(), language);
    const Result<std::string> answer = AnswerJson(*request, -1);
    if (!answer) return Problem(answer.error(), language);
    return JsonAnswer(*answer);
}

// GET /v1/reading: the page's link parameters as the library's request.
HttpResponse ReadingFromQuery(const HttpRequest& http, Language language) {
    const Result<Query> query =
        ReadQuery(http.target,
                  {"date", "lunar", "period", "time", "place", "lon", "zone", "lateZi",
                   "yearStart", "leapMonth", "calendarRule", "solarTime", "script"});
    if (!query) return Problem(query.error(), language);
    const std::string* date = query->Find("date");
    const std::string* lunar = query->Find("lunar");
    const std::string* period = query->Find("period");
    const std::string* time = query->Find("time");
    if (date != nullptr && lunar != nullptr) {
        return Problem(400, "bad-request",
                       Told(language, "give date or lunar, not both", "date 和 lunar 只能给出一个"),
                       language);
    }
    if (period != nullptr && time != nullptr) {
        return Problem(400, "bad-request",
                       Told(language, "give period or time, not both", "period 和 time 只能给出一个"),
                       language);
    }
    // The members in the order of the parameters, so that the first fault named is the
    // link's first.
    Json request = Json::object();
    for (const auto& [name, value] : query->parameters) {
        if (name == "lunar") {
            request["date"] = value;
            request["lunar"] = true;
        } else {
            request[name == "time" ? "period" : name == "lon" ? "longitude" : name] = value;
        }
    }
    return ReadingOf(request.dump(), language);
}

HttpResponse FromQuery(const HttpRequest& http, Language language,
                       std::initializer_list<std::string_view> known,
                       std::string (*answer)(std::string_view)) {
    const Result<Query> query = ReadQuery(http.target, known);
    if (!query) return Problem(query.error(), language);
    return LibraryAnswer(answer(RequestOf(*query, language).dump()), language);
}

// GET /v1/date: lunar is true or false, as the description declares; 1, yes or TRUE would
// otherwise pass for one of them unnoticed.
HttpResponse DateFromQuery(const HttpRequest& http, Language language) {
    const Result<Query> query = ReadQuery(http.target, {"date", "lunar"});
    if (!query) return Problem(query.error(), language);
    Json request = RequestOf(*query, language);
    if (const std::string* lunar = query->Find("lunar")) {
        if (*lunar != "true" && *lunar != "false") {
            const std::string shown = Printable(*lunar);
            return Problem(400, "bad-request",
                           Told(language, "lunar is true or false, not " + shown,
                                "lunar 应是 true 或 false，不是 " + shown),
                           language);
        }
        request["lunar"] = *lunar == "true";
    }
    return LibraryAnswer(DateJson(request.dump()), language);
}

// GET /v1/birthdays.ics: the lunar birthdays of a birth as an iCalendar file.
HttpResponse BirthdaysFromQuery(const HttpRequest& http, Language language) {
    const Result<Query> query = ReadQuery(http.target, {"date", "lunar", "from", "to", "script"});
    if (!query) return Problem(query.error(), language);
    BirthdaysRequest request;
    const std::string* date = query->Find("date");
    if (date == nullptr) {
        return Problem(400, "bad-request", Told(language, "give the birth's date", "请给出出生日期 date"), language);
    }
    request.date = *date;
    if (const std::string* lunar = query->Find("lunar")) {
        if (*lunar != "true" && *lunar != "false") {
            const std::string shown = Printable(*lunar);
            return Problem(400, "bad-request",
                           Told(language, "lunar is true or false, not " + shown, "lunar 应是 true 或 false，不是 " + shown),
                           language);
        }
        request.lunar = *lunar == "true";
    }
    for (const auto& [name, year] : {std::pair{"from", &request.from}, std::pair{"to", &request.to}}) {
        if (const std::string* text = query->Find(name)) {
            const Json number = NumberOrText(*text);
            if (!number.is_number()) {
                const std::string shown = Printable(*text);
                return Problem(400, "bad-request",
                               Told(language, std::string(name) + " is a lunar year, not " + shown,
                                    std::string(name) + " 应是农历年份，不是 " + shown),
                               language);
            }
            *year = number.get<std::int64_t>();
        }
    }
    if (const std::string* script = query->Find("script")) {
        const std::optional<Script> named = ParseScript(*script);
        if (!named) {
            return Problem(400, "bad-request",
                           Told(language, "script is simplified or traditional", "script 应是 simplified 或 traditional"),
                           language);
        }
        request.script = *named;
    }
    const Result<BirthdaysAnswer> answer = AnswerBirthdays(request, std::chrono::system_clock::now());
    if (!answer) return Problem(answer.error(), language);
    return {200, "text/calendar; charset=utf-8", answer->ics,
            {{"Content-Disposition", "attachment; filename=\"lunar-birthdays.ics\""}}};
}

// Whether a page of this origin may call the protocol's route: none given (not a browser),
// the server's own (the Host it was asked by), or one of those configured.
bool OriginAllowed(std::string_view origin, std::string_view host,
                   const std::vector<std::string>* allowed) {
    if (origin.empty()) return true;
    const std::string mine = Lowered(origin);
    if (allowed != nullptr) {
        for (const std::string& other : *allowed) {
            if (other == "*" || Lowered(other) == mine) return true;
        }
    }
    const std::size_t scheme = mine.find("://");
    return scheme != std::string::npos && !host.empty() &&
           (mine.starts_with("http://") || mine.starts_with("https://")) &&
           mine.substr(scheme + 3) == Lowered(host);
}

// The protocol over HTTP: a page of another site may not call it (a DNS rebinding or a
// cross-site form would), the revision a client names must be one spoken, and the body must
// be declared JSON, which a form cannot send without a preflight. Status 0 when it may go on.
HttpResponse CheckMcpRequest(const HttpRequest& http, const ServiceContext& context,
                             Language language) {
    if (!OriginAllowed(http.origin, http.host, context.mcpOrigins)) {
        const std::string shown = Printable(http.origin);
        return Problem(403, "forbidden-origin",
                       Told(language, "pages of " + shown + " may not call /mcp (see --mcp-origin)",
                            "来自 " + shown + " 的网页不能调用 /mcp（见 --mcp-origin）"),
                       language);
    }
    if (!http.protocolVersion.empty() && !SupportedRevision(http.protocolVersion)) {
        const std::string shown = Printable(http.protocolVersion);
        return Problem(400, "bad-request",
                       Told(language, "MCP-Protocol-Version " + shown + " is not one this server speaks",
                            "不支持 MCP-Protocol-Version " + shown),
                       language);
    }
    if (Lowered(Trimmed(http.contentType.substr(0, http.contentType.find(';')))) != "application/json") {
        return Problem(415, "unsupported-media-type",
                       Told(language, "a message to /mcp is sent as Content-Type: application/json",
                            "发往 /mcp 的消息须以 Content-Type: application/json 发送"),
                       language);
    }
    return {0, {}, {}, {}};
}

HttpResponse Places(const HttpRequest& http, Language language) {
    const Result<Query> query = ReadQuery(http.target, {"q", "limit", "near", "script"});
    if (!query) return Problem(query.error(), language);
    Json request = Json::object();
    if (const std::string* q = query->Find("q")) request["query"] = *q;
    if (const std::string* near = query->Find("near")) request["near"] = *near;
    if (const std::string* limit = query->Find("limit")) request["limit"] = NumberOrText(*limit);
    if (const std::string* script = query->Find("script")) request["script"] = *script;
    request["language"] = language == Language::English ? "en" : "zh";
    return LibraryAnswer(SearchPlacesJson(request.dump()), language);
}

HttpResponse Page(const HttpRequest& http, const ServiceContext& context, Language language) {
    std::string_view path = PathOf(http.target);
    if (path == "/") path = "/index.html";
    if (context.web != nullptr) {
        if (const WebFile* file = context.web->Find(path)) {
            const bool index = path == "/index.html";
            HttpResponse response{200, std::string(file->contentType), index ? "" : file->content, {}};
            if (index) {
                const std::size_t mark = http.target.find('?');
                const PageRequest request{mark == std::string_view::npos ? "" : http.target.substr(mark + 1),
                                       context.publicUrl, http.host,
                                       LanguageOf(http.acceptLanguage) == Language::TraditionalChinese
                                           ? Script::Traditional
                                           : Script::Simplified,
                                       std::chrono::system_clock::now()};
                std::optional<PageTemplate> own;
                const PageTemplate& page = context.page != nullptr ? *context.page : own.emplace(file->content);
                ReadingPage rendered = page.Render(request);
                response.body = std::move(rendered.html);
                response.madeFrom = std::move(rendered.madeFrom);
                // Today's reading changes with the hour.
                if (rendered.today) response.headers.emplace_back("Cache-Control", "no-cache");
            }
            if (path.starts_with("/preview/")) {
                response.headers.emplace_back("Cache-Control", "public, max-age=2592000");
            }
            if (file->contentType.starts_with("text/html")) {
                response.headers.emplace_back("Content-Security-Policy", std::string(PagePolicy));
            }
            return response;
        }
    }
    const std::string body = Told(
        language,
        "<!doctype html><html lang=\"en\"><meta charset=\"utf-8\"><title>chenggu</title>"
        "<p>This build of chenggu serves the API (<a href=\"/openapi.json\">/openapi.json</a>) "
        "without the web page. Build the page with <code>scripts/web --build</code> and start "
        "<code>chenggu serve --web build/web</code>, or build the command again after it to "
        "embed the page.</p></html>\n",
        "<!doctype html><html lang=\"zh-CN\"><meta charset=\"utf-8\"><title>称骨算命</title>"
        "<p>这个 chenggu 只提供接口（<a href=\"/openapi.json\">/openapi.json</a>），没有网页。"
        "先用 <code>scripts/web --build</code> 生成网页，再运行 "
        "<code>chenggu serve --web build/web</code>；或生成网页后重新构建 chenggu，把网页嵌入程序。</p></html>\n");
    return {200, "text/html; charset=utf-8", body, {}};
}

std::string ProblemTitle(int status, Language language) {
    switch (status) {
        case 404: return Told(language, "Not Found", "没有这个地址");
        case 403: return Told(language, "Forbidden", "不允许这个来源");
        case 405: return Told(language, "Method Not Allowed", "这个地址不接受这种请求方法");
        case 413: return Told(language, "Content Too Large", "请求太大");
        case 415: return Told(language, "Unsupported Media Type", "不支持这种正文类型");
        case 431: return Told(language, "Request Header Fields Too Large", "请求头太大");
        case 503: return Told(language, "Service Unavailable", "服务正忙");
        default: return Told(language, "Bad Request", "请求有误");
    }
}

}  // namespace

std::string_view RouteName(Route route) {
    return RouteNames[std::min(static_cast<std::size_t>(route), RouteCount - 1)];
}

Route RouteOf(std::string_view target, const WebFiles& web) {
    const std::string_view path = PathOf(target);
    for (std::size_t i = 0; i + 1 < RouteCount; ++i) {
        if (RouteNames[i] == path) return static_cast<Route>(i);
    }
    if (path == "/index.html" || web.Find(path) != nullptr) return Route::Page;
    return Route::Other;
}

std::string_view MethodsOf(Route route) {
    switch (route) {
        case Route::Reading: return "GET, POST, OPTIONS";
        case Route::Readings: return "POST, OPTIONS";
        case Route::Mcp: return "POST, OPTIONS";
        case Route::Other: return "";
        default: return "GET, HEAD, OPTIONS";
    }
}

Language LanguageOf(std::string_view acceptLanguage) {
    // The tag of highest weight, the first of equal ones, that is English or Chinese. Each
    // element is a range and its parameters (RFC 9110: blanks around ";", "q" in either case).
    std::optional<Language> best;
    double bestQuality = 0;
    while (!acceptLanguage.empty()) {
        const std::size_t end = std::min(acceptLanguage.find(','), acceptLanguage.size());
        std::string_view item = acceptLanguage.substr(0, end);
        acceptLanguage.remove_prefix(std::min(end + 1, acceptLanguage.size()));
        std::optional<double> quality = 1;
        const std::string tag = Lowered(Trimmed(item.substr(0, item.find(';'))));
        for (std::size_t semicolon = item.find(';'); semicolon != std::string_view::npos;) {
            const std::size_t next = item.find(';', semicolon + 1);
            const std::string parameter = Lowered(Trimmed(item.substr(semicolon + 1, next - semicolon - 1)));
            if (parameter.starts_with("q=")) quality = Weight(parameter.substr(2));
            semicolon = next;
        }
        std::optional<Language> language;
        if (tag == "en" || tag.starts_with("en-")) language = Language::English;
        if (tag == "zh" || tag.starts_with("zh-")) {
            const bool traditional = tag.find("-tw") != std::string::npos ||
                                     tag.find("-hk") != std::string::npos ||
                                     tag.find("-mo") != std::string::npos ||
                                     tag.find("-hant") != std::string::npos;
            language = traditional ? Language::TraditionalChinese : Language::Chinese;
        }
        if (language && quality && *quality > bestQuality) {
            best = language;
            bestQuality = *quality;
        }
    }
    return best.value_or(Language::Chinese);
}

HttpResponse Problem(int status, std::string_view code, std::string_view detail,
                     Language language) {
    Json problem = Json::object();
    problem["type"] = "urn:chenggu:error:" + std::string(code);
    problem["title"] = ProblemTitle(status, language);
    problem["status"] = status;
    problem["detail"] = detail;
    problem["code"] = code;
    return {status, std::string(ProblemType), problem.dump(), {}};
}

HttpResponse Problem(const Error& error, Language language) {
    const int status = error.code == ErrorCode::RequestTooLarge ? 413 : 400;
    return Problem(status, ErrorCodeName(error.code), error.Reason(language), language);
}

HttpResponse TooLarge(std::size_t limit, Language language) {
    const std::string mib = std::to_string(limit >> 20);
    return Problem(413, "request-too-large",
                   Told(language, "a request body may hold at most " + mib + " MiB",
                        "请求正文最多 " + mib + " MiB"),
                   language);
}

HttpResponse HeaderTooLarge(Language language) {
    return Problem(431, "request-too-large",
                   Told(language, "a request's header may hold at most 64 KiB",
                        "请求头最多 64 KiB"),
                   language);
}

HttpResponse LineTooLong(Language language) {
    return Problem(400, "request-too-large",
                   Told(language, "a chunk's size line or the trailer may hold at most 128 KiB",
                        "分块长度行或尾部字段最多 128 KiB"),
                   language);
}

HttpResponse NotHttp(Language language) {
    return Problem(400, "bad-request",
                   Told(language, "the request is not HTTP/1.1 as it should be",
                        "请求不是合乎规范的 HTTP/1.1"),
                   language);
}

HttpResponse Busy(Language language) {
    HttpResponse busy = Problem(
        503, "service-busy",
        Told(language, "the server has as many connections open as it takes; try again shortly",
             "服务器的连接已满，请稍后再试"),
        language);
    busy.headers.emplace_back("Retry-After", "1");
    return busy;
}

HttpResponse CheckBatch(std::string_view body, Language language) {
    const std::size_t lines =
        static_cast<std::size_t>(std::count(body.begin(), body.end(), '\n')) +
        (!body.empty() && body.back() != '\n' ? 1 : 0);
    if (lines <= MostBatchLines) return {0, {}, {}, {}};
    const std::string most = std::to_string(MostBatchLines);
    return Problem(413, "request-too-large",
                   Told(language, "a batch may hold at most " + most + " lines",
                        "一批最多 " + most + " 行"),
                   language);
}

std::string BatchAnswers::Next(std::size_t bytes) {
    std::string out;
    while (!Done() && out.size() < bytes) {
        const std::size_t end = std::min(body_.find('\n', position_), body_.size());
        std::string_view line(body_.data() + position_, end - position_);
        position_ = end + 1;
        ++line_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        const Result<Request> request = ParseRequest(line);
        const Result<std::string> answer =
            request ? AnswerJson(*request, -1) : Result<std::string>(request.error());
        out += answer ? *answer : LineErrorJson(line_, line, answer.error(), language_);
        out += '\n';
    }
    return out;
}

std::string EntityTag(std::string_view body) {
    // A 64-bit hash of the body eight bytes at a time: a validator, not a secret, and cheap
    // beside the answer it tags (a reading's 3 KB in about 0.3 µs).
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ body.size();
    const auto mix = [&](std::uint64_t word) {
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    };
    std::size_t i = 0;
    for (; i + 8 <= body.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, body.data() + i, 8);
        mix(word);
    }
    std::uint64_t last = 0;
    if (i < body.size()) std::memcpy(&last, body.data() + i, body.size() - i);
    mix(last);
    constexpr char Hex[] = "0123456789abcdef";
    std::string tag = "\"";
    for (int shift = 60; shift >= 0; shift -= 4) tag += Hex[(hash >> shift) & 15];
    return tag + "\"";
}

bool Matches(std::string_view ifNoneMatch, std::string_view tag) {
    while (!ifNoneMatch.empty()) {
        const std::size_t end = std::min(ifNoneMatch.find(','), ifNoneMatch.size());
        std::string_view item = ifNoneMatch.substr(0, end);
        ifNoneMatch.remove_prefix(std::min(end + 1, ifNoneMatch.size()));
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        if (item.rfind("W/", 0) == 0) item.remove_prefix(2);
        if (item == "*" || item == tag) return true;
    }
    return false;
}

HttpResponse Answer(const HttpRequest& http, const ServiceContext& context) {
    const Language language = LanguageOf(http.acceptLanguage);
    static const WebFiles none;
    const Route route = RouteOf(http.target, context.web != nullptr ? *context.web : none);
    const std::string_view methods = MethodsOf(route);
    if (route == Route::Other) {
        const std::string shown = Printable(PathOf(http.target));
        return Problem(404, "no-such-route",
                       Told(language, "no route " + shown + "; the routes are in /openapi.json",
                            "没有 " + shown + " 这个地址；所有地址见 /openapi.json"),
                       language);
    }
    if (http.method == "OPTIONS") {
        return {204, "", "", {{"Access-Control-Allow-Methods", std::string(methods)},
                              {"Access-Control-Allow-Headers",
                               "Content-Type, Accept, Accept-Language, If-None-Match, "
                               "Mcp-Session-Id, Mcp-Protocol-Version"},
                              {"Access-Control-Max-Age", "86400"},
                              {"Allow", std::string(methods)}}};
    }
    const bool get = http.method == "GET" || http.method == "HEAD";
    const bool allowed = (get && methods.find("GET") != std::string_view::npos) ||
                         (http.method == "POST" && methods.find("POST") != std::string_view::npos);
    if (!allowed) {
        const std::string method = Printable(http.method);
        HttpResponse refused = Problem(
            405, "method-not-allowed",
            Told(language, std::string(RouteName(route)) + " takes " + std::string(methods) + ", not " + method,
                 std::string(RouteName(route)) + " 只接受 " + std::string(methods) + "，不接受 " + method),
            language);
        refused.headers.emplace_back("Allow", std::string(methods));
        return refused;
    }

    HttpResponse response;
    switch (route) {
        case Route::Page: response = Page(http, context, language); break;
        case Route::Healthz:
            response = JsonAnswer(R"({"status":"ok","version":")" CHENGGU_VERSION "\"}");
            break;
        case Route::Readyz:
            // Ready while it takes new work; from a stop's signal on, it drains.
            if (context.draining != nullptr && context.draining->load()) {
                response = {503, std::string(JsonType), R"({"status":"draining"})", {{"Retry-After", "1"}}};
            } else {
                response = JsonAnswer(R"({"status":"ready"})");
            }
            break;
        case Route::Metrics:
            response = {200, "text/plain; version=0.0.4; charset=utf-8",
                        context.metrics != nullptr ? context.metrics->Text() : "", {}};
            break;
        case Route::OpenApi: response = JsonAnswer(std::string(EmbeddedOpenApi())); break;
        case Route::Reading:
            response = get ? ReadingFromQuery(http, language) : ReadingOf(http.body, language);
            break;
        case Route::Places: response = Places(http, language); break;
        case Route::Calendar:
            response = FromQuery(http, language, {"from", "to", "script"}, CalendarJson);
            break;
        case Route::Months:
            response = FromQuery(http, language, {"calendar", "year", "script"}, MonthsJson);
            break;
        case Route::Date:
            response = DateFromQuery(http, language);
            break;
        case Route::Terms: response = FromQuery(http, language, {"year", "script"}, TermsJson); break;
        case Route::Birthdays: response = BirthdaysFromQuery(http, language); break;
        case Route::Mcp: {
            if (HttpResponse refused = CheckMcpRequest(http, context, language); refused.status != 0) {
                return refused;
            }
            std::optional<std::string> answer = McpAnswer(http.body);
            if (!answer) return {202, "", "", {}};
            response = JsonAnswer(std::move(*answer));
            break;
        }
        default: {
            // POST /v1/readings streams from the server; here for a caller without one.
            if (const HttpResponse tooMany = CheckBatch(http.body, language); tooMany.status != 0) {
                return tooMany;
            }
            BatchAnswers batch(std::string(http.body), language);
            response = {200, "application/x-ndjson", batch.Next(std::string::npos), {}};
            break;
        }
    }
    // The answers of GET depend on nothing but the request and this version: cacheable.
    if (get && response.status == 200 && route != Route::Metrics && route != Route::Healthz &&
        route != Route::Readyz) {
        const std::string tag = EntityTag(response.madeFrom.empty() ? response.body : response.madeFrom);
        if (Header(response, "Cache-Control").empty()) {
            response.headers.emplace_back("Cache-Control", "public, max-age=86400");
        }
        response.headers.emplace_back("ETag", tag);
        if (Matches(http.ifNoneMatch, tag)) {
            response.status = 304;
            response.body.clear();
        }
    }
    return response;
}

}  // namespace chenggu::service
