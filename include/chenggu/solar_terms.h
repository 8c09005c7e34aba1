// The 24 solar terms (节气) of a year at their instants, to the second: where the Sun's
// apparent longitude reaches 285° + 15° k (小寒 k = 0 … 冬至 k = 23), computed with astronomy
// when the library is built. The even terms (节, 立春 among them) open the stem-branch months
// and years.
#pragma once

#include <array>
#include <string_view>

#include "chenggu/birth_time.h"
#include "chenggu/error.h"
#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

struct SolarTerm {
    int index = 0;          // 0 小寒 … 23 冬至; even for a sectional term (节)
    std::string_view name;  // 小寒, in Simplified characters (InScript for Traditional)
    DateTime utc;           // the instant in UTC
    DateTime beijing;       // the same instant in Beijing time, UTC+8

    friend bool operator==(const SolarTerm&, const SolarTerm&) = default;
};

// The terms of a Gregorian year from 1645 to 2100, in year order; refused outside.
CHENGGU_EXPORT Result<std::array<SolarTerm, 24>> SolarTermsOf(int year);

CHENGGU_END_NAMESPACE
