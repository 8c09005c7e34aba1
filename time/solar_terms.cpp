// The solar terms of a year as dates and times.
#include "chenggu/solar_terms.h"

#include <string>

#include "calendar/solar_terms.h"
#include "text/messages.h"
#include "time/civil_time.h"

CHENGGU_BEGIN_NAMESPACE

Result<std::array<SolarTerm, 24>> SolarTermsOf(int year) {
    if (year < FirstDate.year || year > LastDate.year) return refusal::YearOutsideRange(year);
    std::array<SolarTerm, 24> terms;
    for (int k = 0; k < 24; ++k) {
        const std::optional<std::int64_t> found = SolarTermInstant(year, k);
        if (!found) return refusal::YearOutsideRange(year);  // an engine without that year's terms
        const std::int64_t instant = *found;
        terms[static_cast<std::size_t>(k)] = {k, SolarTermNames[static_cast<std::size_t>(k)],
                                              solar::DateTimeAt(instant),
                                              solar::DateTimeAt(instant + 8 * 3600)};
    }
    return terms;
}

CHENGGU_END_NAMESPACE
