// A birth as asked for, on the command line, on a line of --batch input or by the web page.
#pragma once

#include <optional>

#include "calendar/calendar_date.h"
#include "reading/birth_reading.h"

// A birth as typed: DATE [PERIOD], the date Gregorian or lunar.
struct BirthQuery {
    GregorianDate date;              // the Gregorian birth date, converted when DATE is lunar
    std::optional<int> period;       // 0 (子) to 11 (亥); none = all twelve
    ZiHalf ziHalf = ZiHalf::Unsaid;  // 早子, 晚子, or a clock time in the 子 period
    bool lunarInput = false;
    // For lunar input of a month that a leap month follows: the Gregorian date of the same
    // day in the leap month, when that day exists.
    std::optional<GregorianDate> leapMonthDate;

    // The query of a lunar date that exists (CalendarDate::CheckLunarDate), with no period.
    static BirthQuery FromLunar(const LunarDate& date) {
        BirthQuery query;
        query.date = CalendarDate::LunarToGregorian(date);
        query.lunarInput = true;
        if (!date.leapMonth && CalendarDate::LunarLeapMonth(date.year) == date.month) {
            const GregorianDate inLeapMonth =
                CalendarDate::LunarToGregorian({date.year, date.month, date.day, true});
            if (inLeapMonth.ok()) query.leapMonthDate = inLeapMonth;
        }
        return query;
    }
};
