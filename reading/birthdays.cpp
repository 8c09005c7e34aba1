#include "chenggu/birthdays.h"

#include "calendar/calendar_date.h"
#include "chenggu/birth.h"
#include "chenggu/lunar_date_names.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// 2020-L04-01: the birth in the UID, its leap month marked.
std::string BirthKey(const LunarDate& birth) {
    return std::to_string(birth.year) + (birth.leapMonth ? "-L" : "-") + TwoDigits(birth.month) + "-" +
           TwoDigits(birth.day);
}

// A TEXT value (RFC 5545 3.3.11): backslash, semicolon, comma and line ends escaped.
std::string IcsText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

// A content line folded at 75 octets (RFC 5545 3.1), never inside a UTF-8 character: each
// continuation begins with a space.
std::string Folded(std::string_view line) {
    std::string out;
    std::size_t width = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        std::size_t length = 1;
        while (pos + length < line.size() && (static_cast<unsigned char>(line[pos + length]) & 0xc0) == 0x80) {
            ++length;
        }
        if (width + length > 75) {
            out += "\r\n ";
            width = 1;
        }
        out.append(line, pos, length);
        width += length;
        pos += length;
    }
    return out + "\r\n";
}

std::string IcsDate(const GregorianDate& date) {
    return std::to_string(date.year) + TwoDigits(date.month) + TwoDigits(date.day);
}

}  // namespace

std::vector<LunarBirthday> LunarBirthdays(const LunarDate& birth, int fromYear, int toYear) {
    std::vector<LunarBirthday> birthdays;
    for (int year = std::max(fromYear, 1); year <= toYear && year <= 0xffff; ++year) {
        const auto lunarYear = static_cast<std::uint16_t>(year);
        LunarDate day{lunarYear, birth.month, birth.day,
                      birth.leapMonth && CalendarDate::LunarLeapMonth(lunarYear) == birth.month};
        GregorianDate gregorian = CalendarDate::LunarToGregorian(day);
        if (!gregorian.ok() && day.day == 30) {  // a month of 29 days: its last
            day.day = 29;
            gregorian = CalendarDate::LunarToGregorian(day);
        }
        if (gregorian.ok()) birthdays.push_back({day, gregorian});
    }
    return birthdays;
}

std::string LunarBirthdaysCalendar(const LunarDate& birth, const std::vector<LunarBirthday>& birthdays,
                                   Script script, std::string_view stamp) {
    const std::string born = std::string(LunarMonthName(birth.month, birth.leapMonth, script)) + std::string(LunarDayName(birth.day, script));
    const std::string rules = T(script, "闰月生日：有此闰月的年份按闰月，否则按同一月；三十日生日：该月只有二十九天时按二十九日。");
    std::string ics = Folded("BEGIN:VCALENDAR") + Folded("VERSION:2.0") +
                      Folded("PRODID:-//chenggu//lunar birthdays//ZH") + Folded("CALSCALE:GREGORIAN") +
                      Folded("X-WR-CALNAME:" + IcsText(T(script, "农历生日")));
    for (const LunarBirthday& birthday : birthdays) {
        const GregorianDate next = GregorianDate::FromDayOffset(birthday.gregorian.DayOffset() + 1);
        const std::string kept = std::string(LunarMonthName(birthday.date.month, birthday.date.leapMonth, script)) +
                                 std::string(LunarDayName(birthday.date.day, script));
        const std::string description =
            T(script, "农历") + std::to_string(birthday.date.year) + T(script, "年") + kept + T(script, "，公历") +
            std::to_string(birthday.gregorian.year) + T(script, "年") + std::to_string(birthday.gregorian.month) +
            T(script, "月") + std::to_string(birthday.gregorian.day) + T(script, "日。生于农历") + born +
            T(script, "。") + rules;
        ics += Folded("BEGIN:VEVENT");
        ics += Folded("UID:lunar-birthday-" + BirthKey(birth) + "-" + std::to_string(birthday.date.year) + "@chenggu");
        ics += Folded("DTSTAMP:" + std::string(stamp));
        ics += Folded("DTSTART;VALUE=DATE:" + IcsDate(birthday.gregorian));
        ics += Folded("DTEND;VALUE=DATE:" + IcsDate(next));
        ics += Folded("SUMMARY:" + IcsText(T(script, "农历生日（") + born + T(script, "）")));
        ics += Folded("DESCRIPTION:" + IcsText(description));
        ics += Folded("TRANSP:TRANSPARENT");
        ics += Folded("END:VEVENT");
    }
    return ics + Folded("END:VCALENDAR");
}

CHENGGU_END_NAMESPACE
