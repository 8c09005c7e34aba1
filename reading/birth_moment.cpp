// The year and month pillars at a birth's moment.
#include "reading/birth_moment.h"

#include <algorithm>
#include <utility>

#include "calendar/solar_terms.h"
#include "time/time_zone.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

using solar::Seconds;
using solar::SecondsPerDay;

constexpr Seconds BeijingOffset = 8 * 3600;  // Beijing time, the calendar's, UTC+8
constexpr Seconds NearTermSeconds = 300;

Seconds ClockSeconds(const GregorianDate& date, std::int64_t secondOfDay) {
    return solar::DaysFromCivil(date.year, date.month, date.day) * SecondsPerDay + secondOfDay;
}

// The first and the last instant at which Beijing's clocks read a time (one, unless clocks
// were turned back through it; the jump, when they were turned forward over it).
std::pair<Seconds, Seconds> BeijingClockInstants(const GregorianDate& date,
                                                 std::int64_t secondOfDay) {
    const Seconds clock = ClockSeconds(date, secondOfDay);
    const std::optional<solar::TimeZone> zone = solar::TimeZone::Named("Asia/Shanghai");
    if (!zone) return {clock - BeijingOffset, clock - BeijingOffset};
    const solar::ClockInstants instants = zone->InstantsOf(clock);
    const bool twice = instants.kind == solar::ClockInstants::Kind::Twice;
    return {instants.first, twice ? instants.second : instants.first};
}

DateTime BeijingTime(Seconds utc) { return solar::DateTimeAt(utc + BeijingOffset); }

// The sexagenary month and year one term on: the year turns at 立春, the term of February.
void StepOver(PillarsAtBirth& pillars, int direction) {
    pillars.month += direction;
    if (pillars.term->term.index == 2) pillars.year += direction;
}

}  // namespace

BirthSpan SpanOfBeijingClock(const GregorianDate& date, std::int32_t secondOfDay) {
    const Seconds first = BeijingClockInstants(date, secondOfDay).first;
    return {first, first + 1};
}

BirthSpan SpanOfPeriod(const GregorianDate& date, const Period& period) {
    // The hours of the date's clock: 子 from 23:00 to 0:59 is read on its own day, so a plain
    // 子 may be either end of it.
    int fromHour = 2 * period.index - 1, toHour = 2 * period.index + 1;  // [1, 23]
    if (period.index == 0) {
        fromHour = period.ziHalf == ZiHalf::Late ? 23 : 0;
        toHour = period.ziHalf == ZiHalf::Early ? 1 : 24;
    }
    const Seconds from = BeijingClockInstants(date, fromHour * 3600).first;
    const Seconds to = BeijingClockInstants(date, toHour * 3600).second;
    return {from, std::max(to, from + 1)};
}

BirthSpan SpanOfInstant(Seconds utc) { return {utc, utc + 1}; }

bool PillarsAtBirth::Uncertain() const {
    return term && (term->birthIs == TermMoment::Side::Unknown || term->nearBirth);
}

PillarsAtBirth PillarsAtBirth::OtherSide() const {
    PillarsAtBirth other = *this;
    if (!term) return other;
    const bool before = term->birthIs == TermMoment::Side::Before;
    StepOver(other, before ? 1 : -1);
    other.term->birthIs = before ? TermMoment::Side::After : TermMoment::Side::Before;
    return other;
}

namespace {

PillarsAtBirth PillarsOfDay(const GregorianDate& date, CalendarRule rule) {
    const StemBranchIndex index =
        CalendarDate::StemBranchIndices(date.year, date.month, date.day, rule);
    return {index.year, index.month, {}, date, index.day};
}

// Before 1929 the calendars printed the day of each term, not its instant (and kept Beijing's
// apparent, then mean, time): under the printed rule a month turns at the start of its term's
// printed day. On that day, or on the day of the computed instant, the reading names both.
bool TurnsOnPrintedDays(const GregorianDate& date, CalendarRule rule) {
    return rule == CalendarRule::Printed && date.year < 1929;
}

PillarsAtBirth PillarsOfPrintedDay(const GregorianDate& date) {
    PillarsAtBirth pillars = PillarsOfDay(date, CalendarRule::Printed);
    const int printedDay = CalendarDate::SectionalTermDay(date.year, date.month);
    const int computedDay =
        CalendarDate::SectionalTermDay(date.year, date.month, CalendarRule::Computed);
    const std::optional<Seconds> instant = SectionalTermInstant(date.year, date.month);
    if ((date.day != printedDay && date.day != computedDay) || !instant) return pillars;
    const int term = 2 * (date.month - 1);
    TermMoment moment;
    moment.term = {term, SolarTermNames[static_cast<std::size_t>(term)],
                   solar::DateTimeAt(*instant), BeijingTime(*instant)};
    moment.printedDay = GregorianDate{date.year, date.month, static_cast<std::uint16_t>(printedDay)};
    moment.birthIs = date.day >= printedDay ? TermMoment::Side::After : TermMoment::Side::Before;
    pillars.term = moment;
    return pillars;
}

}  // namespace

PillarsAtBirth PillarsAt(const BirthSpan& span, const GregorianDate& day, CalendarRule rule) {
    if (TurnsOnPrintedDays(day, rule)) return PillarsOfPrintedDay(day);
    const GregorianDate start = BeijingTime(span.from).date;
    const GregorianDate beijingDay = start.ok() ? start : day;
    const auto pillarsOf = [rule](const GregorianDate& d) {
        const StemBranchIndex index = CalendarDate::StemBranchIndices(d.year, d.month, d.day, rule);
        return PillarsAtBirth{index.year, index.month, {}};
    };
    // Terms fall on days 3 to 9 and a span is at most a day, so the term of the month of its
    // first Beijing day is the only one it can meet.
    const std::optional<Seconds> instant = SectionalTermInstant(beijingDay.year, beijingDay.month);
    if (!instant) return pillarsOf(beijingDay);
    const DateTime termTime = BeijingTime(*instant);
    const bool onTheDay =
        termTime.date == beijingDay || termTime.date == BeijingTime(span.to - 1).date;
    const bool oneSecond = span.to - span.from == 1;
    const bool near = oneSecond && std::abs(span.from - *instant) <= NearTermSeconds;
    if (!onTheDay && !near) return pillarsOf(beijingDay);

    // From the term's day on, its month (and for 立春 its year); before its instant, the one
    // before.
    PillarsAtBirth pillars = pillarsOf(termTime.date);
    const int term = 2 * (termTime.date.month - 1);
    TermMoment moment;
    moment.term = {term, SolarTermNames[static_cast<std::size_t>(term)],
                   solar::DateTimeAt(*instant), termTime};
    moment.nearBirth = near;
    moment.birthIs = span.to <= *instant     ? TermMoment::Side::Before
                     : span.from >= *instant ? TermMoment::Side::After
                                             : TermMoment::Side::Unknown;
    pillars.term = moment;
    if (moment.birthIs == TermMoment::Side::Before) StepOver(pillars, -1);
    return pillars;
}

namespace {

// Whether a Beijing clock reading on a date may lie on a term's day: the date, or the day
// before it by summer time, is one (terms fall on days 3 to 9, so never across a month).
bool NearATermDay(const GregorianDate& date, CalendarRule rule) {
    const int termDay = CalendarDate::SectionalTermDay(date.year, date.month, rule);
    return date.day == termDay || date.day == termDay + 1;
}

}  // namespace

PillarsAtBirth PillarsOfPeriod(const GregorianDate& date, const Period& period, CalendarRule rule) {
    if (TurnsOnPrintedDays(date, rule)) return PillarsOfPrintedDay(date);
    if (!NearATermDay(date, rule)) return PillarsOfDay(date, rule);
    return PillarsAt(SpanOfPeriod(date, period), date, rule);
}

PillarsAtBirth PillarsOfBeijingClock(const GregorianDate& date, std::int32_t secondOfDay,
                                     CalendarRule rule) {
    if (TurnsOnPrintedDays(date, rule)) return PillarsOfPrintedDay(date);
    // A clock time within 5 minutes of the next day's term is near it too.
    const GregorianDate next = GregorianDate::FromDayOffset(date.DayOffset() + 1);
    const bool nearNext =
        next.ok() && NearATermDay(next, rule) && secondOfDay >= 86400 - 3600 - 300;
    if (!NearATermDay(date, rule) && !nearNext) return PillarsOfDay(date, rule);
    return PillarsAt(SpanOfBeijingClock(date, secondOfDay), date, rule);
}

CHENGGU_END_NAMESPACE
