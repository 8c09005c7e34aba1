// Readings as Simplified Chinese text for a terminal.
#pragma once

#include <array>
#include <string>

#include "chenggu/birth_reading.h"

namespace chenggu::cli {

// One reading: the date and period, lunar date, stem-branch names, weights, total, verse,
// the conventions it follows and the totals under the others, where they differ.
std::string ReadingText(const BirthReading& reading);
// The date's lines and a table of all twelve periods, for an unknown birth hour.
std::string PeriodTableText(const std::array<BirthReading, 12>& readings);

}  // namespace chenggu::cli
