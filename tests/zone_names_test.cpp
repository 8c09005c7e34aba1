// Zones as people say them: every whole-hour offset in every written form, every zone's
// Chinese name back to its zone, and never a fixed zone offered (their sign is inverted).
#include <gtest/gtest.h>

#include <random>

#include "chenggu/birth_time.h"
#include "chenggu/chinese_text.h"
#include "chenggu/json.h"
#include "time/generated/zone_names.h"
#include "time/time_zone.h"
#include "time/zone_names.h"

namespace chenggu {
namespace {

constexpr solar::Seconds Year2000 = solar::DaysFromCivil(2000, 1, 1) * solar::SecondsPerDay;

TEST(ZoneNames, EveryWholeHourOffsetInEveryWrittenForm) {
    const std::array<const char*, 15> chinese{"零", "一", "二", "三", "四",  "五",  "六", "七",
                                              "八", "九", "十", "十一", "十二", "十三", "十四"};
    for (int hours = -12; hours <= 14; ++hours) {
        const std::string sign = hours < 0 ? "-" : "+";
        const int n = std::abs(hours);
        const std::string two = (n < 10 ? "0" : "") + std::to_string(n);
        std::vector<std::string> forms{"UTC" + sign + std::to_string(n), "GMT" + sign + std::to_string(n),
                                       "utc" + sign + two + ":00", sign + two + ":00", sign + two + "00",
                                       sign + std::to_string(n), "ＵＴＣ＋" + std::to_string(n)};
        if (hours < 0) forms.push_back("UTC\u2212" + std::to_string(n));
        if (hours != 0) forms.push_back(std::string(hours > 0 ? "东" : "西") + chinese[static_cast<std::size_t>(n)] + "区");
        if (hours > 0) forms.push_back(std::string("東") + chinese[static_cast<std::size_t>(n)] + "區");
        for (const std::string& form : forms) {
            if (hours < 0 && form.starts_with("ＵＴＣ")) continue;
            const Result<std::string_view> zone = ParseZone(form);
            ASSERT_TRUE(zone.ok()) << form << ": " << zone.error().reason;
            EXPECT_EQ(solar::TimeZone::Named(*zone)->OffsetAt(Year2000).seconds, hours * 3600) << form;
            const std::string offset = hours == 0 ? "UTC" : "UTC" + sign + std::to_string(n);
            EXPECT_EQ(solar::ZoneDisplayName(*zone, Script::Simplified), offset) << form;
        }
    }
    for (const char* refused : {"UTC+15", "UTC-13", "UTC+8:30", "东十五区", "东八", "+8:0x", "UTC+"}) {
        EXPECT_FALSE(ParseZone(refused).ok()) << refused;
    }
}

// Every Chinese name of a zone, with 时间 or without, in either script, reads as a zone whose
// display name is that of the zone the name belongs to.
TEST(ZoneNames, EveryZoneByItsChineseNameAndBack) {
    for (const solar::ZoneCity& city : solar::ZoneCities) {
        if (!solar::TimeZone::Named(city.zone)) continue;
        const std::string shown = solar::ZoneDisplayName(city.zone, Script::Simplified);
        for (const std::string& name : {std::string(city.simplified) + "时间", std::string(city.traditional) + "時間",
                                        std::string(city.simplified)}) {
            const Result<std::string_view> zone = ParseZone(name);
            ASSERT_TRUE(zone.ok()) << name;
            EXPECT_EQ(solar::ZoneDisplayName(*zone, Script::Simplified), shown) << name << " " << city.zone;
        }
    }
    EXPECT_EQ(*ParseZone("北京时间"), "Asia/Shanghai");
    EXPECT_EQ(*ParseZone("中国标准时间"), "Asia/Shanghai");
    EXPECT_EQ(*ParseZone("北美东部时间"), "America/New_York");
    EXPECT_EQ(solar::ZoneDisplayName("Asia/Chongqing", Script::Traditional), "北京時間");
}

// What a refusal offers is a zone a reader can follow: never tzdata's fixed zones, whose
// names read the wrong way round.
TEST(ZoneNames, RefusalsNeverOfferAFixedZone) {
    std::mt19937 random(23);
    std::vector<std::string> texts{"UTC+8.5", "GMT+8h", "Etc/GMT+8x", "GMT+08:30", "火星时间", "UTC+5:30"};
    for (const solar::SpokenZoneName& spoken : solar::SpokenZoneNames) {
        std::string text(spoken.zone);
        text[random() % text.size()] = '#';
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        const Result<std::string_view> zone = ParseZone(text);
        if (zone.ok()) continue;
        const std::string offered = zone.error().reason.substr(zone.error().reason.rfind("such as"));
        EXPECT_EQ(offered.find("Etc/"), std::string::npos) << text << ": " << offered;
        EXPECT_EQ(offered.find("GMT"), std::string::npos) << text << ": " << offered;
    }
    EXPECT_NE(ParseZone("UTC+5:30").error().reason.find("Asia/Kolkata"), std::string::npos);
}

TEST(ZoneNames, TheStepsSayTheZoneAsAReaderDoes) {
    const auto steps = [](const char* zone) {
        const std::string json = ReadJson(std::string(R"({"date": "2024-02-04", "period": "10:00", "longitude": 116.4, "zone": ")") +
                                          zone + R"(", "steps": true})");
        return json;
    };
    EXPECT_NE(steps("Asia/Shanghai").find("北京时间（UTC+8）"), std::string::npos);
    EXPECT_NE(steps("UTC+8").find("，UTC+8\""), std::string::npos);
    EXPECT_NE(steps("America/New_York").find("纽约时间（UTC-5）"), std::string::npos);
}

}  // namespace
}  // namespace chenggu
