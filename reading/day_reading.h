// The engine's one computation of a reading, under Read and the window's MakeReading, for
// callers that have checked what they pass.
#pragma once

#include <cstdint>

#include "calendar/calendar_date.h"
#include "chenggu/birth_reading.h"
#include "reading/birth_moment.h"

CHENGGU_BEGIN_NAMESPACE

struct Weights {
    std::int32_t year = 0, month = 0, day = 0, period = 0, total = 0;
    int weighedYear = 0;  // the year whose weight was taken, by the Gregorian year it begins in
};

// The four weights of a day (its lunar date and stem-branch indices) and a period (0-11)
// under the options, and their total.
Weights WeighDay(const LunarDate& lunar, const StemBranchIndex& index, int period,
                 const Options& options);

// The reading, without alternatives, of a birth read on readingDate (an ok() date) with a
// sound period, its year and month pillars those of its moment.
BirthReading ReadDay(const Birth& birth, const Period& period, const Options& options,
                     const GregorianDate& readingDate, const PillarsAtBirth& pillars);

CHENGGU_END_NAMESPACE
