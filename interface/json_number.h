// JSON numbers as doubles.
#pragma once

#include <optional>
#include <string_view>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// The double nearest a number of the form JSON writes, for the numbers most requests hold (at
// most 15 significant digits, a power of ten up to 22), where it takes no more than one
// multiplication or division; nothing for others.
std::optional<double> ShortNumber(std::string_view number);
// The double nearest any such number (infinity or zero past the doubles), by the standard
// library's reader.
double LongNumber(std::string_view number);

inline double NearestDouble(std::string_view number) {
    if (const std::optional<double> value = ShortNumber(number)) return *value;
    return LongNumber(number);
}

CHENGGU_END_NAMESPACE
