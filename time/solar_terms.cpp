// The solar terms of a year as dates and times.
#include "chenggu/solar_terms.h"

#include <string>

#include "calendar/solar_terms.h"
#include "text/messages.h"
#include "time/civil_time.h"

CHENGGU_BEGIN_NAMESPACE

Result<std::array<SolarTerm, 24>> SolarTermsOf(int year) {
    if (year < FirstDate.year || year > LastDate.year) {
        const std::string shown = std::to_string(year);
        return refusal::BadRequest("the year " + shown + " is outside 1901 to 2100", [&](Script s) {
            return T(s, "年份 ") + shown + T(s, " 超出范围：可列出 1901 至 2100 年的节气");
        });
    }
    std::array<SolarTerm, 24> terms;
    for (int k = 0; k < 24; ++k) {
        const std::int64_t instant = *SolarTermInstant(year, k);
        terms[static_cast<std::size_t>(k)] = {k, SolarTermNames[static_cast<std::size_t>(k)],
                                              solar::DateTimeAt(instant),
                                              solar::DateTimeAt(instant + 8 * 3600)};
    }
    return terms;
}

CHENGGU_END_NAMESPACE
