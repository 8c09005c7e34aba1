// The service's answers without a socket: every route against the library's own JSON
// functions, the problems of bad requests, caching, the description's routes, and the Model
// Context Protocol's messages.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "chenggu/json.h"
#include "interface/calendar_json.h"
#include "service/embedded_files.h"
#include "service/mcp.h"
#include "service/rpc_message.h"
#include "service/routes.h"

namespace chenggu::service {
namespace {

using Json = nlohmann::json;

std::string Escaped(std::string_view text) {
    std::string out;
    constexpr char Hex[] = "0123456789ABCDEF";
    for (const char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 15];
        }
    }
    return out;
}

HttpResponse Get(std::string target, std::string_view language = "") {
    const WebFiles web;
    return Answer({"GET", target, "", language, ""}, {&web, nullptr});
}

HttpResponse Post(std::string target, std::string_view body, std::string_view language = "") {
    const WebFiles web;
    return Answer({"POST", target, body, language, ""}, {&web, nullptr});
}

std::string Header(const HttpResponse& response, std::string_view name) {
    for (const auto& [key, value] : response.headers) {
        if (key == name) return value;
    }
    return {};
}

bool HasChinese(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE4; });
}

// Random births as the page's links and as the library's requests: dates across the range in
// both calendars, periods, clock times with places, longitudes and zones, every convention,
// both scripts, and now and then a wrong value.
TEST(Routes, AnswerHiddenRequestsAsTheLibrary) {
    std::mt19937_64 random(22);
    const auto pick = [&](std::initializer_list<const char*> values) {
        return std::string(*(values.begin() + random() % values.size()));
    };
    std::string batch, expected;
    for (int i = 0; i < 3000; ++i) {
        std::vector<std::pair<std::string, std::string>> query;
        nlohmann::ordered_json request = nlohmann::ordered_json::object();
        const int year = 1646 + static_cast<int>(random() % 455);
        const std::string date = std::to_string(year) + "-" + std::to_string(1 + random() % 12) +
                                 "-" + std::to_string(1 + random() % (i % 50 == 0 ? 31 : 28));
        if (random() % 4 == 0) {
            query.emplace_back("lunar", date);
            request["date"] = date;
            request["lunar"] = true;
        } else {
            query.emplace_back("date", date);
            request["date"] = date;
        }
        if (random() % 3 == 0) {
            const std::string time = std::to_string(random() % 24) + ":" + pick({"00", "30", "59"});
            query.emplace_back("time", time);
            request["period"] = time;
            if (random() % 2) {
                const std::string place = pick({"北京", "乌鲁木齐", "Hong Kong", "四川成都", "朝阳", "火星"});
                query.emplace_back("place", place);
                request["place"] = place;
            } else {
                const std::string lon = pick({"87.6", "116°24′", "-74.006", "181"});
                query.emplace_back("lon", lon);
                query.emplace_back("zone", pick({"Asia/Shanghai"}));
                request["longitude"] = lon;
                request["zone"] = "Asia/Shanghai";
            }
        } else if (random() % 12 != 0) {  // else the twelve readings of the day
            const std::string period = pick({"子", "丑", "寅时", "午", "亥", "早子", "晚子", "巳時", "戌"});
            query.emplace_back("period", period);
            request["period"] = period;
        }
        for (const auto& [name, values] :
             {std::pair{"lateZi", std::vector<const char*>{"same-day", "next-day"}},
              {"yearStart", {"new-year", "spring"}},
              {"leapMonth", {"whole", "split", "half"}},
              {"calendarRule", {"printed", "computed"}},
              {"script", {"simplified", "traditional"}}}) {
            if (random() % 3 == 0) {
                const std::string value = values[random() % values.size()];
                query.emplace_back(name, value);
                request[name] = value;
            }
        }
        std::string target = "/v1/reading?";
        for (const auto& [name, value] : query) target += name + "=" + Escaped(value) + "&";

        const std::string json = request.dump();
        const std::string library = ReadJson(json);
        const HttpResponse get = Get(target);
        const HttpResponse post = Post("/v1/reading", json);
        if (library.rfind("{\"error\"", 0) == 0) {
            const std::string code = Json::parse(library)["code"];
            for (const HttpResponse* refused : {&get, &post}) {
                ASSERT_EQ(refused->contentType, "application/problem+json") << target;
                ASSERT_EQ(Json::parse(refused->body)["code"], code) << target;
                ASSERT_EQ(refused->status, 400);
            }
        } else {
            ASSERT_EQ(get.status, 200) << target << get.body;
            ASSERT_EQ(get.body, library) << target;
            ASSERT_EQ(post.body, library) << json;
        }
        batch += json + (i % 100 == 0 ? "\r\n\n" : "\n");
        expected += library.rfind("{\"error\"", 0) == 0 ? Json::parse(library)["code"].get<std::string>()
                                                         : library;
        expected += "\n";
    }
    // The batch: one answer a line in order; a refused line as its code.
    const HttpResponse answered = Post("/v1/readings", batch);
    ASSERT_EQ(answered.status, 200);
    std::string got;
    std::istringstream lines(answered.body);
    for (std::string line; std::getline(lines, line);) {
        got += line.rfind("{\"line\"", 0) == 0 ? Json::parse(line)["code"].get<std::string>() : line;
        got += "\n";
    }
    EXPECT_EQ(got, expected);
}

TEST(Routes, OtherRoutesAnswerAsTheirLibraryFunctions) {
    EXPECT_EQ(Get("/v1/places?q=%E6%88%90%E9%83%BD&limit=3").body,
              SearchPlacesJson(R"({"query": "成都", "limit": 3})"));
    EXPECT_EQ(Get("/v1/places?q=%E6%9C%9D%E9%98%B3&near=%E5%8C%97%E4%BA%AC%E5%B8%82").body,
              SearchPlacesJson(R"({"query": "朝阳", "near": "北京市"})"));
    EXPECT_EQ(Get("/v1/months?calendar=lunar&year=2020&script=traditional").body,
              MonthsJson(R"({"calendar": "lunar", "year": 2020, "script": "traditional"})"));
    EXPECT_EQ(Get("/v1/date?date=2020-%E9%97%B04-1&lunar=true").body,
              DateJson(R"({"date": "2020-闰4-1", "lunar": true})"));
    EXPECT_EQ(Get("/v1/terms?year=2100").body, TermsJson(R"({"year": 2100})"));
    EXPECT_EQ(Get("/v1/calendar?from=2024-02-01&to=2024-02-29").body,
              CalendarJson(R"({"from": "2024-02-01", "to": "2024-02-29"})"));
    EXPECT_EQ(Json::parse(Get("/healthz").body)["status"], "ok");
}

// The calendar of a range, day by day, against the library's conversion of each day alone
// (one walks a cursor, the other converts each date): windows across the whole range.
TEST(Routes, CalendarRangeAgreesWithEachDayConverted) {
    for (int start = 1901; start <= 2091; start += 10) {
        const std::string from = std::to_string(start) + "-01-01";
        const std::string to = std::to_string(start + 9) + "-12-31";
        const Json range = Json::parse(CalendarJson(Json{{"from", from}, {"to", to}}.dump()));
        ASSERT_TRUE(range.contains("days")) << range.dump();
        EXPECT_EQ(range["days"].front()["date"], from);
        EXPECT_EQ(range["days"].back()["date"], to);
        for (const Json& day : range["days"]) {
            const Json single = Json::parse(DateJson(Json{{"date", day["date"]}}.dump()));
            ASSERT_EQ(day["lunarYear"], single["lunarYear"]) << day["date"];
            ASSERT_EQ(day["lunarMonth"], single["lunarMonth"]) << day["date"];
            ASSERT_EQ(day["lunarDay"], single["lunarDay"]) << day["date"];
            ASSERT_EQ(day["leapMonth"], single["leapMonth"]) << day["date"];
        }
    }
    const Json tooLong = Json::parse(CalendarJson(R"({"from": "1901-01-01", "to": "1911-01-10"})"));
    EXPECT_EQ(tooLong["code"], "request-too-large");
    EXPECT_EQ(Json::parse(CalendarJson(R"({"from": "2000-01-02", "to": "2000-01-01"})"))["code"],
              "bad-request");
}

TEST(Routes, RefuseWithProblemDetailsInTheReadersLanguage) {
    struct Case {
        std::string method, target, body;
        int status;
        std::string code;
    };
    const std::string tooManyLines(MostBatchLines + 1, '\n');
    const std::vector<Case> cases{
        {"GET", "/v2/reading", "", 404, "no-such-route"},
        {"DELETE", "/v1/reading?date=1990-01-30", "", 405, "method-not-allowed"},
        {"POST", "/v1/terms", "", 405, "method-not-allowed"},
        {"POST", "/v1/reading", "{\"date\": \"1990-01-30\",", 400, "bad-request"},
        {"POST", "/v1/reading", "[]", 400, "bad-request"},
        {"GET", "/v1/reading?date=1990-01-30&date=1990-01-31", "", 400, "bad-request"},
        {"GET", "/v1/reading?date=1990-01-30&from=singlemessage", "", 400, "bad-request"},
        {"GET", "/v1/reading?date=1990-01-30&lunar=1990-1-4", "", 400, "bad-request"},
        {"GET", "/v1/reading?date=%E6%88%9", "", 400, "bad-request"},
        {"GET", "/v1/reading?date=%FF", "", 400, "bad-request"},
        {"GET", "/v1/reading?period=%E5%AD%90", "", 400, "bad-request"},
        {"GET", "/v1/reading?date=2101-01-01", "", 400, "outside-range"},
        {"GET", "/v1/reading?date=2021-01-01&time=9:00&place=%E7%81%AB%E6%98%9F", "", 400,
         "unknown-place"},
        {"GET", "/v1/terms?year=1644", "", 400, "outside-range"},
        {"GET", "/v1/terms?year=twenty", "", 400, "bad-request"},
        {"GET", "/v1/calendar?from=1901-01-01&to=2100-12-31", "", 413, "request-too-large"},
        {"POST", "/v1/readings", tooManyLines, 413, "request-too-large"},
    };
    for (const Case& c : cases) {
        for (const std::string_view language : {"", "en-US,en;q=0.9", "zh-TW"}) {
            const WebFiles web;
            const HttpResponse response =
                Answer({c.method, c.target, c.body, language, ""}, {&web, nullptr});
            const HttpResponse english =
                Answer({c.method, c.target, c.body, "en", ""}, {&web, nullptr});
            ASSERT_EQ(response.status, c.status) << c.method << " " << c.target << response.body;
            ASSERT_EQ(response.contentType, "application/problem+json");
            const Json problem = Json::parse(response.body);
            EXPECT_EQ(problem["code"], c.code) << c.target;
            EXPECT_EQ(problem["status"], c.status);
            EXPECT_EQ(problem["type"], "urn:chenggu:error:" + c.code);
            // Told in English under en, else in Chinese.
            const bool chinese = language.empty() || language == "zh-TW";
            EXPECT_EQ(response.body == english.body, !chinese) << c.target << " " << language;
            EXPECT_EQ(HasChinese(problem["title"].get<std::string>()), chinese);
            if (c.status == 405) {
                EXPECT_NE(Header(response, "Allow"), "");
            }
        }
    }
    EXPECT_NE(Json::parse(Get("/v1/reading?date=2101-01-01", "zh-TW").body)["detail"],
              Json::parse(Get("/v1/reading?date=2101-01-01", "zh-CN").body)["detail"]);
    EXPECT_EQ(LanguageOf("fr, en;q=0.5, zh;q=0.8"), Language::Chinese);
    EXPECT_EQ(LanguageOf("fr, zh;q=0.4, en-GB;q=0.5"), Language::English);
    // Blanks around the semicolon and Q in either case, as RFC 9110 allows; a malformed or
    // zero weight takes the language out.
    EXPECT_EQ(LanguageOf("fr, en; q=0.8"), Language::English);
    EXPECT_EQ(LanguageOf("fr, en ;Q=0.8, zh-TW;q=0.7"), Language::English);
    EXPECT_EQ(LanguageOf("en;q=0, zh-Hant;q=0.1"), Language::TraditionalChinese);
    EXPECT_EQ(LanguageOf("en;q=1.5"), Language::Chinese);
    EXPECT_EQ(LanguageOf("zh;q=0.500, en;q=0.501"), Language::English);
}

TEST(Routes, NamesAndLinesLongerThanAnyRealOneCostNothing) {
    const std::string name(100000, 'a');
    EXPECT_EQ(Json::parse(Get("/v1/reading?date=1990-01-30&time=12:00&place=" + name).body)["code"],
              "unknown-place");
    EXPECT_EQ(Json::parse(Get("/v1/reading?date=1990-01-30&time=12:00&lon=104&zone=" + name).body)["code"],
              "unknown-zone");
    // A name just within the bound is still searched, and told what it is near.
    const std::string within = Json::parse(Get("/v1/reading?date=1990-01-30&time=12:00&place=" +
                                               Escaped("成都" + std::string(98, 'x'))).body)["detail"];
    EXPECT_EQ(within.find("太长"), std::string::npos) << within;
    // A batch line of a mebibyte of control characters is quoted by its start only.
    const std::string line(1 << 20, '\x01');
    const std::string answer = Post("/v1/readings", line).body;
    EXPECT_LT(answer.size(), 1024u);
    EXPECT_NE(Json::parse(answer)["input"].get<std::string>().find("…"), std::string::npos);
    EXPECT_EQ(Post("/v1/readings", "1990-02-30 子").body.find(R"("input":"1990-02-30 子")"), 1u + std::string_view(R"("line":1,)").size());
}

TEST(Routes, GetAnswersAreCacheableAndCrossOrigin) {
    const HttpResponse first = Get("/v1/reading?date=1990-01-30&period=%E5%AD%90");
    const std::string tag = Header(first, "ETag");
    ASSERT_EQ(tag.size(), 18u);
    EXPECT_EQ(Header(first, "Cache-Control"), "public, max-age=86400");
    const WebFiles web;
    for (const std::string& ifNoneMatch : {tag, "\"x\", W/" + tag, std::string("*")}) {
        const HttpResponse again = Answer(
            {"GET", "/v1/reading?date=1990-01-30&period=%E5%AD%90", "", "", ifNoneMatch}, {&web, nullptr});
        EXPECT_EQ(again.status, 304) << ifNoneMatch;
        EXPECT_TRUE(again.body.empty());
    }
    EXPECT_NE(Header(Get("/v1/reading?date=1990-01-30&period=%E4%B8%91"), "ETag"), tag);
    EXPECT_EQ(Header(Post("/v1/reading", R"({"date": "1990-01-30"})"), "ETag"), "");
    const HttpResponse preflight = Answer({"OPTIONS", "/v1/readings", "", "", ""}, {&web, nullptr});
    EXPECT_EQ(preflight.status, 204);
    EXPECT_EQ(Header(preflight, "Access-Control-Allow-Methods"), "POST, OPTIONS");
}

// The description names every route the server has, with the methods it takes, and nothing
// else.
TEST(Routes, DescriptionNamesEveryRouteWithItsMethods) {
    const Json description = Json::parse(EmbeddedOpenApi());
    EXPECT_EQ(description["openapi"], "3.1.0");
    std::set<std::string> described;
    for (const auto& [path, operations] : description["paths"].items()) {
        described.insert(path);
        const WebFiles web;
        const Route route = RouteOf(path, web);
        ASSERT_NE(route, Route::Other) << path;
        for (const auto& [method, operation] : operations.items()) {
            std::string upper = method;
            for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            EXPECT_NE(MethodsOf(route).find(upper), std::string_view::npos) << path << " " << method;
        }
        for (const std::string_view method : {"GET", "POST"}) {
            if (MethodsOf(route).find(method) == std::string_view::npos) continue;
            std::string lower(method);
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            EXPECT_TRUE(operations.contains(lower)) << path << " " << method;
        }
    }
    for (std::size_t i = 0; i + 1 < RouteCount; ++i) {
        EXPECT_TRUE(described.count(std::string(RouteName(static_cast<Route>(i))))) << i;
    }
}

Json Mcp(const Json& message) {
    const std::optional<std::string> answer = McpAnswer(message.dump());
    return answer ? Json::parse(*answer) : Json();
}

TEST(ModelContextProtocol, NegotiatesListsAndCallsTheTools) {
    const auto initialize = [](const char* revision) {
        return Mcp({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"},
                    {"params", {{"protocolVersion", revision}, {"capabilities", Json::object()},
                                {"clientInfo", {{"name", "test"}, {"version", "1"}}}}}});
    };
    EXPECT_EQ(initialize("2025-06-18")["result"]["protocolVersion"], "2025-06-18");
    EXPECT_EQ(initialize("1999-01-01")["result"]["protocolVersion"], LatestProtocolRevision);
    EXPECT_FALSE(McpAnswer(R"({"jsonrpc": "2.0", "method": "notifications/initialized"})"));

    const Json tools = Mcp({{"jsonrpc", "2.0"}, {"id", "t"}, {"method", "tools/list"}});
    ASSERT_EQ(tools["id"], "t");
    std::set<std::string> names;
    for (const Json& tool : tools["result"]["tools"]) {
        names.insert(tool["name"]);
        EXPECT_EQ(tool["inputSchema"]["type"], "object");
        EXPECT_EQ(tool["outputSchema"]["type"], "object");
        for (const auto& [name, property] : tool["inputSchema"]["properties"].items()) {
            EXPECT_TRUE(HasChinese(property["description"].get<std::string>())) << name;
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"bone_weight_reading", "find_places", "lunar_date",
                                            "solar_terms"}));

    const auto call = [](const char* tool, Json arguments) {
        return Mcp({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "tools/call"},
                    {"params", {{"name", tool}, {"arguments", std::move(arguments)}}}})["result"];
    };
    const Json reading = call("bone_weight_reading", {{"date", "2024-02-04"}, {"period", "10:00"},
                                                      {"place", "北京"}, {"yearStart", "spring"}});
    EXPECT_EQ(reading["structuredContent"],
              Json::parse(ReadJson(R"({"date": "2024-02-04", "period": "10:00", "place": "北京",
                                      "yearStart": "spring"})")));
    EXPECT_NE(reading["content"][0]["text"].get<std::string>().find("四两八钱"), std::string::npos);
    EXPECT_EQ(call("solar_terms", {{"year", 2024}})["structuredContent"],
              Json::parse(TermsJson(R"({"year": 2024})")));
    EXPECT_EQ(call("lunar_date", {{"date", "2020-闰4-1"}, {"lunar", true}})["structuredContent"],
              Json::parse(DateJson(R"({"date": "2020-闰4-1", "lunar": true})")));
    EXPECT_EQ(call("find_places", {{"query", "成都"}})["structuredContent"],
              Json::parse(SearchPlacesJson(R"({"query": "成都"})")));

    // A refusal is the tool's error, told in Chinese; a fault of the message is JSON-RPC's.
    const Json refused = call("bone_weight_reading", {{"date", "2001-02-29"}, {"period", "子"}});
    EXPECT_EQ(refused["isError"], true);
    EXPECT_TRUE(HasChinese(refused["content"][0]["text"].get<std::string>()));
    EXPECT_EQ(call("bone_weight_reading", {{"date", "2001-02-28"}})["isError"], true);
    EXPECT_EQ(Json::parse(*McpAnswer("{"))["error"]["code"], -32700);
    EXPECT_EQ(Mcp({{"jsonrpc", "2.0"}, {"id", 3}, {"method", "resources/list"}})["error"]["code"], -32601);
    EXPECT_EQ(Mcp({{"jsonrpc", "1.0"}, {"id", 3}, {"method", "ping"}})["error"]["code"], -32600);
    EXPECT_EQ(Mcp({{"jsonrpc", "2.0"}, {"id", 3}, {"method", "tools/call"}, {"params", {{"name", "x"}}}})
                  ["error"]["code"], -32602);
    EXPECT_EQ(Mcp({{"jsonrpc", "2.0"}, {"id", 3}, {"method", "tools/call"}, {"params", Json::array()}})
                  ["error"]["code"], -32602);
}

TEST(ModelContextProtocol, KeepsIdsAsWrittenAndBoundsNesting) {
    const auto answer = [](std::string_view id, std::string_view more = "") {
        return McpAnswer(R"({"jsonrpc":"2.0","id":)" + std::string(id) + R"(,"method":"ping")" +
                         std::string(more) + "}")
            .value_or("");
    };
    for (const std::string_view id : {"12345678901234567890123", "-7", "0", R"("x\"y")", R"("")"}) {
        EXPECT_EQ(answer(id).rfind(R"({"jsonrpc":"2.0","id":)" + std::string(id) + R"(,"result":{}})", 0), 0u) << id;
    }
    for (const std::string_view id : {"null", "1.5", "1e3", "true", "{}", "[1]"}) {
        const Json refused = Json::parse(answer(id));
        EXPECT_EQ(refused["error"]["code"], -32600) << id;
        EXPECT_TRUE(refused["id"].is_null()) << id;
    }
    EXPECT_EQ(Json::parse(*McpAnswer(R"({"jsonrpc":2,"id":1,"method":"ping"})"))["error"]["code"], -32600);
    // The message's object and params make two levels: 62 more are read, 63 are one too many.
    const auto nested = [&](std::size_t depth) {
        return Json::parse(answer("1", R"(,"params":{"a":)" + std::string(depth, '[') + std::string(depth, ']') + "}"));
    };
    EXPECT_TRUE(nested(MostNesting - 2).contains("result"));
    EXPECT_EQ(nested(MostNesting - 1)["error"]["code"], -32600);
    EXPECT_EQ(nested(200000)["error"]["code"], -32600);
}

}  // namespace
}  // namespace chenggu::service
