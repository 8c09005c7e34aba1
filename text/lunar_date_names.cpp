#include "chenggu/lunar_date_names.h"

#include <array>

CHENGGU_BEGIN_NAMESPACE
namespace {

constexpr std::array<std::string_view, 12> MonthNames{
    "正月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "冬月", "腊月"};
constexpr std::array<std::string_view, 12> LeapMonthNames{"闰正月", "闰二月", "闰三月", "闰四月",
                                                          "闰五月", "闰六月", "闰七月", "闰八月",
                                                          "闰九月", "闰十月", "闰冬月", "闰腊月"};
// clang-format off
constexpr std::array<std::string_view, 30> DayNames{
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十",
};
// clang-format on

}  // namespace

std::string_view LunarMonthName(std::uint16_t month, bool leapMonth, Script script) {
    if (month < 1 || month > MonthNames.size()) return "?月";
    return InScript((leapMonth ? LeapMonthNames : MonthNames)[month - 1u], script);
}

std::string_view LunarDayName(std::uint16_t day, Script script) {
    if (day < 1 || day > DayNames.size()) return "?";
    return InScript(DayNames[day - 1u], script);
}

std::string LunarDateName(const LunarDate& date, Script script) {
    return std::to_string(date.year) + T(script, "年") +
           std::string(LunarMonthName(date.month, date.leapMonth, script)) +
           std::string(LunarDayName(date.day, script));
}

CHENGGU_END_NAMESPACE
