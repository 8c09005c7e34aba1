#include "service/mcp.h"

#include <algorithm>
#include <array>

#include <nlohmann/json.hpp>

#include "chenggu/json.h"
#include "chenggu/version.h"
#include "interface/calendar_json.h"
#include "service/rpc_message.h"
#include "service/say.h"

namespace chenggu::service {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<std::string_view, 5> SupportedRevisions{
    LatestProtocolRevision, "2025-06-18", "2025-03-26", "2024-11-05", "2024-10-07"};

// A property of an input schema: its JSON type and what it means, in Chinese and English.
Json Property(std::string_view type, std::string_view description) {
    return {{"type", type}, {"description", description}};
}

Json Choice(std::initializer_list<std::string_view> values, std::string_view description) {
    Json property = Property("string", description);
    property["enum"] = Json::array();
    for (const std::string_view value : values) property["enum"].push_back(value);
    return property;
}

Json ScriptProperty() {
    return Choice({"simplified", "traditional"},
                  "答案的汉字：简体或繁体。Chinese characters of the answer: Simplified or Traditional.");
}

Json ObjectSchema(Json properties, std::initializer_list<std::string_view> required) {
    Json schema = {{"type", "object"}, {"properties", std::move(properties)}};
    schema["required"] = Json::array();
    for (const std::string_view name : required) schema["required"].push_back(name);
    return schema;
}

Json Tools() {
    const Json text = {{"type", "string"}};
    const Json whole = {{"type", "integer"}};
    const Json flag = {{"type", "boolean"}};
    const Json reading = ObjectSchema(
        {{"date", text}, {"period", whole}, {"periodLabel", text}, {"lunarYear", whole},
         {"lunarMonth", whole}, {"lunarDay", whole}, {"lunarMonthName", text},
         {"lunarDayName", text}, {"yearStemBranch", text}, {"monthStemBranch", text},
         {"dayStemBranch", text}, {"periodStemBranch", text}, {"weighedYearStemBranch", text},
         {"yearWeight", whole}, {"monthWeight", whole}, {"dayWeight", whole},
         {"periodWeight", whole}, {"totalWeight", whole}, {"weightText", text},
         {"verse", text}, {"verseExplanation", text}, {"leapMonth", flag},
         {"conventions", {{"type", "object"}}}, {"alternatives", {{"type", "array"}}}},
        {"date", "lunarYear", "lunarMonth", "lunarDay", "yearStemBranch", "monthStemBranch",
         "dayStemBranch", "yearWeight", "monthWeight", "dayWeight", "periodWeight",
         "totalWeight", "weightText", "verse"});
    const Json place = ObjectSchema(
        {{"name", text}, {"fullName", text}, {"region", text}, {"englishName", text},
         {"longitude", {{"type", Json::array({"number", "null"})}}}, {"zone", text}},
        {"name", "fullName", "zone"});
    const Json term = ObjectSchema({{"name", text}, {"utc", text}, {"beijing", text}},
                                   {"name", "utc", "beijing"});

    Json tools = Json::array();
    tools.push_back(
        {{"name", "bone_weight_reading"},
         {"title", "称骨算命 Bone-weight reading"},
         {"description",
          "由出生日期和时辰（或出生时间与出生地）称骨：农历日期、四柱干支、年月日时四项骨重（钱）、"
          "总骨重、称骨歌及其白话解释，并说明所用的规则。Weighs the bones of a birth: the "
          "lunar date, the four pillars, the year, month, day and period weights in qian, their "
          "total, its verse and what it means, and the conventions used."},
         {"inputSchema",
          ObjectSchema(
              {{"date", Property("string",
                                 "出生日期，公历如 1990-01-30 或 1990年1月30日；lunar 为 true 时是农历，如 "
                                 "2020-闰4-1 或 一九九〇年正月初四。Birth date, Gregorian; lunar when "
                                 "lunar is true.")},
               {"period", Property("string",
                                   "时辰（子、丑…亥，早子、晚子）或出生的钟点（23:30）。The birth "
                                   "period (子 … 亥) or the clock time (23:30).")},
               {"lunar", Property("boolean", "date 是农历日期。date is a lunar date.")},
               {"place", Property("string",
                                  "出生地（北京、四川成都、Hong Kong），按当地真太阳时定时辰；需要钟点。"
                                  "Birthplace: the period by its true solar time; needs a clock time.")},
               {"longitude",
                Property("number", "出生地经度，东经为正。Longitude of the birthplace, east positive.")},
               {"zone", Property("string",
                                 "出生地时区（Asia/Shanghai），配合经度使用。Time zone of the birthplace.")},
               {"lateZi", Choice({"same-day", "next-day"},
                                 "晚子时（23:00-0:00）算当天还是次日。Whether 23:00-0:00 counts "
                                 "as the same day or the next.")},
               {"yearStart", Choice({"new-year", "spring"},
                                    "年从春节还是立春算起。Whether the year begins at the lunar new "
                                    "year or at 立春.")},
               {"leapMonth", Choice({"whole", "split"},
                                    "闰月按本月算，还是上半月按本月、下半月按下月。A leap month "
                                    "weighs as its month, or is split at its 15th.")},
               {"calendarRule", Choice({"printed", "computed"},
                                       "历日按当时颁行的历书（默认），还是按现代推算（东八区）；两者"
                                       "只在 1929 年以前偶有不同。The calendar as printed at the "
                                       "time (the default) or as computed today at UTC+8; they "
                                       "differ on some days before 1929.")},
               {"solarTime", Choice({"true", "mean", "clock"},
                                    "按真太阳时、平太阳时还是钟表时间定时辰。The period by true "
                                    "solar time, mean solar time or the clock.")},
               {"script", ScriptProperty()}},
              {"date", "period"})},
         {"outputSchema", reading}});
    tools.push_back(
        {{"name", "find_places"},
         {"title", "查找出生地 Find birthplaces"},
         {"description",
          "按名称查找出生地，给出经度和时区，最匹配的在前。Finds birthplaces by name, with their "
          "longitude and time zone, best match first."},
         {"inputSchema",
          ObjectSchema({{"query", Property("string", "地名或其一部分，如 成都、Paris。A place "
                                                     "name or part of one.")},
                        {"limit", {{"type", "integer"},
                                   {"minimum", 1},
                                   {"maximum", 100},
                                   {"description", "最多返回几个（默认 20）。At most this many."}}},
                        {"near", Property("string", "此前选定地点的全名，其所在城市的同名地点排在前面，"
                                                    "如 北京市海淀区。The full name of a place "
                                                    "chosen before: places of its city come first.")},
                        {"script", ScriptProperty()}},
                       {"query"})},
         {"outputSchema",
          ObjectSchema({{"places", {{"type", "array"}, {"items", place}}}}, {"places"})}});
    tools.push_back(
        {{"name", "lunar_date"},
         {"title", "公历农历换算 Lunar date"},
         {"description",
          "公历日期换农历，或农历换公历（1645-2100）。Converts a Gregorian date to the lunar "
          "calendar, or a lunar date to the Gregorian (1645-2100)."},
         {"inputSchema",
          ObjectSchema({{"date", Property("string", "日期，如 2024-02-10、2020-闰4-1。A date.")},
                        {"lunar", Property("boolean", "date 是农历日期。date is a lunar date.")}},
                       {"date"})},
         {"outputSchema",
          ObjectSchema({{"date", text}, {"lunarYear", whole}, {"lunarMonth", whole},
                        {"lunarDay", whole}, {"leapMonth", flag}, {"lunarDate", text}},
                       {"date", "lunarYear", "lunarMonth", "lunarDay", "leapMonth"})}});
    tools.push_back(
        {{"name", "solar_terms"},
         {"title", "二十四节气 Solar terms"},
         {"description",
          "一年（1645-2100）二十四节气的时刻，精确到秒，北京时间和 UTC。The instants of a "
          "year's 24 solar terms to the second, in Beijing time and UTC."},
         {"inputSchema",
          ObjectSchema({{"year", {{"type", "integer"},
                                  {"minimum", 1645},
                                  {"maximum", 2100},
                                  {"description", "公历年份。The Gregorian year."}}},
                        {"script", ScriptProperty()}},
                       {"year"})},
         {"outputSchema",
          ObjectSchema({{"year", whole}, {"terms", {{"type", "array"}, {"items", term}}}},
                       {"year", "terms"})}});
    return tools;
}

const Json& ToolList() {
    static const Json tools = Tools();
    return tools;
}

// A few Chinese lines of a tool's answer for the assistant to show.
std::string ReadingText(const Json& reading, Script script) {
    const auto text = [&](const char* name) { return reading.value(name, std::string()); };
    const auto weight = [&](const char* name) { return std::to_string(reading.value(name, 0)); };
    return Say(script, "公历 ") + text("date") + " " + text("periodBranch") +
           Say(script, "时，农历 ") + std::to_string(reading.value("lunarYear", 0)) +
           Say(script, "年") + text("lunarMonthName") + text("lunarDayName") +
           Say(script, "。四柱：") + text("yearStemBranch") + Say(script, "年 ") +
           text("monthStemBranch") + Say(script, "月 ") + text("dayStemBranch") +
           Say(script, "日 ") + text("periodStemBranch") + Say(script, "时。骨重：年（") +
           text("weighedYearStemBranch") + Say(script, "）") + weight("yearWeight") +
           Say(script, " 钱，月 ") + weight("monthWeight") + Say(script, " 钱，日 ") +
           weight("dayWeight") + Say(script, " 钱，时 ") + weight("periodWeight") +
           Say(script, " 钱，共") + text("weightText") + Say(script, "。\n称骨歌：") + text("verse") +
           Say(script, "\n释义：") + text("verseExplanation");
}

std::string ToolText(std::string_view tool, const Json& answer, Script script) {
    if (tool == "bone_weight_reading") return ReadingText(answer, script);
    if (tool == "find_places") {
        std::string text;
        for (const Json& place : answer["places"]) {
            text += place.value("fullName", std::string()) + "  " +
                    (place["longitude"].is_number() ? place["longitude"].dump() : "") + "  " +
                    place.value("zone", std::string()) + "\n";
        }
        return text.empty() ? Say(script, "没有找到这个地方") : text;
    }
    if (tool == "lunar_date") {
        return Say(script, "公历 ") + answer.value("date", std::string()) + Say(script, "，农历 ") +
               answer.value("lunarDate", std::string());
    }
    std::string text;
    for (const Json& term : answer["terms"]) {
        text += term.value("name", std::string()) + " " + term.value("beijing", std::string()) +
                Say(script, "（北京时间）") + "\n";
    }
    return text;
}

Json ToolResult(std::string_view tool, Json arguments) {
    const auto failed = [](std::string reason) {
        return Json{{"content", Json::array({{{"type", "text"}, {"text", std::move(reason)}}})},
                    {"isError", true}};
    };
    if (!arguments.is_object()) return failed("arguments 应是对象 (arguments must be an object)");
    const Script script = arguments.value("script", std::string()) == "traditional"
                              ? Script::Traditional
                              : Script::Simplified;
    arguments["language"] = "zh";
    std::string answer;
    if (tool == "bone_weight_reading") {
        if (!arguments.contains("period")) {
            return failed(Say(script, "需要时辰或出生的钟点（period），如 子 或 23:30"));
        }
        answer = ReadJson(arguments.dump());
    } else if (tool == "find_places") {
        answer = SearchPlacesJson(arguments.dump());
    } else if (tool == "lunar_date") {
        arguments.erase("script");
        answer = DateJson(arguments.dump());
    } else {
        answer = TermsJson(arguments.dump());
    }
    Json structured = Json::parse(answer, nullptr, false);
    if (!structured.is_object()) return failed(answer);
    if (structured.contains("error")) {
        return failed(structured.value("error", std::string()) + " (" +
                      structured.value("code", std::string()) + ")");
    }
    const std::string text = ToolText(tool, structured, script);
    return {{"content", Json::array({{{"type", "text"}, {"text", text}}})},
            {"structuredContent", std::move(structured)},
            {"isError", false}};
}

// What a request is answered: its result, or an error.
struct Outcome {
    std::string_view member;  // "result" or "error"
    Json value;
};

Outcome Failure(int code, std::string_view message) {
    return {"error", {{"code", code}, {"message", message}}};
}

Outcome Success(Json result) { return {"result", std::move(result)}; }

// The response's text with the request's id exactly as it was written.
std::string Response(const std::string& idText, const Outcome& outcome) {
    Json tail = Json::object();
    tail[std::string(outcome.member)] = outcome.value;
    const std::string text = tail.dump(-1, ' ', false, Json::error_handler_t::replace);
    return R"({"jsonrpc":"2.0","id":)" + idText + "," + text.substr(1);
}

Outcome Answered(const Json& message) {
    const auto member = [&](const char* name) { return message.contains(name) ? message[name] : Json(); };
    if (member("jsonrpc") != "2.0" || !member("method").is_string()) {
        return Failure(-32600, "Invalid Request");
    }
    const std::string method = message["method"];
    const Json params = message.contains("params") ? message["params"] : Json::object();
    if (!params.is_object()) return Failure(-32602, "Invalid params: params must be an object");
    if (method == "initialize") {
        std::string revision = params.value("protocolVersion", std::string());
        if (!SupportedRevision(revision)) revision = LatestProtocolRevision;
        return Success(
            {{"protocolVersion", revision},
             {"capabilities", {{"tools", {{"listChanged", false}}}}},
             {"serverInfo", {{"name", "chenggu"}, {"title", "称骨算命"}, {"version", CHENGGU_VERSION}}},
             {"instructions",
              "称骨算命：bone_weight_reading 由出生日期和时辰称骨；find_places 查出生地；"
              "lunar_date 换算农历；solar_terms 列出一年的节气。Bone-weight readings, "
              "birthplaces, lunar dates and solar terms, 1645-2100."}});
    }
    if (method == "ping") return Success(Json::object());
    if (method == "tools/list") return Success({{"tools", ToolList()}});
    if (method == "tools/call") {
        const std::string name = params.value("name", std::string());
        const auto known = std::find_if(ToolList().begin(), ToolList().end(),
                                        [&](const Json& tool) { return tool["name"] == name; });
        if (known == ToolList().end()) return Failure(-32602, "Unknown tool: " + name);
        return Success(ToolResult(name, params.value("arguments", Json::object())));
    }
    return Failure(-32601, "Method not found: " + method);
}

}  // namespace

bool SupportedRevision(std::string_view revision) {
    return std::find(SupportedRevisions.begin(), SupportedRevisions.end(), revision) !=
           SupportedRevisions.end();
}

std::optional<std::string> McpAnswer(std::string_view text) {
    const RpcMessage message = ReadRpcMessage(text);
    if (message.status == RpcMessage::Status::NotJson) {
        return Response("null", Failure(-32700, "Parse error"));
    }
    if (message.status == RpcMessage::Status::TooDeep) {
        return Response("null", Failure(-32600, "Invalid Request: nested more than " +
                                                    std::to_string(MostNesting) + " levels deep"));
    }
    const Json& json = message.json;
    if (json.is_object() && message.id == RpcMessage::Id::Absent) {
        // Notifications, and the client's own responses, are answered with nothing.
        if (json.contains("method") || json.contains("result") || json.contains("error")) {
            return std::nullopt;
        }
    }
    if (!json.is_object() || message.id != RpcMessage::Id::Valid) {
        return Response("null", Failure(-32600, "Invalid Request: a request is an object with "
                                                "\"jsonrpc\": \"2.0\", a method and an id "
                                                "that is a string or an integer"));
    }
    Outcome outcome;
    try {
        outcome = Answered(json);
    } catch (const nlohmann::json::exception&) {  // a member of the wrong kind
        outcome = Failure(-32602, "Invalid params: params, arguments and their members must "
                                  "be of the kinds the tool's inputSchema gives");
    }
    return Response(message.idText, outcome);
}

int RunMcp(std::istream& in, std::ostream& out) {
    std::streambuf& input = *in.rdbuf();
    std::string line;
    bool overlong = false;
    for (int c = input.sbumpc();; c = input.sbumpc()) {
        if (c != '\n' && c != std::char_traits<char>::eof()) {
            // A line past the longest message is not kept: only its end is waited for.
            if (line.size() < LongestMessage) {
                line += static_cast<char>(c);
            } else {
                overlong = true;
            }
            continue;
        }
        if (overlong) {
            out << Response("null", Failure(-32600, "Invalid Request: a message may hold at most " +
                                                        std::to_string(LongestMessage >> 20) +
                                                        " MiB"))
                << '\n' << std::flush;
        } else if (line.find_first_not_of(" \t\r") != std::string::npos) {
            if (const std::optional<std::string> answer = McpAnswer(line)) {
                out << *answer << '\n' << std::flush;
            }
        }
        if (c == std::char_traits<char>::eof()) return 0;
        line.clear();
        overlong = false;
    }
}

}  // namespace chenggu::service
