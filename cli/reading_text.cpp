#include "cli/reading_text.h"

#include <string_view>

#include "cli/utf8.h"
#include "reading/verses.h"

namespace {

constexpr std::array<std::string_view, 11> Numerals{"〇", "一", "二", "三", "四", "五",
                                                    "六", "七", "八", "九", "十"};
constexpr std::array<std::string_view, 12> MonthNames{"正", "二", "三", "四", "五", "六",
                                                      "七", "八", "九", "十", "冬", "腊"};
constexpr std::string_view VerseBreak = "\r\n\r\n";
constexpr std::string_view VerseIndent = "      ";  // the width of "命批："

std::string PeriodName(int period) {
    return Utf8(BirthPeriods[static_cast<std::size_t>(period)].periodBranch) + "时";
}

// "23:00 -  0:59" as "23:00-0:59".
std::string CompactLabel(int period) {
    std::string label;
    for (const char c : Utf8(BirthPeriods[static_cast<std::size_t>(period)].periodLabel)) {
        if (c != ' ') label += c;
    }
    return label;
}

// Right-aligns text in a column of the given width, counting one column per byte; used for
// ASCII cells only.
std::string Padded(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string DateLines(const GregorianDate& date, const LunarDate& lunar, const Reading& r,
                      const std::string& periodSuffix) {
    std::string text;
    text += "公历：" + std::to_string(date.year) + "年" + std::to_string(date.month) + "月" +
            std::to_string(date.day) + "日" + periodSuffix + "\n";
    text += "农历：" + std::to_string(lunar.year) + "年" +
            LunarMonthName(lunar.month, lunar.leapMonth) + LunarDayName(lunar.day) + "\n";
    text += "干支：" + Utf8(r.yearStemBranch) + "年 " + Utf8(r.monthStemBranch) + "月 " +
            Utf8(r.dayStemBranch) + "日";
    return text;
}

std::string WeightLine(const Reading& r) {
    return "骨重：年 " + std::to_string(r.yearWeight) + " 钱 + 月 " +
           std::to_string(r.monthWeight) + " 钱 + 日 " + std::to_string(r.dayWeight) + " 钱";
}

}  // namespace

std::string LunarMonthName(std::uint16_t month, bool leapMonth) {
    if (month < 1 || month > MonthNames.size()) return "?月";
    return std::string(leapMonth ? "闰" : "") + std::string(MonthNames[month - 1u]) + "月";
}

std::string LunarDayName(std::uint16_t day) {
    if (day < 1 || day > 30) return "?";
    if (day <= 10) return "初" + std::string(Numerals[day]);
    if (day < 20) return "十" + std::string(Numerals[day - 10u]);
    if (day == 20) return "二十";
    if (day < 30) return "廿" + std::string(Numerals[day - 20u]);
    return "三十";
}

std::string WeightText(std::int32_t qian) {
    if (qian < 0 || qian > 99) return std::to_string(qian) + "钱";
    const auto liang = static_cast<std::size_t>(qian / 10);
    const auto rest = static_cast<std::size_t>(qian % 10);
    std::string text;
    if (liang > 0) text += std::string(Numerals[liang]) + "两";
    if (rest > 0 || liang == 0) text += std::string(Numerals[rest]) + "钱";
    return text;
}

std::string ReadingText(const GregorianDate& date, const LunarDate& lunar, int period,
                        const Reading& r) {
    std::string text =
        DateLines(date, lunar, r, " " + PeriodName(period) + "（" + CompactLabel(period) + "）");
    text += " " + PeriodName(period) + "\n";
    text += WeightLine(r) + " + 时 " + std::to_string(r.periodWeight) + " 钱\n";
    text += "总骨重：" + std::to_string(r.totalWeight) + " 钱，" + WeightText(r.totalWeight) + "\n";

    std::string verse = Utf8(r.verse);
    const std::size_t lineBreak = verse.find(VerseBreak);
    if (lineBreak != std::string::npos) {
        verse.replace(lineBreak, VerseBreak.size(), "\n" + std::string(VerseIndent));
    }
    text += "命批：" + verse + "\n";
    return text;
}

std::string PeriodTableText(const GregorianDate& date, const LunarDate& lunar,
                            const std::array<Reading, 12>& readings) {
    std::string text = DateLines(date, lunar, readings[0], "") + "\n";
    text += WeightLine(readings[0]) + "\n\n";
    text += "时辰  时间" + std::string(9, ' ') + "  时重  总骨重\n";
    for (std::size_t period = 0; period < readings.size(); ++period) {
        const Reading& r = readings[period];
        text += PeriodName(static_cast<int>(period)) + "  " +
                Utf8(BirthPeriods[period].periodLabel) + Padded(std::to_string(r.periodWeight), 6) +
                Padded(std::to_string(r.totalWeight), 8) + " 钱  " + WeightText(r.totalWeight) +
                "\n";
    }
    return text;
}
