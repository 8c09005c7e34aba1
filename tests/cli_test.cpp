// chenggu as a user meets it: whole outputs for known dates, and every kind of refused input.
#include "cli/chenggu.h"

#include "chenggu/version.h"
#include "cli/calendar_export.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <sstream>

namespace {

using namespace chenggu::cli;

using Json = nlohmann::json;

struct Outcome {
    int status;
    std::string out, err;
};

// chenggu in a locale: English for the messages most cases below look for.
Outcome Chenggu(const std::vector<std::string>& arguments, const std::string& input = "",
                std::string_view locale = "en_US.UTF-8") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunChenggu(arguments, in, out, err, locale);
    return {status, out.str(), err.str()};
}

TEST(Chenggu, OneReadingAsText) {
    const Outcome run = Chenggu({"1990-01-30", "子"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, R"(公历：1990年1月30日 子时（23:00-0:59）
农历：1990年正月初四
干支：己巳年 丁丑月 乙未日 丙子时
骨重：年 9 钱（庚午年） + 月 6 钱 + 日 15 钱 + 时 16 钱
总骨重：46 钱，四两六钱
命批：东西南北尽皆通，出姓移名更觉隆。
      衣禄无亏天数定，中年晚景一般同。
释义：四面八方都行得通，改换姓名或离乡发展更加兴隆。衣食福禄不缺，天命已定；中年和晚年一样好。
规则：晚子时算当日；年以正月初一为界；闰月整月按所闰之月；历日按当时历书
若生于 23:00 后且晚子时算次日：总骨重 47 钱，四两七钱；命批：此命推来旺末年，妻荣子贵自怡然。平生原有滔滔福，可有财源如水流。
若年以立春为界：总骨重 42 钱，四两二钱；命批：得宽怀处且宽怀，何用双眉总不开。若使中年命运济，那时名利一齐来。
)");
}

TEST(Chenggu, LeapMonthsAreMarkedInText) {
    const Outcome run = Chenggu({"2020-06-20", "12:00"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("农历：2020年闰四月廿九\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("干支：庚子年 壬午月 甲午日 庚午时\n"), std::string::npos) << run.out;
}

TEST(Chenggu, OneReadingAsJson) {
    const Outcome run = Chenggu({"--json", "1901-01-01", "23:30"});
    EXPECT_EQ(run.status, 0);
    Json reading = Json::parse(run.out);
    ASSERT_EQ(reading["alternatives"].size(), 1u);
    EXPECT_EQ(reading["alternatives"][0]["readingDate"], "1901-01-02");
    EXPECT_EQ(reading["alternatives"][0]["totalWeight"], 49);
    EXPECT_EQ(reading["alternatives"][0]["switched"], "lateZi");
    EXPECT_EQ(reading["alternatives"][0]["condition"], "若晚子时算次日");
    reading.erase("alternatives");
    EXPECT_EQ(reading, Json::parse(R"({
  "date": "1901-01-01",
  "period": 0,
  "periodLabel": "23:00-23:59",
  "periodHalf": "late",
  "lunarYear": 1900,
  "lunarMonth": 11,
  "lunarDay": 11,
  "lunarMonthName": "冬月",
  "lunarDayName": "十一",
  "periodBranch": "子",
  "yearStemBranch": "庚子",
  "monthStemBranch": "戊子",
  "dayStemBranch": "己卯",
  "periodStemBranch": "丙子",
  "weighedYearStemBranch": "庚子",
  "yearWeight": 7,
  "monthWeight": 9,
  "dayWeight": 9,
  "periodWeight": 16,
  "totalWeight": 41,
  "verse": "此命推来事不同，为人能干异凡庸。\n中年还有逍遥福，不比前年云未通。",
  "leapMonth": false,
  "weightText": "四两一钱",
  "conventions": {"lateZi": "same-day", "yearStart": "new-year", "leapMonth": "whole",
                  "solarTime": "clock", "calendarRule": "printed"},
  "readingDate": "1901-01-01",
  "verseLines": ["此命推来事不同，为人能干异凡庸。", "中年还有逍遥福，不比前年云未通。"],
  "verseExplanation": "此命与众不同，为人能干，不同于平庸之辈。中年以后还有逍遥自在的福气，不再像早年那样时运不通。",
  "solarTerm": null
})"));
}

TEST(Chenggu, TwelvePeriodsAsATable) {
    const Outcome run = Chenggu({"1990-01-30"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, R"(公历：1990年1月30日
农历：1990年正月初四
干支：己巳年 丁丑月 乙未日
骨重：年 9 钱（庚午年） + 月 6 钱 + 日 15 钱

时辰  时柱  时间           时重  总骨重
子时  丙子  23:00 -  0:59    16      46 钱  四两六钱
丑时  丁丑   1:00 -  2:59     6      36 钱  三两六钱
寅时  戊寅   3:00 -  4:59     7      37 钱  三两七钱
卯时  己卯   5:00 -  6:59    10      40 钱  四两
辰时  庚辰   7:00 -  8:59     9      39 钱  三两九钱
巳时  辛巳   9:00 - 10:59    16      46 钱  四两六钱
午时  壬午  11:00 - 12:59    10      40 钱  四两
未时  癸未  13:00 - 14:59     8      38 钱  三两八钱
申时  甲申  15:00 - 16:59     8      38 钱  三两八钱
酉时  乙酉  17:00 - 18:59     9      39 钱  三两九钱
戌时  丙戌  19:00 - 20:59     6      36 钱  三两六钱
亥时  丁亥  21:00 - 22:59     6      36 钱  三两六钱
规则：晚子时算当日；年以正月初一为界；闰月整月按所闰之月；历日按当时历书
若生于 23:00 后且晚子时算次日：子时 47 钱，四两七钱
若年以立春为界：年 5 钱（己巳年），各时辰总骨重减 4 钱
)");
}

TEST(Chenggu, TwelvePeriodsAsJsonArray) {
    const Outcome run = Chenggu({"--json", "2020-05-23"});
    EXPECT_EQ(run.status, 0);
    const Json readings = Json::parse(run.out);
    ASSERT_EQ(readings.size(), 12u);
    for (std::size_t period = 0; period < 12; ++period) {
        EXPECT_EQ(readings[period]["period"], period);
        EXPECT_EQ(readings[period]["leapMonth"], true);
    }
}

TEST(Chenggu, JsonStatesConventionsAndTheReadingsUnderTheOthers) {
    // Day 16 of the leap fourth month of 2020, read with the leap month split.
    const Json split = Json::parse(
        Chenggu({"--json", "--lunar", "2020-闰4-16", "午", "--leap-month", "split"}).out);
    EXPECT_EQ(split["date"], "2020-06-07");
    EXPECT_EQ(split["readingDate"], "2020-06-07");
    EXPECT_EQ(
        split["conventions"],
        Json::parse(
            R"({"lateZi":"same-day","yearStart":"new-year","leapMonth":"split","solarTime":"clock","calendarRule":"printed"})"));
    EXPECT_EQ(split["lunarMonth"], 4);
    EXPECT_EQ(split["monthWeight"], 5);  // the fifth month's
    EXPECT_EQ(split["leapMonthDate"], nullptr);
    EXPECT_EQ(split["verseLines"].size(), 2u);
    ASSERT_EQ(split["alternatives"].size(), 1u);
    const Json& whole = split["alternatives"][0];
    EXPECT_EQ(whole["conventions"]["leapMonth"], "whole");
    EXPECT_EQ(whole["monthWeight"], 9);
    EXPECT_EQ(whole["totalWeight"], split["totalWeight"].get<int>() + 4);
    EXPECT_FALSE(whole.contains("alternatives"));

    // A late 子 birth read on the next day; the same-day reading is its alternative.
    const Json late =
        Json::parse(Chenggu({"--json", "1990-01-30", "23:30", "--late-zi", "next-day"}).out);
    EXPECT_EQ(late["readingDate"], "1990-01-31");
    EXPECT_EQ(late["lunarDay"], 5);
    EXPECT_EQ(late["alternatives"][0]["readingDate"], "1990-01-30");
    EXPECT_FALSE(late.contains("leapMonthDate"));
}

TEST(Chenggu, LunarInputNamesTheSameDayOfTheLeapMonth) {
    const struct {
        const char* date;
        Json leapMonthDate;
    } cases[] = {
        {"2020-4-1", "2020-05-23"},  // the fourth month is followed by a leap month
        {"2020-4-30", nullptr},      // which has 29 days
        {"2020-L04-01", nullptr},    // the input is the leap month itself
        {"2020-3-1", nullptr},       // no leap month after the third
    };
    for (const auto& c : cases) {
        const Outcome run = Chenggu({"--json", "--lunar", c.date, "子"});
        EXPECT_EQ(Json::parse(run.out)["leapMonthDate"], c.leapMonthDate) << c.date;
    }
    EXPECT_NE(Chenggu({"--lunar", "2020-4-1", "子"}).out.find("闰四月初一是公历2020年5月23日"),
              std::string::npos);
}

TEST(Chenggu, BatchAnswersEveryLineInOrder) {
    const Outcome run = Chenggu({"--batch", "--lunar"},
                                "# lunar births\n"
                                "2020-闰4-1 午\n"
                                "\n"
                                "2021-闰4-1 午\r\n"
                                "  1990-1-4   \n"
                                "2020-4-1 12:00 extra");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "");
    std::istringstream lines(run.out);
    std::vector<Json> answers;
    for (std::string line; std::getline(lines, line);) answers.push_back(Json::parse(line));
    ASSERT_EQ(answers.size(), 4u);
    EXPECT_EQ(answers[0]["date"], "2020-05-23");
    EXPECT_EQ(answers[1]["line"], 4);
    EXPECT_EQ(answers[1]["input"], "2021-闰4-1 午");
    EXPECT_NE(answers[1]["error"].get<std::string>().find("has no leap month"), std::string::npos);
    EXPECT_TRUE(answers[2].is_array());  // no period: all twelve
    EXPECT_EQ(answers[2].size(), 12u);
    EXPECT_EQ(answers[3]["line"], 6);

    EXPECT_EQ(Chenggu({"--batch"}, "1990-01-30 子\n").status, 0);
    // A line in another encoding (GBK, as a Chinese Windows console or Notepad may save it)
    // is refused as such, not as a date it cannot read.
    const Outcome gbk = Chenggu({"--batch"}, "1990-01-30 \xd7\xd3\n");
    EXPECT_EQ(gbk.status, 2);
    EXPECT_NE(Json::parse(gbk.out)["error"].get<std::string>().find("not UTF-8"), std::string::npos)
        << gbk.out;
    // A bad option is refused before any line is read.
    const Outcome badOption = Chenggu({"--batch", "--year-start", "winter"}, "1990-01-30\n");
    EXPECT_EQ(badOption.status, 2);
    EXPECT_EQ(badOption.out, "");
}

TEST(Chenggu, CalendarAcrossALeapMonth) {
    const Outcome run = Chenggu({"--calendar", "2020-05-21", "2020-05-24"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "date\tlunarYear\tlunarMonth\tleapMonth\tlunarDay\tyearStemBranch\tmonthStemBranch\t"
              "dayStemBranch\n"
              "2020-05-21\t2020\t4\t0\t29\t庚子\t辛巳\t甲子\n"
              "2020-05-22\t2020\t4\t0\t30\t庚子\t辛巳\t乙丑\n"
              "2020-05-23\t2020\t4\t1\t1\t庚子\t辛巳\t丙寅\n"
              "2020-05-24\t2020\t4\t1\t2\t庚子\t辛巳\t丁卯\n");
}

TEST(Chenggu, CalendarAcrossTheYearEndsAndATermDay) {
    const Outcome run = Chenggu({"--calendar", "2020-12-31", "2021-01-05"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("2020-12-31\t2020\t11\t0\t17\t庚子\t戊子\t戊申\n"
                           "2021-01-01\t2020\t11\t0\t18\t庚子\t戊子\t己酉\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("2021-01-04\t2020\t11\t0\t21\t庚子\t戊子\t壬子\n"
                           "2021-01-05\t2020\t11\t0\t22\t庚子\t己丑\t癸丑\n"),
              std::string::npos);

    const Outcome newYear = Chenggu({"--calendar", "2021-02-11", "2021-02-12"});
    EXPECT_NE(newYear.out.find("2021-02-11\t2020\t12\t0\t30\t辛丑\t庚寅\t庚寅\n"
                               "2021-02-12\t2021\t1\t0\t1\t辛丑\t庚寅\t辛卯\n"),
              std::string::npos);
}

TEST(Chenggu, CalendarOfOneDayAndOfTheWholeRange) {
    const Outcome one = Chenggu({"--calendar", "2050-12-31"});
    EXPECT_EQ(one.status, 0);
    EXPECT_NE(one.out.find("\n2050-12-31\t2050\t11\t0\t18\t庚午\t戊子\t乙酉\n"), std::string::npos);

    const Outcome all = Chenggu({"--calendar", "1901-01-01", "2100-12-31"});
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(std::count(all.out.begin(), all.out.end(), '\n'), 1 + 73049);
    EXPECT_NE(all.out.find("\n2100-12-31\t2100\t12\t0\t1\t"), std::string::npos);
}

// Chinese by default, English under an English locale, Traditional under a locale of Taiwan,
// Hong Kong or Macau; never the argument library's words.
TEST(Chenggu, SpeaksTheLanguageOfTheLocale) {
    const struct {
        std::vector<std::string> arguments;
        std::string_view locale;
        const char* message;
    } cases[] = {
        {{"2001-02-29"}, "", "chenggu: 2001-02-29 不存在：2001年2月只有 28 天\n"},
        {{"2001-02-29"}, "zh_CN.UTF-8", "chenggu: 2001-02-29 不存在：2001年2月只有 28 天\n"},
        {{"2001-02-29"}, "zh_TW.UTF-8", "chenggu: 2001-02-29 不存在：2001年2月只有 28 天\n"},
        {{"2001-02-29"},
         "en_GB.UTF-8",
         "chenggu: 2001-02-29 does not exist: February 2001 has 28 days\n"},
        {{"--year-start"}, "", "chenggu: --year-start 后要写一个值：new-year | spring\n"},
        {{"--year-start"},
         "zh_HK.UTF-8",
         "chenggu: --year-start 後要寫一個值：new-year | spring\n"},
        {{"--year-start"}, "en_US", "chenggu: --year-start needs a value: new-year | spring\n"},
        {{"--json", "--calendar", "2020-01-01"},
         "",
         "chenggu: --json 不能与 --calendar 同用（见 chenggu --help）\n"},
        {{"--nonsense"}, "", "chenggu: 无法识别的选项“--nonsense”（见 chenggu --help）\n"},
        {{"--script", "kaishu", "1990-01-30"},
         "",
         "chenggu: --script 的值“kaishu”无法识别：可用 simplified 或 traditional\n"},
        // --script chooses the characters of the messages about the arguments too.
        {{"--script", "traditional", "--late-zi", "midnight", "1990-01-30"},
         "zh_CN.UTF-8",
         "chenggu: --late-zi 的值“midnight”無法識別：可用 same-day 或 next-day\n"},
        {{"--script=traditional", "--year-start"},
         "",
         "chenggu: --year-start 後要寫一個值：new-year | spring\n"},
        {{"1990-01-30", "--script", "simplified", "--nonsense"},
         "zh_TW.UTF-8",
         "chenggu: 无法识别的选项“--nonsense”（见 chenggu --help）\n"},
    };
    for (const auto& c : cases) {
        const Outcome run = Chenggu(c.arguments, "", c.locale);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.message) << c.locale;
    }
    EXPECT_NE(Chenggu({"--help"}, "", "").out.find("仅供娱乐"), std::string::npos);
    EXPECT_NE(Chenggu({"--help"}, "", "zh_MO").out.find("僅供娛樂"), std::string::npos);
    EXPECT_NE(Chenggu({"-h"}, "", "en_US").out.find("for entertainment only"), std::string::npos);
    EXPECT_EQ(Chenggu({"-V"}).out, "chenggu " CHENGGU_VERSION "\n");
    // The readings follow the locale's characters, and --script over it.
    EXPECT_NE(Chenggu({"1990-01-30", "子"}, "", "zh_TW").out.find("總骨重：46 錢，四兩六錢"),
              std::string::npos);
    EXPECT_NE(
        Chenggu({"--script", "simplified", "1990-01-30", "子"}, "", "zh_TW").out.find("总骨重"),
        std::string::npos);
}

// Requests saved by Notepad (a byte-order mark) and typed with a Chinese input method
// (full-width digits, an ideographic space) read as the plain ones.
TEST(Chenggu, BatchLinesAsPeopleWriteThem) {
    const Outcome plain = Chenggu({"--batch"}, "1990-01-30 子\n1990-01-30 子\n");
    const Outcome typed = Chenggu({"--batch"},
                                  "\xef\xbb\xbf"
                                  "1990-01-30 子\n１９９０-０１-３０　子時\n");
    EXPECT_EQ(typed.status, 0) << typed.out;
    EXPECT_EQ(typed.out, plain.out);
    EXPECT_EQ(Chenggu({"--batch"}, "\xef\xbb\xbf# a comment\n").out, "");
}

// The export refuses what it cannot write instead of reading past its tables or sizing its
// buffer from a negative count.
TEST(CalendarExport, RefusesDatesOutsideTheRangeAndAReversedRange) {
    using chenggu::GregorianDate;
    const struct {
        GregorianDate first, last;
        const char* reason;
    } cases[] = {{{2100, 12, 31}, {2101, 1, 1}, "2100-12-31"},
                 {{1645, 1, 27}, {1645, 1, 28}, "1645-01-28"},
                 {{2001, 2, 29}, {2001, 3, 1}, "28 days"},
                 {{2000, 1, 2}, {2000, 1, 1}, "is after"}};
    for (const auto& c : cases) {
        const chenggu::Result<std::string> text = CalendarExport(c.first, c.last);
        ASSERT_FALSE(text.ok()) << c.reason;
        EXPECT_NE(text.error().reason.find(c.reason), std::string::npos) << text.error().reason;
    }
    const std::string lastDay = CalendarExport({2100, 12, 31}, {2100, 12, 31}).value();
    EXPECT_EQ(std::count(lastDay.begin(), lastDay.end(), '\n'), 2);
}

TEST(Chenggu, HelpAndVersion) {
    const Outcome help = Chenggu({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_NE(help.out.find("DATE [PERIOD]"), std::string::npos);
    EXPECT_NE(help.out.find("--calendar FROM [TO]"), std::string::npos);

    // The project's version, as the window's About text gives it too.
    const Outcome version = Chenggu({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "chenggu " CHENGGU_VERSION "\n");
}

// A stream that accepts nothing, like a full disk.
class FullDevice : public std::streambuf {
  protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(Chenggu, OutputThatCannotBeWrittenIsAFailure) {
    FullDevice device;
    std::ostream out(&device);
    std::istringstream in;
    std::ostringstream err;
    EXPECT_EQ(RunChenggu({"1990-01-30", "子"}, in, out, err, "en_US.UTF-8"), 1);
    EXPECT_EQ(err.str(), "chenggu: cannot write the output\n");
}

TEST(Chenggu, RefusesBadInputWithOneLineAndExitStatus2) {
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        const char* message;  // a part of the message
    } cases[] = {
        {"a date that does not exist", {"2001-02-29"}, "February 2001 has 28 days"},
        {"April 31", {"2020-04-31"}, "April 2020 has 30 days"},
        {"month 13", {"2020-13-01"}, "months run from 1 to 12"},
        {"month 0", {"2020-00-10"}, "months run from 1 to 12"},
        {"day 0", {"2020-01-00"}, "does not exist"},
        {"the day before the range", {"1645-01-27"}, "1645-01-28 to 2100-12-31"},
        {"the day after the range", {"2101-01-01"}, "1645-01-28 to 2100-12-31"},
        {"day first", {"30/01/1990"}, "YYYY-MM-DD"},
        {"no separators", {"19900130"}, "YYYY-MM-DD"},
        {"a two-digit year", {"90-01-30"}, "YYYY-MM-DD"},
        {"a three-digit month", {"1990-001-30"}, "YYYY-MM-DD"},
        {"mixed separators", {"1990-01/30"}, "YYYY-MM-DD"},
        {"an empty date", {""}, "YYYY-MM-DD"},
        {"a very long date", {std::string(100000, '9')}, "...\" is not a date"},
        {"a blank inside", {"1990- 01-30"}, "YYYY-MM-DD"},
        {"a newline inside", {"1990-01\n-30"}, "\\x0a"},
        {"a plus sign", {"+1990-01-30"}, "YYYY-MM-DD"},
        {"invalid UTF-8", {"\xff\xfe"}, "\\xff\\xfe"},
        {"an unknown option", {"--foo", "1990-01-30"}, "unknown option \"--foo\""},
        {"an unknown short option", {"-x"}, "unknown option"},
        {"a stem, not a branch", {"1990-01-30", "甲"}, "not a birth period"},
        {"hour 24", {"1990-01-30", "24:00"}, "times run from 0:00 to 23:59"},
        {"minute 60", {"1990-01-30", "12:60"}, "times run from 0:00 to 23:59"},
        {"a one-digit minute", {"1990-01-30", "12:5"}, "not a birth period"},
        {"seconds", {"1990-01-30", "23:59:00"}, "not a birth period"},
        {"a negative hour", {"1990-01-30", "-1:00"}, "not a birth period"},
        {"a branch with more after it", {"1990-01-30", "子时辰"}, "not a birth period"},
        {"an empty period", {"1990-01-30", ""}, "not a birth period"},
        {"no arguments", {}, "a birth date is needed"},
        {"a place after a period", {"1990-01-30", "子", "成都"}, "needs the clock time"},
        {"a longitude with a zone and more",
         {"1990-01-30", "8:00", "104", "Asia/Shanghai", "x"},
         "too many arguments"},
        {"an unknown zone", {"1990-01-30", "8:00", "104", "Asia/Chengdu"}, "Asia/Chongqing"},
        {"a longitude past 180", {"1990-01-30", "8:00", "--longitude", "181"}, "not a longitude"},
        {"a place without a time", {"1990-01-30", "--place", "成都"}, "needs the clock time"},
        {"a zone alone",
         {"1990-01-30", "8:00", "--zone", "Asia/Tokyo"},
         "needs a place or longitude"},
        {"solar time without a place",
         {"1990-01-30", "8:00", "--solar-time", "true"},
         "needs a place or longitude"},
        {"a clock time summer time skipped",
         {"1988-04-17", "2:30", "--place", "北京"},
         "never happened"},
        {"an ambiguous place", {"1990-01-30", "8:00", "--place", "朝阳区"}, "could be any of"},
        {"--json without a date", {"--json"}, "a birth date is needed"},
        {"--json with --calendar", {"--json", "--calendar", "2020-01-01"}, "--json"},
        {"--calendar without dates", {"--calendar"}, "--calendar FROM [TO]"},
        {"--calendar with three dates",
         {"--calendar", "2020-01-01", "2020-01-02", "2020-01-03"},
         "too many dates"},
        {"FROM after TO",
         {"--calendar", "2000-01-02", "2000-01-01"},
         "FROM 2000-01-02 is after TO 2000-01-01"},
        {"a range past 2100", {"--calendar", "2100-12-01", "2101-01-01"}, "2100-12-31"},
        {"a bad FROM", {"--calendar", "yesterday"}, "YYYY-MM-DD"},
        {"a leap month the year lacks", {"--lunar", "2021-闰4-1"}, "lunar 2021 has no leap month"},
        {"the wrong leap month", {"--lunar", "2020-闰5-1"}, "leap month follows month 4"},
        {"day 30 of a 29-day month", {"--lunar", "1901-1-30"}, "has 29 days"},
        {"day 30 of a 29-day leap month", {"--lunar", "2020-L4-30"}, "has 29 days"},
        {"lunar 13th month", {"--lunar", "2020-13-1"}, "lunar months run from 1 to 12"},
        {"before the range", {"--lunar", "1644-12-29"}, "1645-1-1 to 2100-12-01"},
        {"after the range", {"--lunar", "2100-12-02"}, "1645-1-1 to 2100-12-01"},
        {"闰 without a month", {"--lunar", "2020-闰-1"}, "闰 needs the number"},
        {"a month name for lunar digits", {"--lunar", "2020-四-1"}, "not a lunar date"},
        {"an unknown convention", {"--late-zi", "midnight", "1990-01-30"}, "same-day or next-day"},
        {"an unknown year start", {"--year-start", "winter", "1990-01-30"}, "new-year or spring"},
        {"an unknown leap rule", {"--leap-month", "half", "1990-01-30"}, "whole or split"},
        {"a convention without value", {"1990-01-30", "--leap-month"}, "--leap-month"},
        {"a late 子 read after 2100",
         {"--late-zi", "next-day", "2100-12-31", "晚子"},
         "after 2100-12-31"},
        {"--batch with a date", {"--batch", "1990-01-30"}, "standard input"},
        {"--batch with --calendar", {"--batch", "--calendar", "2020-01-01"}, "--batch"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome run = Chenggu(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("chenggu: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "exactly one line: " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_LT(run.err.size(), 300u);
    }
}

}  // namespace
