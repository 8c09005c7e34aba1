#include "cli/reading_text.h"

#include <string_view>

#include "chenggu/chinese_text.h"
#include "cli/say.h"

namespace chenggu::cli {
namespace {

constexpr std::string_view VerseIndent = "      ";  // the width of "命批："

// The conventions, and at a birthplace the time the period follows.
std::string ConventionsLine(const Options& options, const BirthTime* time, Script s) {
    return Say(s, "规则：") + std::string(ConventionText(options.lateZi, s)) + Say(s, "；") +
           std::string(ConventionText(options.yearStart, s)) + Say(s, "；") +
           std::string(ConventionText(options.leapMonth, s)) + Say(s, "；") +
           std::string(ConventionText(options.calendarRule, s)) +
           (time ? Say(s, "；时辰") + std::string(ConventionText(time->used, s)) : "") + "\n";
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

std::string ChineseDate(const GregorianDate& date, Script s) {
    return std::to_string(date.year) + Say(s, "年") + std::to_string(date.month) + Say(s, "月") +
           std::to_string(date.day) + Say(s, "日");
}

std::string DateLines(const BirthReading& r, const std::string& periodSuffix, Script s) {
    std::string text = Say(s, "公历：") + ChineseDate(r.birth.date, s) + periodSuffix + "\n";
    if (r.readingDate != r.birth.date) {
        const bool bySun = r.birthTime && r.birthTime->Used().date != r.birth.date;
        text += Say(s, "论日：") + ChineseDate(r.readingDate, s) +
                (bySun ? Say(s, "（按") + std::string(TimeName(r.birthTime->used, s)) + Say(s, "）")
                       : Say(s, "（晚子时算次日）")) +
                "\n";
    }
    text += Say(s, "农历：") + LunarDateName(r.lunarDate, s) + "\n";
    if (r.birth.lunarInput) {
        if (const auto twin = LeapMonthTwin(*r.birth.lunarInput, r.options.calendarRule)) {
            text += Say(s, "闰月同日：农历") + LunarDateName(ToLunar(*twin, r.options.calendarRule), s) + Say(s, "是公历") +
                    ChineseDate(*twin, s) + Say(s, "，闰月出生请在月份前加“闰”") + "\n";
        }
    }
    text += Say(s, "干支：") + std::string(r.yearStemBranch) + Say(s, "年 ") +
            std::string(r.monthStemBranch) + Say(s, "月 ") + std::string(r.dayStemBranch) +
            Say(s, "日");
    return text;
}

// The weighed year is named: under the lunar new year it is not always the year of the
// 干支 line (1990-01-30 weighs 庚午, the lunar year, while its 干支 year is still 己巳).
std::string YearWeightText(const BirthReading& r, Script s) {
    return std::to_string(r.yearWeight) + Say(s, " 钱（") + std::string(r.weighedYearStemBranch) +
           Say(s, "年）");
}

std::string WeightLine(const BirthReading& r, Script s) {
    return Say(s, "骨重：年 ") + YearWeightText(r, s) + Say(s, " + 月 ") +
           std::to_string(r.monthWeight) + Say(s, " 钱 + 日 ") + std::to_string(r.dayWeight) +
           Say(s, " 钱");
}

std::string TotalText(std::int32_t total, Script s) {
    return std::to_string(total) + Say(s, " 钱，") + WeightText(total, s);
}

std::string Verse(const BirthReading& r, Script s) {
    const auto lines = VerseLines(r.totalWeight, s);
    return std::string(lines[0]) + std::string(lines[1]);
}

// A period's hours as a column of the table: " 1:00 -  2:59".
std::string HoursColumn(int index) {
    const int first = (2 * index + 23) % 24;
    const auto hour = [](int h) { return Padded(std::to_string(h), 2); };
    return hour(first) + ":00 - " + hour((first + 1) % 24) + ":59";
}

}  // namespace

std::string ReadingText(const BirthReading& r, Script s) {
    std::string text;
    for (const std::string& step : BirthTimeSteps(r, s)) text += step + "\n";
    text += DateLines(r,
                      " " + std::string(PeriodName(r.period(), s)) + Say(s, "（") +
                          std::string(PeriodLabel(r.period())) + Say(s, "）"),
                      s);
    text += " " + std::string(r.periodStemBranch) + Say(s, "时") + "\n";
    if (r.birth.clock && r.birth.clock->partOfDayUnsaid) {
        text += Say(s, "钟点：") + ClockNote(*r.birth.clock, s) + "\n";
    }
    if (r.solarTerm) text += Say(s, "节气：") + SolarTermText(*r.solarTerm, s) + "\n";
    text +=
        WeightLine(r, s) + Say(s, " + 时 ") + std::to_string(r.periodWeight) + Say(s, " 钱") + "\n";
    text += Say(s, "总骨重：") + TotalText(r.totalWeight, s) + "\n";
    const auto lines = VerseLines(r.totalWeight, s);
    text += Say(s, "命批：") + std::string(lines[0]) + "\n";
    text += std::string(VerseIndent) + std::string(lines[1]) + "\n";
    text += Say(s, "释义：") + std::string(VerseExplanation(r.totalWeight, s)) + "\n";
    text += ConventionsLine(r.options, r.birthTime ? &*r.birthTime : nullptr, s);
    for (const BirthReading& alternative : r.alternatives) {
        text += AlternativeCondition(r, alternative, s) + Say(s, "：总骨重 ") +
                TotalText(alternative.totalWeight, s) + Say(s, "；命批：") + Verse(alternative, s) +
                "\n";
    }
    if (NeedsLateZiHint(r)) text += Say(s, LateZiHint);
    return text;
}

std::string PeriodTableText(const std::array<BirthReading, 12>& readings, Script s) {
    const BirthReading& first = readings[0];
    std::string text = DateLines(first, "", s) + "\n";
    // On the day of a sectional term the periods before its instant have the month (and for
    // 立春 the year) before it.
    for (const BirthReading& r : readings) {
        if (!r.solarTerm) continue;
        if (r.solarTerm->printedDay) {  // before 1929: the whole day is on one side
            text += Say(s, "节气：") + SolarTermText(*r.solarTerm, s) + "\n";
            break;
        }
        text += Say(s, "节气：") + std::string(InScript(r.solarTerm->term.name, s)) + " " +
                IsoDateTime(r.solarTerm->term.beijing).substr(11) +
                Say(s, "（北京时间）交节，此前的时辰年柱、月柱按交节之前") + "\n";
        break;
    }
    text += WeightLine(first, s) + "\n\n";
    text += Say(s, "时辰  时柱  时间") + std::string(9, ' ') + Say(s, "  时重  总骨重") + "\n";
    for (std::size_t index = 0; index < readings.size(); ++index) {
        const BirthReading& r = readings[index];
        text += std::string(PeriodName(r.period(), s)) + "  " + std::string(r.periodStemBranch) +
                "  " + HoursColumn(static_cast<int>(index)) +
                Padded(std::to_string(r.periodWeight), 6) +
                Padded(std::to_string(r.totalWeight), 8) + Say(s, " 钱  ") +
                WeightText(r.totalWeight, s) + "\n";
    }

    text += ConventionsLine(first.options, nullptr, s);
    // The late-子 switch moves only the 子 row; the others move every row alike.
    for (const BirthReading& alternative : first.alternatives) {
        if (alternative.switched != Convention::LateZi) continue;
        text += AlternativeCondition(first, alternative, s) + Say(s, "：子时 ") +
                TotalText(alternative.totalWeight, s) + "\n";
    }
    const BirthReading& other = readings[1];
    for (const BirthReading& alternative : other.alternatives) {
        if (!alternative.switched || alternative.timeChange != BirthReading::TimeChange::None) {
            continue;
        }
        const std::int32_t change = alternative.totalWeight - other.totalWeight;
        if (alternative.switched == Convention::CalendarRule) {
            text += AlternativeCondition(other, alternative, s) + Say(s, "：") +
                    (change == 0 ? Say(s, "各时辰总骨重不变")
                                 : Say(s, "各时辰总骨重") + (change > 0 ? Say(s, "加 ") : Say(s, "减 ")) +
                                       std::to_string(change > 0 ? change : -change) + Say(s, " 钱")) +
                    "\n";
            continue;
        }
        const bool year = alternative.switched == Convention::YearStart;
        text += AlternativeCondition(other, alternative, s) + Say(s, "：") +
                (year ? Say(s, "年 ") + YearWeightText(alternative, s)
                      : Say(s, "月 ") + std::to_string(alternative.monthWeight) + Say(s, " 钱")) +
                Say(s, "，各时辰总骨重") + (change > 0 ? Say(s, "加 ") : Say(s, "减 ")) +
                std::to_string(change > 0 ? change : -change) + Say(s, " 钱") + "\n";
    }
    if (NeedsLateZiHint(first)) text += Say(s, LateZiHint);
    return text;
}

}  // namespace chenggu::cli
