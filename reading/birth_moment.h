// When a birth happened, as far as it is known, and the year and month pillars at that moment:
// they change at the instant of a sectional term (节; 立春 for the year), not at midnight.
#pragma once

#include <cstdint>
#include <optional>

#include "calendar/calendar_date.h"
#include "chenggu/birth.h"
#include "chenggu/birth_reading.h"
#include "chenggu/export.h"
#include "time/civil_time.h"

CHENGGU_BEGIN_NAMESPACE

// A span of UTC, [from, to): one second for a clock time, the period's hours otherwise.
struct BirthSpan {
    solar::Seconds from = 0;
    solar::Seconds to = 0;
};

// The span of a Beijing clock time (Asia/Shanghai, summer time included) on a date; of a
// period's hours on a date, read on Beijing's clocks (a plain 子 the whole day, which it may
// begin or end); of an instant.
BirthSpan SpanOfBeijingClock(const GregorianDate& date, std::int32_t secondOfDay);
BirthSpan SpanOfPeriod(const GregorianDate& date, const Period& period);
BirthSpan SpanOfInstant(solar::Seconds utc);

// The year and month pillars (sexagenary indices) at a birth's moment, with the sectional term
// of its day and its side of it.
struct PillarsAtBirth {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::optional<TermMoment> term;
    // Away from a term, the names of this day by CalendarDate's rule, which the reading of that
    // day takes whole rather than working them out again.
    std::optional<GregorianDate> day;
    std::int32_t dayIndex = 0;

    // Whether the other side of the term is a reading of its own: the term falls within the
    // birth's period, or within 5 minutes of its clock time.
    bool Uncertain() const;
    // The pillars on the other side of the term.
    PillarsAtBirth OtherSide() const;
};

// The pillars of a birth whose reading day is day: those of the day (CalendarDate's rule, the
// month from its term's day on), moved back when the birth lies before the term's instant.
// Before 1929 under the printed calendar, those of the day alone, the month turning on its
// term's printed day.
PillarsAtBirth PillarsAt(const BirthSpan& span, const GregorianDate& day, CalendarRule rule);
// The same for a period, or a clock time (seconds of the day), on Beijing's clocks on a date;
// away from a term's day, straight from the day's names, with no clock to read.
PillarsAtBirth PillarsOfPeriod(const GregorianDate& date, const Period& period, CalendarRule rule);
PillarsAtBirth PillarsOfBeijingClock(const GregorianDate& date, std::int32_t secondOfDay,
                                     CalendarRule rule);

CHENGGU_END_NAMESPACE
