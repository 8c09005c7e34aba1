// The text of chenggu --help, in Chinese (the default) and in English.
#include "cli/arguments.h"
#include "cli/say.h"

namespace chenggu::cli {
namespace {

constexpr std::string_view ChineseUsage = R"(chenggu：称骨算命，按出生的日期与时辰称出骨重，附命批

称骨算命相传出自唐代袁天罡：出生的年、月、日、时各有一个重量，以两、钱计（十钱为一两），
四者相加为“骨重”，每个骨重对应一首命批。这是流传已久的民间习俗，结果仅供娱乐。

用法：
  chenggu [选项] 日期 [时辰]        测算一个时辰；不写时辰则列出十二个时辰
  chenggu [选项] 日期 钟点 地点|经度 [时区]
                                   按出生地的真太阳时定时辰
  chenggu --json [选项] 日期 [时辰]  同上，以 JSON 输出
  chenggu --batch [选项] < 文件      逐行读取“日期 [时辰]”或“日期 钟点 地点|经度 [时区]”，
                                   每行输出一行 JSON
  chenggu --calendar 起始日 [结束日] 列出一段日期的农历，以制表符分隔
  chenggu --places 名称              列出名称相符的地点，及其省份、经度、时区
  chenggu --terms 年份               列出一年（1645-2100）二十四节气的交节时刻（北京时间）
  chenggu --birthdays 日期 [--from 年] [--to 年]
                                   农历生日：每个农历年的生日，输出 iCalendar 日历文件
)";
// The service's lines, in builds that have it.
constexpr std::string_view ChineseServiceUsage =
    R"(  chenggu serve [选项]               以 HTTP 提供接口和网页（选项见 serve --help）
  chenggu mcp                        以 MCP 协议在标准输入输出上提供工具
)";
constexpr std::string_view ChineseUsageRest = R"(  chenggu --help | --version

日期   公历 1645-01-28 至 2100-12-31，可写 1990-01-30、1990/1/30、1990.1.30 或
       1990年1月30日；农历写作 1990年正月初四、2020年闰四月初一（月份可写正月至腊月、
       冬月，日子可写初一至三十、廿一）
时辰   地支 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥（可加“时”），早子（0:00-0:59）、
       晚子（23:00-23:59），或钟点 23:30、23点；子时从 23:00 到 0:59
       全角数字、繁体字（子時、閏）也能识别
钟点   出生证上的钟表时间，如 14:30；与出生地或经度同用时，先按时区的历史（含 1986-1991
       年等夏令时）换算，再按经度和均时差（Meeus 算法）得出真太阳时，由此定日期与时辰
地点   中国的省、地级市、县（成都、四川成都、漠河），或国外城市（纽约）；中国大陆一律按
       北京时间，港澳台按当地时区

选项：
  --lunar                    数字日期按农历读（农历 1645-1-1 至 2100-12-01），闰月在
                             月份前加“闰”或 L，如 2020-闰4-1、2020-L04-01
  --late-zi same-day|next-day
                             晚子时（23:00-23:59）出生算当日（默认）或算次日
  --year-start new-year|spring
                             年的骨重按农历年、以正月初一为界（默认），或按干支年、以立春交节
                             时刻为界（干支的年、月都在节气交节的时刻更替）
  --leap-month whole|split   闰月整月按所闰之月（默认），或从十六日起按下一个月
  --calendar-rule printed|computed
                             历日按当时颁行的历书（默认），或按现代推算（东八区）；两者只在
                             1929 年以前偶有不同，如 1914 年 11 月、1917-12-07
  --place 地点               出生地，给出经度与时区
  --longitude 经度           东经为正、西经为负，如 104.07、104°04′E、74°W；与 --place 同用时
                             以此为准
  --zone 时区                IANA 时区名，如 America/New_York（默认 Asia/Shanghai）
  --solar-time true|mean|clock
                             时辰按真太阳时（有出生地时默认）、平太阳时（只按经度），或按
                             钟表时间（没有出生地时唯一可用）
  --script simplified|traditional
                             输出简体字（默认）或繁体字；zh_TW、zh_HK、zh_MO 语言环境默认繁体
  --batch                    从标准输入逐行读取“日期 [时辰]”（跳过空行和以 # 开头的行），
                             每行输出一行 JSON；读不懂的行输出 {"line": 行号, "input": …,
                             "error": …}，退出状态为 2
  -V, --version              显示版本

示例：
  chenggu 1990-01-30 子
  chenggu 1990年1月30日 23:30 --late-zi next-day
  chenggu 1990年正月初四 午
  chenggu 1990-07-15 14:30 成都
  chenggu 1995-03-15 08:00 -74.0 America/New_York --solar-time mean
  chenggu --json 1990-01-30
  chenggu --calendar 2020-05-20 2020-06-25
  chenggu --places 乌鲁

出错时在标准错误输出一行以“chenggu: ”开头的说明，退出状态为 2。
语言环境为英文（如 LANG=en_US.UTF-8）时，帮助和出错说明用英文。
)";

constexpr std::string_view EnglishUsage =
    R"(chenggu: the bone-weight reading (称骨算命) of a birth date and period

Bone-weight reading is a folk custom said to go back to Yuan Tiangang of the Tang dynasty:
the year, month, day and hour of birth each weigh some qian (ten qian make a liang); their
sum, the bone weight, has a verse of its own. It is for entertainment only.

Usage:
  chenggu [OPTIONS] DATE [PERIOD]   one reading, or all twelve periods when PERIOD is left out
  chenggu --json [OPTIONS] DATE [PERIOD]
                                   the same as JSON
  chenggu [OPTIONS] DATE TIME PLACE|LONGITUDE [ZONE]
                                   the period by the true solar time at the birthplace
  chenggu --batch [OPTIONS] < FILE  one reading a line of input (DATE [PERIOD], or DATE TIME
                                   PLACE|LONGITUDE [ZONE]), as JSON Lines
  chenggu --calendar FROM [TO]     the lunar calendar for a range of dates, tab-separated
  chenggu --places QUERY           places whose names hold QUERY, with province, longitude
                                   and zone
  chenggu --terms YEAR             the 24 solar terms of a year (1645-2100) to the second,
                                   in Beijing time (text, or --json)
  chenggu --birthdays DATE [--from YEAR] [--to YEAR]
                                   the lunar birthday in each lunar year, as an iCalendar
                                   file (or --json)
)"
#ifdef CHENGGU_WITH_SERVICE
    R"(  chenggu serve [OPTIONS]          the API, its OpenAPI description and the page over HTTP
                                   (see chenggu serve --help)
  chenggu mcp                      Model Context Protocol tools on standard input and output
)"
#endif
    R"(  chenggu --help | --version

DATE, FROM, TO   a Gregorian date from 1645-01-28 to 2100-12-31: 1990-01-30, 1990/1/30,
                 1990.1.30 or 1990年1月30日; a lunar date in words: 1990年正月初四,
                 2020年闰四月初一
PERIOD           an earthly branch 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥 (子时 also works),
                 早子 (0:00-0:59) or 晚子 (23:00-23:59), or a clock time 23:30 or 23点;
                 子 runs from 23:00 to 0:59
                 Full-width digits and Traditional characters (子時, 閏) are read too.
TIME             the clock time of the birth certificate, 14:30. With a place or longitude
                 it becomes standard time by the zone's history (summer time included),
                 then true solar time by the longitude and the equation of time (Meeus);
                 that time gives the day and the period
PLACE            a province, prefecture-level city or county of China in Chinese (成都,
                 四川成都, 漠河), or a city abroad (纽约, New York); mainland China is on
                 Beijing time, Hong Kong, Macau and Taiwan on their own zones

Options:
  --lunar                  DATE, FROM and TO in numbers are lunar dates (1645-1-1 to
                           2100-12-01); write the month of a leap month as 闰M or LM
                           (2020-闰4-1, 2020-L04-01)
  --late-zi same-day|next-day
                           a 晚子 birth (23:00-23:59) is read on its own day (default) or on
                           the next day
  --year-start new-year|spring
                           the year weight follows the lunar year, from the lunar new year
                           (default), or the stem-branch year, from the instant of Start of
                           Spring (立春; the stem-branch years and months turn at the instants
                           of the terms)
  --leap-month whole|split
                           a leap month weighs as the month it follows (default), or from its
                           16th day on as the next month
  --calendar-rule printed|computed
                           days by the calendar as printed at the time (default), or as
                           computed today at UTC+8; they differ on some days before 1929,
                           such as November 1914 and 1917-12-07
  --place PLACE            the birthplace, which gives the longitude and the zone
  --longitude DEGREES      east positive: 104.07, 104°04′E, 74°W; overrides the place's
  --zone ZONE              an IANA zone name such as America/New_York (default Asia/Shanghai)
  --solar-time true|mean|clock
                           the period by true solar time (the default with a birthplace), by
                           mean solar time (longitude only), or by the clock (the only one
                           without a birthplace)
  --script simplified|traditional
                           the readings in Simplified (default) or Traditional characters;
                           a zh_TW, zh_HK or zh_MO locale chooses Traditional
  --batch                  read DATE [PERIOD] requests from standard input, one a line (blank
                           lines and lines starting with # are skipped); write one JSON line
                           each, or {"line": N, "input": ..., "error": ...} for a bad one; exit
                           status 2 if any line was bad
  -V, --version            print the version

Examples:
  chenggu 1990-01-30 子
  chenggu 1990-01-30 23:30 --late-zi next-day
  chenggu 1990年正月初四 午
  chenggu 1990-07-15 14:30 成都
  chenggu 1995-03-15 08:00 -74.0 America/New_York --solar-time mean
  chenggu --json 1990-01-30
  chenggu --calendar 2020-05-20 2020-06-25
  chenggu --places 乌鲁

Errors go to standard error as one line starting "chenggu: ", with exit status 2. Help and
messages are in Chinese unless the locale is English (LANG=en_US.UTF-8).
)";

}  // namespace

std::string UsageText(const Voice& voice) {
    if (voice.language == Language::English) return std::string(EnglishUsage);
#ifdef CHENGGU_WITH_SERVICE
    const std::string service = Say(voice.script, ChineseServiceUsage);
#else
    const std::string service;
#endif
    return Say(voice.script, ChineseUsage) + service + Say(voice.script, ChineseUsageRest);
}

}  // namespace chenggu::cli
