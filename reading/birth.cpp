// Births as values, and the conversions between the two calendars with their reasons.
#include "chenggu/birth.h"

#include "calendar/calendar_date.h"
#include "reading/verses.h"
#include "text/messages.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

Result<GregorianDate> Checked(const GregorianDate& date) {
    if (date.month < 1 || date.month > 12) return refusal::NoSuchMonth(date);
    if (date.day < 1 || date.day > CalendarDate::GregorianMonthDays(date.year, date.month)) {
        return refusal::NoSuchDay(date);
    }
    if (!date.ok()) return refusal::OutsideRange(date);
    return date;
}

std::optional<Error> CheckPeriod(const std::optional<Period>& period) {
    if (!period || period->ok()) return std::nullopt;
    return refusal::UnsoundPeriod(period->index);
}

}  // namespace

bool Period::ok() const {
    return index >= 0 && index < static_cast<int>(BirthPeriods.size()) &&
           (index == 0 || ziHalf == ZiHalf::Unsaid);
}

LunarDate ToLunar(const GregorianDate& date, CalendarRule rule) {
    return date.ok() ? CalendarDate::LunarDateAt(date.DayOffset(), rule) : LunarDate{};
}

Result<GregorianDate> ToGregorian(const LunarDate& date, CalendarRule rule) {
    const GregorianDate gregorian = CalendarDate::LunarToGregorian(date, rule);
    if (gregorian.ok()) return gregorian;
    // Only a date that does not convert is looked at again, to say why.
    return refusal::NoSuchLunarDate(date, CalendarDate::CheckLunarDate(date, rule));
}

std::optional<GregorianDate> LeapMonthTwin(const LunarDate& date, CalendarRule rule) {
    if (date.leapMonth || CalendarDate::LunarLeapMonth(date.year, rule) != date.month) return {};
    const GregorianDate twin =
        CalendarDate::LunarToGregorian({date.year, date.month, date.day, true}, rule);
    if (!twin.ok()) return {};
    return twin;
}

Result<Birth> GregorianBirth(const GregorianDate& date, std::optional<Period> period) {
    const Result<GregorianDate> checked = Checked(date);
    if (!checked) return checked.error();
    if (const auto error = CheckPeriod(period)) return *error;
    return Birth{date, {}, period, {}, {}};
}

Result<Birth> LunarBirth(const LunarDate& date, std::optional<Period> period, CalendarRule rule) {
    const Result<GregorianDate> gregorian = ToGregorian(date, rule);
    if (!gregorian) return gregorian.error();
    if (const auto error = CheckPeriod(period)) return *error;
    return Birth{*gregorian, date, period, {}, {}};
}

CHENGGU_END_NAMESPACE
