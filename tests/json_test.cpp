// Requests and answers as JSON, through the C interface that every binding calls: what a
// request may hold, what it defaults to, and a reason (never a crash) for anything else.
#include "chenggu/chenggu.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chenggu/json.h"
#include "interface/json_reader.h"
#include "interface/json_writer.h"

namespace {

using Json = nlohmann::json;
using namespace chenggu;

// The answer of a C function, released as the C interface asks.
Json Answer(char* (*function)(const char*), const char* request) {
    const std::unique_ptr<char, void (*)(char*)> text(function(request), chenggu_free);
    EXPECT_NE(text, nullptr);
    return Json::parse(text.get());
}

Json ReadJsonOf(const Json& request) { return Answer(chenggu_read_json, request.dump().c_str()); }

TEST(ReadJson, DefaultsAreTheCommandLinesAndEveryMemberIsHonoured) {
    const Json plain = ReadJsonOf({{"date", "2020-06-07"}, {"period", "午"}});
    EXPECT_EQ(plain, ReadJsonOf({{"date", "2020-06-07"},
                                 {"period", "午"},
                                 {"lunar", false},
                                 {"lateZi", "same-day"},
                                 {"yearStart", "new-year"},
                                 {"leapMonth", "whole"}}));
    EXPECT_EQ(plain["monthWeight"], 9);
    EXPECT_FALSE(plain.contains("leapMonthDate")) << "only lunar input has it";

    // The same day given as lunar, read with the leap month split.
    const Json split = ReadJsonOf(
        {{"date", "2020-闰4-16"}, {"lunar", true}, {"period", "午"}, {"leapMonth", "split"}});
    EXPECT_EQ(split["date"], "2020-06-07");
    EXPECT_EQ(split["monthWeight"], 5);
    EXPECT_EQ(split["leapMonthDate"], nullptr);
    EXPECT_EQ(split["alternatives"][0]["switched"], "leapMonth");

    const Json late =
        ReadJsonOf({{"date", "1990-01-30"}, {"period", "23:30"}, {"lateZi", "next-day"}});
    EXPECT_EQ(late["readingDate"], "1990-01-31");
    EXPECT_EQ(late["periodHalf"], "late");
    EXPECT_EQ(late["periodLabel"], "23:00-23:59");
    EXPECT_EQ(late["verse"], late["verseLines"][0].get<std::string>() + "\n" +
                                 late["verseLines"][1].get<std::string>());

    // Without a period, or with period null: the twelve readings of the day.
    for (const Json& day : {ReadJsonOf({{"date", "1990-01-30"}}),
                            ReadJsonOf({{"date", "1990-01-30"}, {"period", nullptr}})}) {
        ASSERT_TRUE(day.is_array());
        ASSERT_EQ(day.size(), 12u);
        EXPECT_EQ(day[5]["periodBranch"], "巳");
        EXPECT_EQ(day[0]["periodHalf"], nullptr);
    }
}

TEST(ReadJson, AnythingElseGetsOneErrorWithItsReasonAndCode) {
    const struct {
        const char* request;
        const char* code;
        const char* reason;  // a part of it
    } cases[] = {
        {"", "bad-request", "not a JSON object"},
        {"[]", "bad-request", "not a JSON object"},
        {"{\"date\": \"1990-01-30\"", "bad-request", "',' or '}'"},
        {"{\"date\": \"1990-01-30\"} x", "bad-request", "more after the object"},
        {"{}", "bad-request", "needs a date"},
        {"{\"date\": 19900130}", "bad-request", "\"date\" must be a string"},
        {"{\"date\": \"1990-01-30\", \"date\": \"1990-01-31\"}", "bad-request", "given twice"},
        {"{\"date\": \"1990-01-30\", \"hour\": 3}", "bad-request", "unknown member \"hour\""},
        {"{\"date\": \"1990-01-30\", \"period\": {\"branch\": \"子\"}}", "bad-request",
         "must be a string, a number"},
        {"{\"date\": \"1990-01-30\", \"lunar\": \"yes\"}", "bad-request", "true or false"},
        {"{\"date\": \"1990-01-30\", \"lateZi\": \"midnight\"}", "unknown-convention",
         "same-day or next-day"},
        {"{\"date\": \"19900130\"}", "not-a-date", "is not a date"},
        {"{\"date\": \"2001-02-29\"}", "no-such-date", "28 days"},
        {"{\"date\": \"2101-01-01\"}", "outside-range", "2100-12-31"},
        {"{\"date\": \"2021-闰4-1\", \"lunar\": true}", "no-such-leap-month", "has no leap month"},
        {"{\"date\": \"1990-01-30\", \"period\": \"甲\"}", "bad-period", "not a birth period"},
        {"{\"date\": \"1990-01-30\", \"period\": \"24:00\"}", "bad-time", "0:00 to 23:59"},
        {"{\"date\": \"2100-12-31\", \"period\": \"晚子\", \"lateZi\": \"next-day\"}",
         "reading-day-outside-range", "2100-12-31"},
        {"{\"date\": \"1990-01-30\", \"period\": \"14:30\", \"place\": \"不存在的地方\"}",
         "unknown-place", "unknown place"},
        {"{\"date\": \"1990-01-30\", \"period\": \"14:30\", \"place\": \"朝阳区\"}",
         "ambiguous-place", "could be any of"},
        {"{\"date\": \"1990-01-30\", \"period\": \"14:30\", \"longitude\": 200}", "bad-longitude",
         "200"},
        {"{\"date\": \"1990-01-30\", \"period\": \"14:30\", \"longitude\": 104, "
         "\"zone\": \"Mars/Olympus\"}",
         "unknown-zone", "Mars/Olympus"},
        {"{\"date\": \"1990-01-30\", \"period\": \"子\", \"place\": \"成都\"}", "no-clock-time",
         "clock time"},
        {"{\"date\": \"1988-04-17\", \"period\": \"02:30\", \"place\": \"北京\"}",
         "skipped-clock-time", "never happened"},
        {"{\"date\": \"\\ud800\"}", "bad-request", "half a surrogate pair"},
        {"{\"date\": \"\xff\"}", "bad-request", "not UTF-8"},
        {"{\"date\": \"1990-01-30\", \"language\": \"fr\"}", "bad-request", "\"en\" or \"zh\""},
    };
    for (const auto& c : cases) {
        const Json answer = Answer(chenggu_read_json, c.request);
        ASSERT_EQ(answer.size(), 2u) << c.request << ": " << answer;
        EXPECT_EQ(answer["code"], c.code) << c.request << ": " << answer;
        EXPECT_NE(answer["error"].get<std::string>().find(c.reason), std::string::npos)
            << c.request << ": " << answer;
    }
    EXPECT_NE(Answer(chenggu_read_json, nullptr)["error"].get<std::string>().find("NULL"),
              std::string::npos);
    EXPECT_TRUE(Answer(chenggu_months_json, nullptr).contains("error"));
    EXPECT_TRUE(Answer(chenggu_date_json, nullptr).contains("error"));
    chenggu_free(nullptr);

    const Json chinese = ReadJsonOf({{"date", "2001-02-29"}, {"language", "zh"}});
    EXPECT_EQ(chinese["error"], "2001-02-29 不存在：2001年2月只有 28 天");
}

// What a reading says of how it read the place and the clock: the prefecture whose longitude a
// county without a point is read at, the other places of a shared name, a clock time said
// without its part of the day; each only when it applies, in the script asked for.
TEST(ReadJson, TheReadingSaysHowItReadThePlaceAndTheClock) {
    const Json county = ReadJsonOf({{"date", "1990-01-30"}, {"period", "8点"}, {"place", "行唐"},
                                    {"script", "traditional"}, {"steps", true}});
    EXPECT_EQ(county["birthTime"]["place"], "河北省石家莊市行唐縣");
    EXPECT_EQ(county["birthTime"]["longitudeOf"], "石家莊市");
    EXPECT_NE(county["birthTime"]["steps"][1].get<std::string>().find("按石家莊市的經度"),
              std::string::npos);
    EXPECT_FALSE(county["birthTime"].contains("otherPlaces"));
    EXPECT_NE(county["clockNote"].get<std::string>().find("20:00"), std::string::npos);
    const Json own = ReadJsonOf({{"date", "1990-01-30"}, {"period", "8:00"}, {"place", "番禺"},
                                 {"longitude", 113.3}});
    EXPECT_FALSE(own["birthTime"].contains("longitudeOf"));
    EXPECT_FALSE(own.contains("clockNote"));
    const Json shared = ReadJsonOf({{"date", "1990-01-30"}, {"period", "14:30"}, {"place", "朝阳"}});
    EXPECT_EQ(shared["birthTime"]["otherPlaces"], Json::parse(R"(["北京市朝阳区", "吉林省长春市朝阳区"])"));
    // Places near one chosen before come first; a county read at its prefecture says which.
    const Json near = Answer(chenggu_places_json, R"({"query": "朝阳", "near": "北京市海淀区", "limit": 2})");
    EXPECT_EQ(near["places"][0]["fullName"], "北京市朝阳区");
    EXPECT_EQ(Answer(chenggu_places_json, R"({"query": "行唐"})")["places"][0]["longitudeOf"], "石家庄市");
}

TEST(MonthsJson, TheMonthsOfAYearInBothCalendarsWithTheDaysInsideTheRange) {
    const Json lunar2020 = Answer(chenggu_months_json, R"({"calendar": "lunar", "year": 2020})");
    ASSERT_EQ(lunar2020["months"].size(), 13u);
    EXPECT_EQ(lunar2020["months"][4], Json::parse(R"({"month": 4, "leap": true, "name": "闰四月",
        "days": 29, "firstDay": 1, "lastDay": 29})"));
    EXPECT_EQ(lunar2020["dayNames"][29], "三十");
    EXPECT_EQ(lunar2020["periods"][2], Json::parse(R"({"value": "晚子", "name": "晚子时",
        "label": "23:00-23:59"})"));

    // The ends of the range: lunar 1645 is whole, with the leap month after the sixth that its
    // calendar printed, and Gregorian 1645 begins on January 28; lunar 2100 ends on day 1 of
    // the twelfth.
    const Json first = Answer(chenggu_months_json, R"({"calendar": "lunar", "year": 1645})");
    ASSERT_EQ(first["months"].size(), 13u);
    EXPECT_EQ(first["months"][0]["firstDay"], 1);
    EXPECT_EQ(first["months"][6]["name"], "闰六月");
    const Json january = Answer(chenggu_months_json, R"({"calendar": "gregorian", "year": 1645})");
    EXPECT_EQ(january["months"][0]["firstDay"], 28);
    EXPECT_EQ(january["months"][1]["firstDay"], 1);
    const Json last = Answer(chenggu_months_json, R"({"calendar": "lunar", "year": 2100})");
    ASSERT_EQ(last["months"].size(), 12u);
    EXPECT_EQ(last["months"][10]["lastDay"], last["months"][10]["days"]);
    EXPECT_EQ(last["months"][11]["firstDay"], 1);
    EXPECT_EQ(last["months"][11]["lastDay"], 1);
    EXPECT_EQ(last["lastYear"], 2100);

    const Json february = Answer(chenggu_months_json, R"({"calendar": "gregorian", "year": 2000})");
    EXPECT_EQ(february["months"][1]["days"], 29);
    EXPECT_EQ(february["firstYear"], 1645);
    EXPECT_TRUE(Answer(chenggu_months_json, R"({"calendar": "gregorian", "year": 1644})")
                    .contains("error"));
}

TEST(DateJson, ADayInBothCalendars) {
    EXPECT_EQ(Answer(chenggu_date_json, R"({"date": "2020-闰4-1", "lunar": true})"),
              Json::parse(R"({"date": "2020-05-23", "lunarYear": 2020, "lunarMonth": 4,
                  "lunarDay": 1, "leapMonth": true, "lunarDate": "2020-闰4-1"})"));
    EXPECT_EQ(Answer(chenggu_date_json, R"({"date": "1901-01-01"})")["lunarDate"], "1900-11-11");
    EXPECT_EQ(Answer(chenggu_date_json, R"({"date": "2020-13-01", "language": "zh"})")["error"],
              "2020-13-01 不存在：月份只有 1 至 12 月");
}

// Every character a string can hold survives the writer and the reader, as another JSON
// library reads and writes it.
TEST(Json, StringsRoundTripThroughWriterAndReader) {
    std::string text;
    for (char32_t c = 1; c < 0x80; ++c) text += static_cast<char>(c);
    text += "称骨\xf0\x9f\x98\x80";
    JsonWriter writer(2);
    writer.StartObject();
    writer.Member("text", text);
    writer.Key("empty");
    writer.StartArray();
    writer.EndArray();
    writer.EndObject();
    const std::string written = std::move(writer).Take();
    EXPECT_EQ(Json::parse(written), (Json{{"text", text}, {"empty", Json::array()}}));

    const Result<std::vector<JsonMember>> members = ReadFlatObject(Json{{"text", text}}.dump(), {});
    ASSERT_TRUE(members.ok());
    EXPECT_EQ(std::get<std::string>(members->at(0).value), text);
    const auto number = [](const char* json) {
        return std::get<JsonNumber>(ReadFlatObject(json, {})->at(0).value);
    };
    EXPECT_EQ(number(R"({"n": -2020})").whole, -2020);
    EXPECT_DOUBLE_EQ(number(R"({"n": 104.07})").value, 104.07);
    EXPECT_DOUBLE_EQ(number(R"({"n": -7.4e1})").value, -74.0);
    EXPECT_FALSE(number(R"({"n": 1e2})").whole.has_value());
}

// Numbers are the doubles nearest what is written, as the C library's strtod reads them:
// decimals that a product of powers of ten rounds wrongly (0.3) among them.
TEST(Json, NumbersAreTheNearestDoubles) {
    std::mt19937_64 random(20);
    const auto digits = [&](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
        return text;
    };
    std::vector<std::string> numbers{"0.3",
                                     "104.07",
                                     "-74.006",
                                     "0.1",
                                     "1e-7",
                                     "2.2250738585072014e-308",
                                     "-0",
                                     "0e5",
                                     "1E+2",
                                     "1e400",
                                     "-1e400",
                                     "1e-400",
                                     "1e99999999999",
                                     "1e22",
                                     "1e23",
                                     "123456789012345e7",
                                     "179.99999999999997",
                                     "9007199254740993"};
    for (int i = 0; i < 20000; ++i) {
        std::string number = (random() % 2 ? "-" : "") + std::to_string(random() % 1000);
        if (random() % 2) number += "." + digits(1 + random() % 17);
        if (random() % 4 == 0) number += "e" + std::to_string(static_cast<int>(random() % 80) - 40);
        numbers.push_back(number);
    }
    for (const std::string& number : numbers) {
        const Result<std::vector<JsonMember>> members =
            ReadFlatObject("{\"n\": " + number + "}", {});
        ASSERT_TRUE(members.ok()) << number;
        const auto& read = std::get<JsonNumber>(members->at(0).value);
        ASSERT_EQ(read.value, std::strtod(number.c_str(), nullptr)) << number;
        ASSERT_EQ(read.text, number);
    }
}

// What a request may be: one object of at most 1 MiB, its members scalars, each of its
// names once (a name given twice among 60,000 other members is found, at its byte, in one
// pass); a longitude out of range is quoted as the request wrote it.
TEST(ReadJson, LimitsOfARequest) {
    std::string many = R"({"date": "1990-01-30",)";
    for (int i = 0; i < 60000; ++i) many += "\"m" + std::to_string(i) + "\":1,";
    const std::size_t last = many.size();
    many += R"("date": "1990-01-31"})";
    const Json twice = Answer(chenggu_read_json, many.c_str());
    EXPECT_EQ(twice["error"], "the member \"date\" is given twice at byte " + std::to_string(last) +
                                  " of the request");
    many.replace(last, std::string::npos, R"("language": "zh"})");
    EXPECT_EQ(Answer(chenggu_read_json, many.c_str())["error"],
              "无法识别的成员“m0”：请求可有 date, period, lunar, place, longitude, zone, lateZi, "
              "yearStart, leapMonth, calendarRule, solarTime, script, language, steps, markup");

    std::string large = R"({"date": ")" + std::string(LongestRequest, ' ') + R"("})";
    const Json tooLarge = Answer(chenggu_read_json, large.c_str());
    EXPECT_EQ(tooLarge["code"], "request-too-large");
    EXPECT_NE(tooLarge["error"].get<std::string>().find("1048576"), std::string::npos);

    const Json nested = ReadJsonOf({{"date", "1990-01-30"}, {"period", {{"branch", "子"}}}});
    EXPECT_NE(nested["error"].get<std::string>().find("not an object or an array"),
              std::string::npos);

    for (const char* longitude : {"1e400", "-180.5", "922337203685477.5808"}) {
        const std::string request =
            std::string(R"({"date": "1990-01-30", "period": "14:30", "longitude": )") + longitude +
            "}";
        const Json refused = Answer(chenggu_read_json, request.c_str());
        EXPECT_EQ(refused["code"], "bad-longitude") << longitude;
        EXPECT_NE(refused["error"].get<std::string>().find(std::string("\"") + longitude + "\""),
                  std::string::npos)
            << refused;
    }
}

// A search of places says which member is wrong, in the language the request asks for.
TEST(SearchPlacesJson, RefusalsNameTheMember) {
    const struct {
        const char* request;
        const char* reason;
    } cases[] = {
        {R"({"query": 5})", "the member \"query\" must be a string"},
        {R"({"query": "成都", "limit": "20"})", "the member \"limit\" must be a whole number"},
        {R"({"query": "成都", "limit": 0})", "the member \"limit\" must be a whole number"},
        {R"({"query": "成都", "limit": 2.5})", "the member \"limit\" must be a whole number"},
        {R"({"query": "成都", "limit": 20, "language": "zh", "area": 1})", "无法识别的成员“area”"},
        {R"({"limit": 20, "language": "zh"})", "请求需要地名"},
        {R"({"query": "成都", "limit": "20", "language": "zh"})",
         "成员“limit”应是 1 至 100 的整数"},
    };
    for (const auto& c : cases) {
        const Json answer = Answer(chenggu_places_json, c.request);
        EXPECT_EQ(answer["code"], "bad-request") << c.request;
        EXPECT_NE(answer["error"].get<std::string>().find(c.reason), std::string::npos)
            << c.request << ": " << answer;
    }
    EXPECT_EQ(Answer(chenggu_places_json, R"({"query": "成都", "limit": 1})")["places"].size(), 1u);
}

// A character to escape is found wherever it stands, at any alignment, among multi-byte
// characters (the writer looks eight bytes at a time).
TEST(Json, EveryEscapeIsFoundAtEveryPlace) {
    const std::string chinese = "称骨算命称骨算命";
    std::vector<char> escaped{'"', '\\'};
    for (char c = 1; c < 0x20; ++c) escaped.push_back(c);
    for (std::size_t shift = 0; shift < 8; ++shift) {
        for (std::size_t at = 0; at <= chinese.size(); at += 3) {
            for (const char c : escaped) {
                const std::string text =
                    std::string(shift, 'a') + chinese.substr(0, at) + c + chinese.substr(at);
                JsonWriter writer(-1);
                writer.String(text);
                EXPECT_EQ(Json::parse(std::move(writer).Take()), text)
                    << "byte " << int{c} << " after " << shift << " + " << at;
            }
        }
    }
}

}  // namespace
