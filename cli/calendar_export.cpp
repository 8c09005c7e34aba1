#include "cli/calendar_export.h"

#include <algorithm>
#include <charconv>

#include "calendar/calendar_date.h"
#include "calendar/day_cursor.h"
#include "chenggu/birth.h"
#include "cli/say.h"
#include "text/messages.h"

namespace chenggu::cli {
namespace {

constexpr std::string_view Header =
    "date\tlunarYear\tlunarMonth\tleapMonth\tlunarDay\tyearStemBranch\tmonthStemBranch\t"
    "dayStemBranch\n";
constexpr std::size_t LongestLine = 64;  // "2100-12-31\t2100\t12\t0\t01\t" and 3 names of 6 bytes

char* Number(char* out, unsigned value, int minDigits) {
    if (minDigits == 2 && value < 10) *out++ = '0';
    return std::to_chars(out, out + 8, value).ptr;
}

char* Name(char* out, std::int32_t index) {
    const std::string_view name = StemBranchText(index);
    return std::copy(name.begin(), name.end(), out);
}

}  // namespace

Result<std::string> CalendarExport(const GregorianDate& first, const GregorianDate& last,
                                   CalendarRule rule) {
    for (const GregorianDate& date : {first, last}) {
        if (!date.ok()) return GregorianBirth(date).error();
    }
    if (last < first) {
        return refusal::BadRequest(
            "FROM " + IsoDate(first) + " is after TO " + IsoDate(last), [&](Script s) {
                return Say(s, "起始日 ") + IsoDate(first) + Say(s, " 在结束日 ") + IsoDate(last) +
                       Say(s, " 之后");
            });
    }
    const std::int32_t days = last.DayOffset() - first.DayOffset() + 1;  // [1, 54787]
    std::string text(Header.size() + static_cast<std::size_t>(days) * LongestLine, '\0');
    char* out = std::copy(Header.begin(), Header.end(), text.data());

    DayCursor cursor(first.year, first.month, first.day, rule);
    for (std::int32_t i = 0; i < days; ++i, cursor.Advance()) {
        const LunarDate& lunar = cursor.lunar();
        const StemBranchIndex& index = cursor.index();
        out = Number(out, cursor.year(), 4);
        *out++ = '-';
        out = Number(out, cursor.month(), 2);
        *out++ = '-';
        out = Number(out, cursor.day(), 2);
        *out++ = '\t';
        out = Number(out, lunar.year, 1);
        *out++ = '\t';
        out = Number(out, lunar.month, 1);
        *out++ = '\t';
        *out++ = lunar.leapMonth ? '1' : '0';
        *out++ = '\t';
        out = Number(out, lunar.day, 1);
        *out++ = '\t';
        out = Name(out, index.year);
        *out++ = '\t';
        out = Name(out, index.month);
        *out++ = '\t';
        out = Name(out, index.day);
        *out++ = '\n';
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}

}  // namespace chenggu::cli
