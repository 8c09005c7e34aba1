// Lunar birthdays as a request answers them: the days, and the iCalendar file of them.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chenggu/birth.h"
#include "chenggu/birthdays.h"
#include "chenggu/error.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

struct BirthdaysRequest {
    std::string date;  // as people write it (ParseBirth), lunar with lunar
    bool lunar = false;
    std::optional<std::int64_t> from, to;  // lunar years
    Script script = Script::Simplified;
    std::optional<std::string> stamp;  // the file's DTSTAMP (20261208T143000Z), else now's
};

struct BirthdaysAnswer {
    Birth birth;
    LunarDate born;  // the birth's lunar date
    std::int64_t from = 0, to = 0;
    std::vector<LunarBirthday> birthdays;
    std::string ics;
};

// Without from, the lunar year of today in Beijing; without to, from and the 29 years after it
// (within 2100). Refused for a date that cannot be read, and for more than 200 years.
Result<BirthdaysAnswer> AnswerBirthdays(const BirthdaysRequest& request,
                                        std::chrono::system_clock::time_point now);
std::string BirthdaysAnswerJson(const BirthdaysAnswer& answer);

// {"date": "1990-01-30", "lunar": false, "from": 2026, "to": 2055, "script": "simplified",
//  "now": "2026-12-08T14:30:00Z"} answers {"birth": {"date": "1990-01-30", "lunarDate":
// "1990-01-04", "leapMonth": false}, "from": 2026, "to": 2055, "birthdays": [{"lunarYear",
// "lunarMonth", "lunarDay", "leapMonth", "date"}, …], "ics": "BEGIN:VCALENDAR…"}; now is the
// file's DTSTAMP (default: the clock's).
std::string BirthdaysJson(std::string_view requestJson);

CHENGGU_END_NAMESPACE
