// The lunar calendar of a range of dates as tab-separated text.
#pragma once

#include <string>

#include "cli/arguments.h"

// A header line, then one line per date from first to last inclusive (both supported dates,
// first not after last): date, lunar year, month, leap flag (0/1), day, and the stem-branch
// names of year, month and day.
std::string CalendarExport(const GregorianDate& first, const GregorianDate& last);
