// The time a birth is read by: from the clock time people know (Beijing time, summer time,
// another zone abroad) to the sun's time at the birthplace. Each step is kept, so that faces
// can show how the period was found.
//
//   clock time ─ zone's offset (tzdata) → UTC ─ longitude × 4 min/° → local mean solar time
//              ─ equation of time → true solar time
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chenggu/export.h"
#include "chenggu/date.h"
#include "chenggu/error.h"

CHENGGU_BEGIN_NAMESPACE

// The time a birth with a clock time and a place is read by: the true solar time there (the
// sun's own), the local mean solar time (longitude only), or the clock time as entered.
enum class SolarTime { True, Mean, Clock };

// A time of day on a clock, to the minute.
struct ClockTime {
    int hour = 0;    // [0, 23]
    int minute = 0;  // [0, 59]
    // Said as 8点 or 12点 with no part of the day: read on a 24-hour clock (8:00, 12:00),
    // though it may have meant 20:00 or midnight.
    bool partOfDayUnsaid = false;

    bool ok() const { return hour >= 0 && hour < 24 && minute >= 0 && minute < 60; }
    friend bool operator==(const ClockTime& a, const ClockTime& b) {
        return a.hour == b.hour && a.minute == b.minute;
    }
};

// Where a birth took place: the longitude of its sun and the zone of its clocks.
struct Birthplace {
    double longitude = 120.0;            // degrees, east positive, [-180, 180]
    std::string zone = "Asia/Shanghai";  // an IANA time-zone name
    std::string place;                   // the place's full name; empty for a longitude alone
    // 广州市 when the place has no point of its own and is read at its prefecture's longitude.
    std::string longitudeOf;
    // The full names of other places the name given could mean (北京市朝阳区 for 朝阳).
    std::vector<std::string> otherPlaces;

    friend bool operator==(const Birthplace&, const Birthplace&) = default;
};

// A date and a time of day to the second.
struct DateTime {
    GregorianDate date;
    std::int32_t second = 0;  // of the day, [0, 86400)

    int hour() const { return second / 3600; }
    friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

// 1990-07-15T12:26:17, or 1990-07-15T14:30 without seconds.
CHENGGU_EXPORT std::string IsoDateTime(const DateTime& time, bool withSeconds = true);

// The steps from a clock reading at a birthplace to the time the reading follows.
struct BirthTime {
    DateTime clock;                     // as entered
    std::string_view zone;              // tzdata's name for it
    std::int32_t utcOffsetSeconds = 0;  // of the clock then: standard time plus summer time
    bool summerTime = false;            // as tzdata marks the clock's time then
    bool localMeanTime = false;         // the place kept no standard time yet (tzdata's LMT)
    bool secondOccurrence = false;      // the later of a clock time that happened twice
    bool happenedTwice = false;         // clocks were turned back through this time
    double longitude = 0;
    DateTime meanSolar;                // UTC + longitude × 4 minutes per degree
    double equationOfTimeSeconds = 0;  // apparent minus mean solar time
    DateTime trueSolar;                // mean solar time + the equation of time
    SolarTime used = SolarTime::True;  // the time the reading follows
    bool nearBoundary = false;         // that time within 5 minutes of a period's boundary

    // The time the reading follows: clock, meanSolar or trueSolar.
    CHENGGU_EXPORT const DateTime& Used() const;
};

// How near a period's boundary (an odd hour) a time must be for a reading to say so.
inline constexpr std::int32_t NearBoundarySeconds = 300;
// Seconds from a time of day to the nearest boundary of the periods, signed: negative before
// it (12:58:00 → -120), positive after (13:01:00 → 60).
CHENGGU_EXPORT std::int32_t FromNearestBoundary(std::int32_t secondOfDay);
// Seconds from a time of day to the nearest midnight, signed as FromNearestBoundary
// (23:58:00 → -120, 00:01:00 → 60): where the day read changes when a 晚子 is read on its own
// day, so that a time this near it is near a boundary too.
inline constexpr std::int32_t FromMidnight(std::int32_t secondOfDay) {
    return secondOfDay < 43200 ? secondOfDay : secondOfDay - 86400;
}

// The birth time of a clock reading at a birthplace. Refused with a reason for an unknown zone,
// a longitude outside [-180, 180], a clock time that is not ok(), or one that never happened
// there (clocks turned forward over it). A clock time that happened twice is taken as the
// first (summer time still in force) unless secondOccurrence is set.
CHENGGU_EXPORT Result<BirthTime> ReadBirthTime(const GregorianDate& date, const ClockTime& clock,
                                               const Birthplace& birthplace, SolarTime used,
                                               bool secondOccurrence = false);

// A clock time as people write it: 23:30, 8:05, 23点, 23点30分, 8时, 8时5分 (full-width digits
// and 點, 時 too).
CHENGGU_EXPORT Result<ClockTime> ParseClockTime(std::string_view text);
// A longitude as people write it: 104.07, -74, 104.07E, 74°W, 104°04′E, 104°4'30"E, 东经104.07,
// 西经74 (degrees east positive; a letter or word gives the side).
CHENGGU_EXPORT Result<double> ParseLongitude(std::string_view text);
// A time-zone name tzdata knows, in its own spelling (asia/shanghai → Asia/Shanghai); refused
// with the nearest names.
CHENGGU_EXPORT Result<std::string_view> ParseZone(std::string_view text);

CHENGGU_END_NAMESPACE
