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
  chenggu --json [选项] 日期 [时辰]  同上，以 JSON 输出
  chenggu --batch [选项] < 文件      逐行读取“日期 [时辰]”，每行输出一行 JSON
  chenggu --calendar 起始日 [结束日] 列出一段日期的农历，以制表符分隔
  chenggu --help | --version

日期   公历 1901-01-01 至 2050-12-31，可写 1990-01-30、1990/1/30、1990.1.30 或
       1990年1月30日；农历写作 1990年正月初四、2020年闰四月初一（月份可写正月至腊月、
       冬月，日子可写初一至三十、廿一）
时辰   地支 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥（可加“时”），早子（0:00-0:59）、
       晚子（23:00-23:59），或钟点 23:30、23点；子时从 23:00 到 0:59
       全角数字、繁体字（子時、閏）也能识别

选项：
  --lunar                    数字日期按农历读（农历 1900-11-11 至 2050-11-18），闰月在
                             月份前加“闰”或 L，如 2020-闰4-1、2020-L04-01
  --late-zi same-day|next-day
                             晚子时（23:00-23:59）出生算当日（默认）或算次日
  --year-start new-year|spring
                             年的骨重按农历年、以正月初一为界（默认），或按干支年、以立春为界
  --leap-month whole|split   闰月整月按所闰之月（默认），或从十六日起按下一个月
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
  chenggu --json 1990-01-30
  chenggu --calendar 2020-05-20 2020-06-25

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
  chenggu --batch [OPTIONS] < FILE  one reading a line of input (DATE [PERIOD]), as JSON Lines
  chenggu --calendar FROM [TO]     the lunar calendar for a range of dates, tab-separated
  chenggu --help | --version

DATE, FROM, TO   a Gregorian date from 1901-01-01 to 2050-12-31: 1990-01-30, 1990/1/30,
                 1990.1.30 or 1990年1月30日; a lunar date in words: 1990年正月初四,
                 2020年闰四月初一
PERIOD           an earthly branch 子 丑 寅 卯 辰 巳 午 未 申 酉 戌 亥 (子时 also works),
                 早子 (0:00-0:59) or 晚子 (23:00-23:59), or a clock time 23:30 or 23点;
                 子 runs from 23:00 to 0:59
                 Full-width digits and Traditional characters (子時, 閏) are read too.

Options:
  --lunar                  DATE, FROM and TO in numbers are lunar dates (1900-11-11 to
                           2050-11-18); write the month of a leap month as 闰M or LM
                           (2020-闰4-1, 2020-L04-01)
  --late-zi same-day|next-day
                           a 晚子 birth (23:00-23:59) is read on its own day (default) or on
                           the next day
  --year-start new-year|spring
                           the year weight follows the lunar year, from the lunar new year
                           (default), or the stem-branch year, from Start of Spring (立春)
  --leap-month whole|split
                           a leap month weighs as the month it follows (default), or from its
                           16th day on as the next month
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
  chenggu --json 1990-01-30
  chenggu --calendar 2020-05-20 2020-06-25

Errors go to standard error as one line starting "chenggu: ", with exit status 2. Help and
messages are in Chinese unless the locale is English (LANG=en_US.UTF-8).
)";

}  // namespace

std::string UsageText(const Voice& voice) {
    if (voice.language == Language::English) return std::string(EnglishUsage);
    return Say(voice.script, ChineseUsage);
}

}  // namespace chenggu::cli
