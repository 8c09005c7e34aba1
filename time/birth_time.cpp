// Birth times as text, and their distance from the periods' boundaries.
#include "chenggu/birth_time.h"

#include <string>

#include "calendar/calendar_date.h"

CHENGGU_BEGIN_NAMESPACE

std::string IsoDateTime(const DateTime& time, bool withSeconds) {
    std::string text = IsoDate(time.date) + "T00:00:00";
    const auto twoDigits = [&text](std::size_t at, std::int32_t value) {
        text[at] = static_cast<char>('0' + value / 10);
        text[at + 1] = static_cast<char>('0' + value % 10);
    };
    twoDigits(11, time.second / 3600);
    twoDigits(14, time.second / 60 % 60);
    twoDigits(17, time.second % 60);
    if (!withSeconds) text.resize(16);
    return text;
}

std::int32_t FromNearestBoundary(std::int32_t secondOfDay) {
    const std::int32_t since = ((secondOfDay - 3600) % 7200 + 7200) % 7200;
    return since <= 3600 ? since : since - 7200;
}

const DateTime& BirthTime::Used() const {
    if (used == SolarTime::Clock) return clock;
    return used == SolarTime::Mean ? meanSolar : trueSolar;
}

CHENGGU_END_NAMESPACE
