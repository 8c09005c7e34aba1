// From a clock time at a birthplace to the solar time the reading follows: the zone's offset
// then (tzdata), the longitude, the equation of time. The web page's first engine, which reads
// no birthplace, is built without it (time/without_places.cpp).
#include <cmath>
#include <optional>
#include <string>

#include "calendar/calendar_date.h"
#include "chenggu/birth_time.h"
#include "text/messages.h"
#include "time/civil_time.h"
#include "time/equation_of_time.h"
#include "time/time_zone.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

using solar::Seconds;
using solar::SecondsPerDay;

Seconds SecondsOf(const GregorianDate& date, std::int64_t secondOfDay) {
    return solar::DaysFromCivil(date.year, date.month, date.day) * SecondsPerDay + secondOfDay;
}

std::string TwoDigits(std::int32_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// HH:MM of an instant on a clock with an offset.
std::string ClockText(Seconds utc, std::int32_t offset) {
    const DateTime time = solar::DateTimeAt(utc + offset);
    return TwoDigits(time.second / 3600) + ":" + TwoDigits(time.second / 60 % 60);
}

}  // namespace

Result<BirthTime> ReadBirthTime(const GregorianDate& date, const ClockTime& clock,
                                const Birthplace& birthplace, SolarTime used,
                                bool secondOccurrence) {
    std::optional<solar::TimeZone> zone = solar::TimeZone::Named(birthplace.zone);
    if (!zone) {
        const Result<std::string_view> named = ParseZone(birthplace.zone);
        if (!named) return named.error();
        zone = solar::TimeZone::Named(*named);
    }
    if (!std::isfinite(birthplace.longitude) || std::abs(birthplace.longitude) > 180) {
        return refusal::NotALongitude(birthplace.longitude);
    }
    if (!clock.ok()) {
        return refusal::NotATime(TwoDigits(clock.hour) + ":" + TwoDigits(clock.minute));
    }
    // A day that does not exist, or one outside the range (and the zone table's years).
    if (date.month < 1 || date.month > 12) return refusal::NoSuchMonth(date);
    if (date.day < 1 || date.day > CalendarDate::GregorianMonthDays(date.year, date.month)) {
        return refusal::NoSuchDay(date);
    }
    if (!date.ok()) return refusal::OutsideRange(date);

    BirthTime time;
    time.clock = {date, clock.hour * 3600 + clock.minute * 60};
    time.zone = zone->name();
    time.longitude = birthplace.longitude;
    time.used = used;

    const solar::ClockInstants instants = zone->InstantsOf(SecondsOf(date, time.clock.second));
    if (instants.kind == solar::ClockInstants::Kind::Never) {
        return refusal::ClockTimeSkipped(
            IsoDate(date) + " " + TwoDigits(clock.hour) + ":" + TwoDigits(clock.minute),
            zone->name(), ClockText(instants.first, instants.offset.seconds),
            ClockText(instants.first, instants.secondOffset.seconds),
            instants.secondOffset.summer && !instants.offset.summer);
    }
    time.happenedTwice = instants.kind == solar::ClockInstants::Kind::Twice;
    time.secondOccurrence = time.happenedTwice && secondOccurrence;
    const Seconds utc = time.secondOccurrence ? instants.second : instants.first;
    const solar::ZoneOffset offset =
        time.secondOccurrence ? instants.secondOffset : instants.offset;
    time.utcOffsetSeconds = offset.seconds;
    time.summerTime = offset.summer;
    time.localMeanTime = offset.localMean;

    // The sun's times to the second, each rounded once, so that the steps shown add up: the
    // mean solar time plus the equation of time in whole seconds is the true solar time.
    const Seconds meanSolar = std::llround(static_cast<double>(utc) + birthplace.longitude * 240.0);
    const Seconds equation = std::llround(solar::EquationOfTime(utc));
    time.equationOfTimeSeconds = static_cast<double>(equation);
    time.meanSolar = solar::DateTimeAt(meanSolar);
    time.trueSolar = solar::DateTimeAt(meanSolar + equation);
    time.nearBoundary = std::abs(FromNearestBoundary(time.Used().second)) <= NearBoundarySeconds;
    return time;
}

CHENGGU_END_NAMESPACE
