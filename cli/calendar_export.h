// The lunar calendar of a range of dates as tab-separated text.
#pragma once

#include <string>

#include "chenggu/date.h"
#include "chenggu/error.h"

namespace chenggu::cli {

// A header line, then one line per date from first to last inclusive: date, lunar year,
// month, leap flag (0/1), day, and the stem-branch names of year, month and day, by a calendar
// rule. Refused for a date outside 1645-01-28 to 2100-12-31 and for first after last.
Result<std::string> CalendarExport(const GregorianDate& first, const GregorianDate& last,
                                   CalendarRule rule = CalendarRule::Printed);

}  // namespace chenggu::cli
