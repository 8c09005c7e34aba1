// Readings as Chinese text for a terminal, in Simplified or Traditional characters.
#pragma once

#include <array>
#include <string>

#include "chenggu/birth_reading.h"
#include "chenggu/script.h"

namespace chenggu::cli {

// One reading: the date and period, lunar date, the four pillars, the weights (the weighed
// year named), total, verse and its explanation, the conventions it follows and the totals
// under the others, where they differ.
std::string ReadingText(const BirthReading& reading, Script script = Script::Simplified);
// The date's lines and a table of all twelve periods, for an unknown birth hour.
std::string PeriodTableText(const std::array<BirthReading, 12>& readings,
                            Script script = Script::Simplified);

}  // namespace chenggu::cli
