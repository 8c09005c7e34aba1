// The engine as the web page calls it: plain C functions over numbers and text, each reading
// returned as the very JSON that chenggu --json writes. Compiled to WebAssembly.
#include <emscripten/emscripten.h>

#include <optional>
#include <string>

#include "calendar/calendar_date.h"
#include "cli/reading_json.h"
#include "reading/birth_reading.h"
#include "reading/chinese_text.h"

namespace {

using CD = CalendarDate;

// The text a function returns lives until the next call; the page copies it at once.
const char* Returned(std::string text) {
    static std::string returned;
    returned = std::move(text);
    return returned.c_str();
}

const char* Error(std::string_view code) {
    return Returned(R"({"error":")" + std::string(code) + R"("})");
}

// A number from the page as a 16-bit date member; nothing for a value no date has.
std::optional<std::uint16_t> DatePart(int value) {
    if (value < 0 || value > 9999) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::optional<LunarDate> Lunar(int year, int month, int day, int leap) {
    const auto y = DatePart(year), m = DatePart(month), d = DatePart(day);
    if (!y || !m || !d) return std::nullopt;
    return LunarDate{*y, *m, *d, leap != 0};
}

std::string_view ErrorCode(LunarDateError error) {
    switch (error) {
        case LunarDateError::None:
            return "";
        case LunarDateError::NoSuchMonth:
            return "NoSuchMonth";
        case LunarDateError::NoSuchLeapMonth:
            return "NoSuchLeapMonth";
        case LunarDateError::NoSuchDay:
            return "NoSuchDay";
        case LunarDateError::OutsideRange:
            break;
    }
    return "OutsideRange";
}

}  // namespace

extern "C" {

// The reading of a birth, as chenggu --json writes it with its alternatives, or {"error"}.
// The date is Gregorian, or lunar when lunar is 1 (leap: in the leap month); period 0-11;
// zi 1 for 早子, 2 for 晚子; the conventions by their names (same-day, spring, ...).
EMSCRIPTEN_KEEPALIVE const char* chenggu_read(int lunar, int year, int month, int day, int leap,
                                              int period, int zi, const char* lateZi,
                                              const char* yearStart, const char* leapMonth) {
    BirthQuery query;
    if (lunar != 0) {
        const auto date = Lunar(year, month, day, leap);
        if (!date || CD::CheckLunarDate(*date) != LunarDateError::None) return Error("NoSuchDate");
        query = BirthQuery::FromLunar(*date);
    } else {
        const auto y = DatePart(year), m = DatePart(month), d = DatePart(day);
        if (!y || !m || !d || !GregorianDate{*y, *m, *d}.ok()) return Error("NoSuchDate");
        query.date = {*y, *m, *d};
    }
    const auto late = ParseLateZi(lateZi);
    const auto start = ParseYearStart(yearStart);
    const auto split = ParseLeapMonthRule(leapMonth);
    if (!late || !start || !split) return Error("UnknownConvention");
    query.period = period;
    query.ziHalf = zi == 1 ? ZiHalf::Early : zi == 2 ? ZiHalf::Late : ZiHalf::Unsaid;
    const Birth birth{query.date, period, period == 0 ? query.ziHalf : ZiHalf::Unsaid};
    if (!birth.ok()) return Error("NoSuchPeriod");
    const BirthReading reading = ReadBirth(birth, {*late, *start, *split});
    if (!reading.ok()) return Error("ReadingDayOutsideRange");
    return Returned(ReadingJson(query, reading, -1));
}

EMSCRIPTEN_KEEPALIVE int chenggu_gregorian_month_days(int year, int month) {
    const auto y = DatePart(year), m = DatePart(month);
    return y && m ? CD::GregorianMonthDays(*y, *m) : 0;
}

EMSCRIPTEN_KEEPALIVE int chenggu_lunar_leap_month(int year) {
    const auto y = DatePart(year);
    return y ? CD::LunarLeapMonth(*y) : 0;
}

// Days of a lunar month (the leap month when leap is 1), 0 when there is no such month.
EMSCRIPTEN_KEEPALIVE int chenggu_lunar_month_days(int year, int month, int leap) {
    const auto lunar = Lunar(year, month, 1, leap);
    return lunar ? CD::LunarMonthLength(lunar->year, lunar->month, lunar->leapMonth) : 0;
}

// {"year","month","day"} of a lunar date, or {"error"} saying why it has none.
EMSCRIPTEN_KEEPALIVE const char* chenggu_lunar_to_gregorian(int year, int month, int day,
                                                            int leap) {
    const auto lunar = Lunar(year, month, day, leap);
    if (!lunar) return Error("NoSuchDay");
    const LunarDateError error = CD::CheckLunarDate(*lunar);
    if (error != LunarDateError::None) return Error(ErrorCode(error));
    const GregorianDate date = CD::LunarToGregorian(*lunar);
    return Returned(R"({"year":)" + std::to_string(date.year) + R"(,"month":)" +
                    std::to_string(date.month) + R"(,"day":)" + std::to_string(date.day) + "}");
}

// {"year","month","day","leap"} of a Gregorian date in the range, or {"error"}.
EMSCRIPTEN_KEEPALIVE const char* chenggu_gregorian_to_lunar(int year, int month, int day) {
    const auto y = DatePart(year), m = DatePart(month), d = DatePart(day);
    if (!y || !m || !d || !GregorianDate{*y, *m, *d}.ok()) return Error("NoSuchDate");
    const LunarDate lunar = CD::LunarDateAt(GregorianDate{*y, *m, *d}.DayOffset());
    return Returned(R"({"year":)" + std::to_string(lunar.year) + R"(,"month":)" +
                    std::to_string(lunar.month) + R"(,"day":)" + std::to_string(lunar.day) +
                    R"(,"leap":)" + (lunar.leapMonth ? "true" : "false") + "}");
}

EMSCRIPTEN_KEEPALIVE const char* chenggu_lunar_month_name(int month, int leap) {
    const auto m = DatePart(month);
    return Returned(LunarMonthName(m ? *m : 0, leap != 0));
}

EMSCRIPTEN_KEEPALIVE const char* chenggu_lunar_day_name(int day) {
    const auto d = DatePart(day);
    return Returned(LunarDayName(d ? *d : 0));
}

}  // extern "C"
