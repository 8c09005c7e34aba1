#include "reading/chinese_text.h"

#include <array>

#include "reading/utf8.h"
#include "reading/verses.h"

namespace {

constexpr std::array<std::string_view, 11> Numerals{"〇", "一", "二", "三", "四", "五",
                                                    "六", "七", "八", "九", "十"};
constexpr std::array<std::string_view, 12> MonthNames{"正", "二", "三", "四", "五", "六",
                                                      "七", "八", "九", "十", "冬", "腊"};
constexpr std::string_view VerseBreak = "\r\n";

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

const VerseText& VerseTextFor(std::int32_t totalWeight) {
    static const std::array<VerseText, Verses.size()> texts = [] {
        std::array<VerseText, Verses.size()> made;
        for (std::size_t i = 0; i < Verses.size(); ++i) {
            made[i].verse = Utf8(Verses[i]);
            const std::string& text = made[i].verse;
            for (std::size_t start = 0; start <= text.size();) {
                std::size_t end = text.find(VerseBreak, start);
                if (end == std::string::npos) end = text.size();
                if (end > start) made[i].lines.push_back(text.substr(start, end - start));
                start = end + VerseBreak.size();
            }
        }
        return made;
    }();
    static const VerseText none;
    const std::int64_t entry = std::int64_t{totalWeight} - LightestVerseWeight;
    if (entry < 0 || entry >= static_cast<std::int64_t>(texts.size())) return none;
    return texts[static_cast<std::size_t>(entry)];
}

std::string_view ConventionText(LateZi value) {
    return value == LateZi::SameDay ? "晚子时算当日" : "晚子时算次日";
}
std::string_view ConventionText(YearStart value) {
    return value == YearStart::NewYear ? "年以正月初一为界" : "年以立春为界";
}
std::string_view ConventionText(LeapMonthRule value) {
    return value == LeapMonthRule::Whole ? "闰月整月按所闰之月" : "闰月十六日起按下月";
}

std::string AlternativeName(const BirthReading& from, const BirthReading& alternative) {
    const ReadingOptions& to = alternative.options;
    if (to.lateZi != from.options.lateZi) {
        const bool assumedLate = from.birth.ziHalf == ZiHalf::Unsaid;
        return std::string(assumedLate ? "若生于 23:00 后且" : "若") +
               std::string(ConventionText(to.lateZi));
    }
    if (to.yearStart != from.options.yearStart) {
        return "若" + std::string(ConventionText(to.yearStart));
    }
    return "若" + std::string(ConventionText(to.leapMonth));
}
