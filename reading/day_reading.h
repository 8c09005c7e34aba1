// The reading of one day and period, without alternatives, for callers that have checked
// what they pass: the engine's one computation of a reading, under Read and MakeReading.
#pragma once

#include "chenggu/birth_reading.h"

namespace chenggu {

// The reading of a birth read on readingDate (an ok() date) with a sound period.
BirthReading ReadDay(const Birth& birth, const Period& period, const Options& options,
                     const GregorianDate& readingDate);

}  // namespace chenggu
