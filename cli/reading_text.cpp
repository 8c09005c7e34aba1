#include "cli/reading_text.h"

#include <string_view>

#include "chenggu/chinese_text.h"

namespace chenggu::cli {
namespace {

constexpr std::string_view VerseIndent = "      ";  // the width of "命批："

std::string ConventionsLine(const Options& options) {
    return "规则：" + std::string(ConventionText(options.lateZi)) + "；" +
           std::string(ConventionText(options.yearStart)) + "；" +
           std::string(ConventionText(options.leapMonth)) + "\n";
}

// Under next-day a plain 子 is read on its own day; say how to ask for the next.
constexpr std::string_view LateZiHint =
    "提示：子时跨午夜，“子”按当日论；23:00-23:59 出生请输入“晚子”或 23:MM，按次日论\n";

bool NeedsLateZiHint(const BirthReading& r) {
    return r.period().index == 0 && r.period().ziHalf == ZiHalf::Unsaid &&
           r.options.lateZi == LateZi::NextDay;
}

// Right-aligns text in a column of the given width, counting one column per byte; used for
// ASCII cells only.
std::string Padded(std::string_view text, std::size_t width) {
    return (text.size() < width ? std::string(width - text.size(), ' ') : "") + std::string(text);
}

std::string ChineseDate(const GregorianDate& date) {
    return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" +
           std::to_string(date.day) + "日";
}

std::string DateLines(const BirthReading& r, const std::string& periodSuffix) {
    std::string text = "公历：" + ChineseDate(r.birth.date) + periodSuffix + "\n";
    if (r.readingDate != r.birth.date) {
        text += "论日：" + ChineseDate(r.readingDate) + "（晚子时算次日）\n";
    }
    text += "农历：" + LunarDateName(r.lunarDate) + "\n";
    if (r.birth.lunarInput) {
        if (const auto twin = LeapMonthTwin(*r.birth.lunarInput)) {
            text += "闰月同日：农历" + LunarDateName(ToLunar(*twin)) + "是公历" +
                    ChineseDate(*twin) + "，闰月出生请在月份前加“闰”\n";
        }
    }
    text += "干支：" + std::string(r.yearStemBranch) + "年 " + std::string(r.monthStemBranch) +
            "月 " + std::string(r.dayStemBranch) + "日";
    return text;
}

std::string WeightLine(const BirthReading& r) {
    return "骨重：年 " + std::to_string(r.yearWeight) + " 钱 + 月 " +
           std::to_string(r.monthWeight) + " 钱 + 日 " + std::to_string(r.dayWeight) + " 钱";
}

std::string TotalText(std::int32_t total) {
    return std::to_string(total) + " 钱，" + WeightText(total);
}

// A period's hours as a column of the table: " 1:00 -  2:59".
std::string HoursColumn(int index) {
    const int first = (2 * index + 23) % 24;
    const auto hour = [](int h) { return Padded(std::to_string(h), 2); };
    return hour(first) + ":00 - " + hour((first + 1) % 24) + ":59";
}

}  // namespace

std::string ReadingText(const BirthReading& r) {
    const Period plain{r.period().index};
    std::string text = DateLines(r, " " + std::string(PeriodName(r.period())) + "（" +
                                        std::string(PeriodLabel(r.period())) + "）");
    text += " " + std::string(PeriodName(plain)) + "\n";
    text += WeightLine(r) + " + 时 " + std::to_string(r.periodWeight) + " 钱\n";
    text += "总骨重：" + TotalText(r.totalWeight) + "\n";
    text += "命批：" + std::string(r.verseLines[0]) + "\n";
    text += std::string(VerseIndent) + std::string(r.verseLines[1]) + "\n";
    text += ConventionsLine(r.options);
    for (const BirthReading& alternative : r.alternatives) {
        text += AlternativeCondition(r, alternative) + "：总骨重 " +
                TotalText(alternative.totalWeight) + "；命批：" +
                std::string(alternative.verseLines[0]) + std::string(alternative.verseLines[1]) +
                "\n";
    }
    if (NeedsLateZiHint(r)) text += LateZiHint;
    return text;
}

std::string PeriodTableText(const std::array<BirthReading, 12>& readings) {
    const BirthReading& first = readings[0];
    std::string text = DateLines(first, "") + "\n";
    text += WeightLine(first) + "\n\n";
    text += "时辰  时间" + std::string(9, ' ') + "  时重  总骨重\n";
    for (std::size_t index = 0; index < readings.size(); ++index) {
        const BirthReading& r = readings[index];
        text += std::string(PeriodName(r.period())) + "  " + HoursColumn(static_cast<int>(index)) +
                Padded(std::to_string(r.periodWeight), 6) +
                Padded(std::to_string(r.totalWeight), 8) + " 钱  " + WeightText(r.totalWeight) +
                "\n";
    }

    text += ConventionsLine(first.options);
    // The late-子 switch moves only the 子 row; the others move every row alike.
    for (const BirthReading& alternative : first.alternatives) {
        if (alternative.switched != Convention::LateZi) continue;
        text += AlternativeCondition(first, alternative) + "：子时 " +
                TotalText(alternative.totalWeight) + "\n";
    }
    const BirthReading& other = readings[1];
    for (const BirthReading& alternative : other.alternatives) {
        const std::int32_t change = alternative.totalWeight - other.totalWeight;
        const bool year = alternative.switched == Convention::YearStart;
        text += AlternativeCondition(other, alternative) + "：" + (year ? "年 " : "月 ") +
                std::to_string(year ? alternative.yearWeight : alternative.monthWeight) +
                " 钱，各时辰总骨重" + (change > 0 ? "加 " : "减 ") +
                std::to_string(change > 0 ? change : -change) + " 钱\n";
    }
    if (NeedsLateZiHint(first)) text += LateZiHint;
    return text;
}

}  // namespace chenggu::cli
