#include "cli/reading_text.h"

#include <string_view>

#include "reading/chinese_text.h"
#include "reading/utf8.h"
#include "reading/verses.h"

namespace {

constexpr std::string_view VerseIndent = "      ";  // the width of "命批："

std::string ConventionsLine(const ReadingOptions& options) {
    return "规则：" + std::string(ConventionText(options.lateZi)) + "；" +
           std::string(ConventionText(options.yearStart)) + "；" +
           std::string(ConventionText(options.leapMonth)) + "\n";
}

// Under next-day a plain 子 is read on its own day; say how to ask for the next.
constexpr std::string_view LateZiHint =
    "提示：子时跨午夜，“子”按当日论；23:00-23:59 出生请输入“晚子”或 23:MM，按次日论\n";

bool NeedsLateZiHint(const BirthReading& r) {
    return r.birth.period == 0 && r.birth.ziHalf == ZiHalf::Unsaid &&
           r.options.lateZi == LateZi::NextDay;
}

std::string PeriodName(const Birth& birth) {
    if (birth.period == 0 && birth.ziHalf == ZiHalf::Early) return "早子时（0:00-0:59）";
    if (birth.period == 0 && birth.ziHalf == ZiHalf::Late) return "晚子时（23:00-23:59）";
    std::string label;  // "23:00 -  0:59" as "23:00-0:59"
    for (const char c : Utf8(BirthPeriods[static_cast<std::size_t>(birth.period)].periodLabel)) {
        if (c != ' ') label += c;
    }
    return BranchName(birth.period) + "（" + label + "）";
}

// Right-aligns text in a column of the given width, counting one column per byte; used for
// ASCII cells only.
std::string Padded(const std::string& text, std::size_t width) {
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string ChineseDate(const GregorianDate& date) {
    return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" +
           std::to_string(date.day) + "日";
}

std::string LunarText(const LunarDate& lunar) {
    return std::to_string(lunar.year) + "年" + LunarMonthName(lunar.month, lunar.leapMonth) +
           LunarDayName(lunar.day);
}

std::string DateLines(const BirthQuery& query, const BirthReading& br,
                      const std::string& periodSuffix) {
    const Reading& r = br.reading;
    std::string text = "公历：" + ChineseDate(br.birth.date) + periodSuffix + "\n";
    if (br.readingDate != br.birth.date) {
        text += "论日：" + ChineseDate(br.readingDate) + "（晚子时算次日）\n";
    }
    text += "农历：" + LunarText(br.lunarDate) + "\n";
    if (query.leapMonthDate) {
        const LunarDate leap = CalendarDate::LunarDateAt(query.leapMonthDate->DayOffset());
        text += "闰月同日：农历" + LunarText(leap) + "是公历" + ChineseDate(*query.leapMonthDate) +
                "，闰月出生请在月份前加“闰”\n";
    }
    text += "干支：" + Utf8(r.yearStemBranch) + "年 " + Utf8(r.monthStemBranch) + "月 " +
            Utf8(r.dayStemBranch) + "日";
    return text;
}

std::string WeightLine(const Reading& r) {
    return "骨重：年 " + std::to_string(r.yearWeight) + " 钱 + 月 " +
           std::to_string(r.monthWeight) + " 钱 + 日 " + std::to_string(r.dayWeight) + " 钱";
}

std::string TotalText(std::int32_t total) {
    return std::to_string(total) + " 钱，" + WeightText(total);
}

}  // namespace

std::string BranchName(int period) {
    return Utf8(BirthPeriods[static_cast<std::size_t>(period)].periodBranch) + "时";
}

std::string ReadingText(const BirthQuery& query, const BirthReading& br) {
    const Reading& r = br.reading;
    std::string text = DateLines(query, br, " " + PeriodName(br.birth));
    text += " " + BranchName(br.birth.period) + "\n";
    text += WeightLine(r) + " + 时 " + std::to_string(r.periodWeight) + " 钱\n";
    text += "总骨重：" + TotalText(r.totalWeight) + "\n";
    const std::vector<std::string>& lines = VerseTextFor(r.totalWeight).lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "命批：" : std::string(VerseIndent)) + lines[i] + "\n";
    }
    text += ConventionsLine(br.options);
    for (const BirthReading& alternative : br.Alternatives()) {
        std::string verse;
        for (const std::string& line : VerseTextFor(alternative.reading.totalWeight).lines) {
            verse += line;
        }
        text += AlternativeName(br, alternative) + "：总骨重 " +
                TotalText(alternative.reading.totalWeight) + "；命批：" + verse + "\n";
    }
    if (NeedsLateZiHint(br)) text += LateZiHint;
    return text;
}

std::string PeriodTableText(const BirthQuery& query, const std::array<BirthReading, 12>& readings) {
    const BirthReading& first = readings[0];
    std::string text = DateLines(query, first, "") + "\n";
    text += WeightLine(first.reading) + "\n\n";
    text += "时辰  时间" + std::string(9, ' ') + "  时重  总骨重\n";
    for (std::size_t period = 0; period < readings.size(); ++period) {
        const Reading& r = readings[period].reading;
        text += BranchName(static_cast<int>(period)) + "  " +
                Utf8(BirthPeriods[period].periodLabel) + Padded(std::to_string(r.periodWeight), 6) +
                Padded(std::to_string(r.totalWeight), 8) + " 钱  " + WeightText(r.totalWeight) +
                "\n";
    }

    text += ConventionsLine(first.options);
    // The late-子 switch moves only the 子 row; the others move every row alike.
    for (const BirthReading& alternative : first.Alternatives()) {
        if (alternative.options.lateZi == first.options.lateZi) continue;
        text += AlternativeName(first, alternative) + "：子时 " +
                TotalText(alternative.reading.totalWeight) + "\n";
    }
    const BirthReading& other = readings[1];
    for (const BirthReading& alternative : other.Alternatives()) {
        const std::int32_t change = alternative.reading.totalWeight - other.reading.totalWeight;
        const Reading& a = alternative.reading;
        const bool year = alternative.options.yearStart != other.options.yearStart;
        text += AlternativeName(other, alternative) + "：" + (year ? "年 " : "月 ") +
                std::to_string(year ? a.yearWeight : a.monthWeight) + " 钱，各时辰总骨重" +
                (change > 0 ? "加 " : "减 ") + std::to_string(change > 0 ? change : -change) +
                " 钱\n";
    }
    if (NeedsLateZiHint(first)) text += LateZiHint;
    return text;
}
