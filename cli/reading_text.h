// Readings as Simplified Chinese text for a terminal.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "reading/birth_reading.h"
#include "reading/chinese_text.h"

// 子时 … 亥时.
std::string BranchName(int period);
// One reading: the date and period, lunar date, stem-branch names, weights, total, verse,
// the conventions it follows and the totals under the others, where they differ.
std::string ReadingText(const BirthQuery& query, const BirthReading& reading);
// The date's lines and a table of all twelve periods, for an unknown birth hour.
std::string PeriodTableText(const BirthQuery& query, const std::array<BirthReading, 12>& readings);
