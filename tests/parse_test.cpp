// The date, lunar date and period forms people type, and the reasons for what is refused.
#include "chenggu/birth.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "chenggu/birth_time.h"
#include "chenggu/chinese_text.h"
#include "tests/whole_range.h"

namespace {

using namespace chenggu;

TEST(ParseDate, AcceptsOneOrTwoDigitMonthsAndDays) {
    const struct {
        const char* text;
        GregorianDate date;
    } cases[] = {{"1990-01-30", {1990, 1, 30}},
                 {"1990-1-5", {1990, 1, 5}},
                 {"1901-01-01", {1901, 1, 1}},
                 {"2050-12-31", {2050, 12, 31}},
                 {"2100-12-31", {2100, 12, 31}},
                 {"2000-02-29", {2000, 2, 29}}};
    for (const auto& c : cases) EXPECT_EQ(ParseDate(c.text).value(), c.date) << c.text;
}

TEST(ParseLunarDate, DaysWithDigitsMixedInAreTheDayTheyWriteOrRefused) {
    // Every day of a month with the tens in words and the units in digits, as people type
    // them (初5, 初15, 十5, 廿5, 二十5), reads as the day its name reads as.
    for (std::uint16_t day = 1; day <= 30; ++day) {
        const std::string digits = std::to_string(day), units = std::to_string(day % 10);
        std::vector<std::string> forms{"初" + digits};
        if (day > 10 && day < 20) forms.push_back("十" + units);
        if (day > 20 && day < 30) forms.insert(forms.end(), {"廿" + units, "二十" + units});
        const LunarDate named =
            ParseLunarDate("2020年四月" + std::string(LunarDayName(day))).value();
        ASSERT_EQ(named.day, day);
        for (const std::string& form : forms) {
            const Result<LunarDate> mixed = ParseLunarDate("2020年四月" + form);
            ASSERT_TRUE(mixed.ok()) << form;
            EXPECT_EQ(*mixed, named) << form;
        }
    }
    for (const char* text : {"2020年四月十0", "2020年四月廿", "2020年四月廿0", "2020年四月十15",
                             "2020年四月初一5", "2020年四月三十1"}) {
        EXPECT_FALSE(ParseLunarDate(text).ok()) << text;
    }
}

TEST(ParsePeriod, BranchesHalvesOfZiClockTimesAndHours) {
    constexpr ZiHalf Unsaid = ZiHalf::Unsaid, Early = ZiHalf::Early, Late = ZiHalf::Late;
    const struct {
        const char* text;
        Period period;
    } cases[] = {
        {"子", {0, Unsaid}},     {"子时", {0, Unsaid}},     {"早子", {0, Early}},
        {"早子时", {0, Early}},  {"晚子", {0, Late}},       {"晚子时", {0, Late}},
        {"丑", {1, Unsaid}},     {"亥时", {11, Unsaid}},    {"23:30", {0, Late}},
        {"23:00", {0, Late}},    {"0:30", {0, Early}},      {"00:59", {0, Early}},
        {"1:00", {1, Unsaid}},   {"2:59", {1, Unsaid}},     {"12:00", {6, Unsaid}},
        {"22:59", {11, Unsaid}}, {"子時", {0, Unsaid}},     {"晚子時", {0, Late}},
        {"23点", {0, Late}},     {"23點", {0, Late}},       {"8点30分", {4, Unsaid}},
        {"8时", {4, Unsaid}},    {"２３：３０", {0, Late}}, {"\xef\xbb\xbf子", {0, Unsaid}},
        {" 午 ", {6, Unsaid}}};
    for (const auto& c : cases) EXPECT_EQ(ParsePeriod(c.text).value(), c.period) << c.text;
}

TEST(ParseLunarDate, LeapMonthsByPrefix) {
    const struct {
        const char* text;
        LunarDate date;
    } cases[] = {{"2020-闰4-1", {2020, 4, 1, true}},    {"2020-L04-01", {2020, 4, 1, true}},
                 {"2020-4-1", {2020, 4, 1, false}},     {"2020-04-30", {2020, 4, 30, false}},
                 {"1900-11-11", {1900, 11, 11, false}}, {"2050-11-18", {2050, 11, 18, false}},
                 {"2100-12-01", {2100, 12, 1, false}}};
    for (const auto& c : cases) EXPECT_EQ(ParseLunarDate(c.text).value(), c.date) << c.text;
}

// Full-width forms of ASCII, as a Chinese input method types them: １９９０／１／３０.
std::string FullWidth(std::string_view text) {
    std::string wide;
    for (const char c : text) {
        if (c < '!' || c > '~') {
            wide += c;
            continue;
        }
        const char32_t code = static_cast<char32_t>(c) + 0xfee0;
        wide += static_cast<char>(0xe0 | code >> 12);
        wide += static_cast<char>(0x80 | (code >> 6 & 0x3f));
        wide += static_cast<char>(0x80 | (code & 0x3f));
    }
    return wide;
}

// Every day of the range, in every form people write it, gives back the day it names: the
// Gregorian date with dashes, slashes, dots, in 年月日 or with 号, in full-width digits; the
// lunar date in numbers and in words (正月初四, 闰四月廿九, 腊月三十).
TEST(ParseBirth, EveryDayOfTheRangeInEveryForm) {
    for (std::int32_t offset = 0; offset <= LastDate.DayOffset(); offset += test::DayStride) {
        const GregorianDate date = GregorianDate::FromDayOffset(offset);
        const LunarDate lunar = ToLunar(date);
        const std::string y = std::to_string(date.year), m = std::to_string(date.month),
                          d = std::to_string(date.day);
        for (const std::string& form :
             {IsoDate(date), y + "/" + m + "/" + d, y + "." + m + "." + d,
              y + "年" + m + "月" + d + "日", y + "年" + m + "月" + d + "号",
              FullWidth(IsoDate(date)), "公历" + IsoDate(date)}) {
            const Result<Birth> birth = ParseBirth(form, "午", false);
            ASSERT_TRUE(birth.ok()) << form << ": " << birth.error().reason;
            ASSERT_EQ(birth->date, date) << form;
            ASSERT_FALSE(birth->lunarInput) << form;
        }
        for (const auto& [form, lunarFlag] :
             {std::pair{LunarDateText(lunar), true}, std::pair{LunarDateName(lunar), false},
              std::pair{"农历" + LunarDateName(lunar), false},
              std::pair{LunarDateName(lunar, Script::Traditional), false}}) {
            const Result<Birth> birth = ParseBirth(form, "午", lunarFlag);
            ASSERT_TRUE(birth.ok()) << form << ": " << birth.error().reason;
            ASSERT_EQ(birth->date, date) << form;
            ASSERT_EQ(birth->lunarInput, lunar) << form;
        }
        // With the time written on, and the year in words.
        const int hour = offset % 24, minute = offset % 60;
        const Result<Birth> together = ParseBirth(
            y + "年" + m + "月" + d + "日" + std::to_string(hour) + "时" + std::to_string(minute) + "分",
            std::nullopt, false);
        ASSERT_TRUE(together.ok()) << offset;
        ASSERT_EQ(together->date, date);
        ASSERT_EQ(together->clock, (ClockTime{hour, minute}));
        const std::string lunarYear = std::to_string(lunar.year);
        std::string yearInWords;
        for (const char digit : lunarYear) yearInWords += std::array{"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"}[static_cast<std::size_t>(digit - '0')];
        const Result<Birth> inWords = ParseBirth(yearInWords + LunarDateName(lunar).substr(lunarYear.size()), "午", false);
        ASSERT_TRUE(inWords.ok()) << yearInWords;
        ASSERT_EQ(inWords->date, date) << yearInWords;
        // The twin in the leap month is another day of the same lunar month number.
        if (const auto twin = LeapMonthTwin(lunar)) {
            ASSERT_EQ(ToLunar(*twin), (LunarDate{lunar.year, lunar.month, lunar.day, true}));
        }
    }
}

// Every minute of the day as people say it: in numerals or in words, with the part of the day
// and a 12-hour clock, with 半 and 一刻.
TEST(ParseClockTime, EveryMinuteAsPeopleSayIt) {
    const auto words = [](int n) {
        constexpr std::array<const char*, 10> digits{"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
        if (n < 10) return std::string(digits[static_cast<std::size_t>(n)]);
        return std::string(n >= 20 ? digits[static_cast<std::size_t>(n / 10)] : "") + "十" +
               (n % 10 != 0 ? digits[static_cast<std::size_t>(n % 10)] : "");
    };
    for (int hour = 0; hour < 24; ++hour) {
        const char* part = hour < 6 ? "凌晨" : hour < 12 ? "上午" : hour == 12 ? "中午" : hour < 18 ? "下午" : "晚上";
        const int onTwelve = hour > 12 ? hour - 12 : hour;
        for (int minute = 0; minute < 60; ++minute) {
            const std::string mm = (minute < 10 ? "0" : "") + std::to_string(minute);
            std::vector<std::string> forms{
                std::to_string(hour) + ":" + mm, std::to_string(hour) + "点" + std::to_string(minute) + "分",
                words(hour) + "点" + (minute == 0 ? "" : (minute < 10 ? "零" : "") + words(minute) + "分"),
                part + std::to_string(onTwelve) + "点" + (minute == 0 ? "" : std::to_string(minute) + "分"),
                part + words(onTwelve) + "點" + (minute == 0 ? "" : words(minute))};
            if (minute == 30) forms.push_back(part + std::to_string(onTwelve) + "点半");
            if (minute == 15) forms.push_back(std::to_string(hour) + "点一刻");
            if (minute == 45) forms.push_back(part + std::to_string(onTwelve) + "点三刻");
            for (const std::string& form : forms) {
                const Result<ClockTime> clock = ParseClockTime(form);
                ASSERT_TRUE(clock.ok()) << form;
                ASSERT_EQ(*clock, (ClockTime{hour, minute})) << form;
                // Only an hour of a 12-hour clock said with 点 and no part of the day could
                // mean another: 8点 may be 20:00, 12点 midnight; 8:00, 8时 and 20点 cannot.
                const bool spoken = form.find("点") != std::string::npos &&
                                    form.find(part) == std::string::npos;
                ASSERT_EQ(clock->partOfDayUnsaid, spoken && hour >= 1 && hour <= 12) << form;
            }
        }
    }
    EXPECT_FALSE(ParseClockTime("8时30分")->partOfDayUnsaid);
    EXPECT_EQ(ClockNote(*ParseClockTime("12点")), "没写上午或下午，按 24 小时制读作 12:00；若指 0:00，请写“半夜”或 0:00");
    EXPECT_EQ(ClockNote(*ParseClockTime("8點05分"), Script::Traditional),
              "沒寫上午或下午，按 24 小時制讀作 8:05；若指 20:05，請寫“晚上”或 20:05");
    EXPECT_EQ(ClockNote(*ParseClockTime("20点")), "");
    for (const char* refused : {"凌晨8点", "中午5点", "24点", "8点60分", "下午", "8点半半", "二十四点"}) {
        EXPECT_FALSE(ParseClockTime(refused).ok()) << refused;
    }
}

TEST(ParseBirth, RefusalsSayWhyInBothLanguages) {
    const struct {
        const char* date;
        const char* period;
        bool lunar;
        ErrorCode code;
        const char* english;
        const char* chinese;
    } cases[] = {
        {"2001-02-29", "子", false, ErrorCode::NoSuchDate, "February 2001 has 28 days",
         "只有 28 天"},
        {"30/01/1990", "子", false, ErrorCode::NotADate, "YYYY-MM-DD", "年-月-日"},
        {"2101-01-01", "子", false, ErrorCode::OutsideRange, "2100-12-31", "2100-12-31"},
        {"2021-闰4-1", "子", true, ErrorCode::NoSuchLeapMonth, "has no leap month", "没有闰月"},
        {"2020-闰5-1", "子", true, ErrorCode::NoSuchLeapMonth, "follows month 4", "闰四月"},
        {"2020-L4-30", "子", true, ErrorCode::NoSuchDate, "has 29 days", "只有 29 天"},
        {"1990-01-30", "甲", false, ErrorCode::NotAPeriod, "not a birth period", "不是时辰"},
        {"1990-01-30", "24:00", false, ErrorCode::NotATime, "0:00 to 23:59", "0:00 到 23:59"},
        {"2001-02-29", "甲", false, ErrorCode::NoSuchDate, "28 days", "28 天"},  // date first
    };
    for (const auto& c : cases) {
        const Result<Birth> birth = ParseBirth(c.date, c.period, c.lunar);
        ASSERT_FALSE(birth.ok()) << c.date << " " << c.period;
        EXPECT_EQ(birth.error().code, c.code) << c.date;
        EXPECT_NE(birth.error().reason.find(c.english), std::string::npos) << birth.error().reason;
        EXPECT_NE(birth.error().chineseReason.find(c.chinese), std::string::npos)
            << birth.error().chineseReason;
    }
}

}  // namespace
