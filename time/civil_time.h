// Civil days and seconds as plain numbers: the proleptic Gregorian calendar without a range,
// for clock and solar times that may fall just outside the range of readings.
#pragma once

#include <cstdint>

#include "chenggu/birth_time.h"
#include "chenggu/date.h"

namespace chenggu::solar {

// Seconds since 1901-01-01 00:00, of UTC or of a clock.
using Seconds = std::int64_t;
inline constexpr Seconds SecondsPerDay = 86400;

// Days since 1901-01-01 of a civil date (any year), and back.
constexpr std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468 + 25202;
}

constexpr GregorianDate CivilFromDays(std::int64_t days) {
    days += 719468 - 25202;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const unsigned month = shifted < 10 ? shifted + 3 : shifted - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
    return {static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
            static_cast<std::uint16_t>(day)};
}

static_assert(DaysFromCivil(1901, 1, 1) == 0 && DaysFromCivil(1970, 1, 1) == 25202);
static_assert(CivilFromDays(-1) == GregorianDate{1900, 12, 31});

// Floor division, for seconds before 1901.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The date and second of the day of a count of seconds since 1901-01-01 00:00.
constexpr DateTime DateTimeAt(Seconds seconds) {
    const std::int64_t days = FloorDiv(seconds, SecondsPerDay);
    return {CivilFromDays(days), static_cast<std::int32_t>(seconds - days * SecondsPerDay)};
}

}  // namespace chenggu::solar
