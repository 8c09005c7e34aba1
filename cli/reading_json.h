// Readings as JSON, one object per reading with every member of the reading by its name.
#pragma once

#include <array>
#include <string>

#include "calendar/calendar_date.h"
#include "cli/arguments.h"
#include "reading/reading.h"

std::string ReadingJson(const GregorianDate& date, const LunarDate& lunar, int period,
                        const Reading& reading);
// An array of the twelve readings in period order.
std::string ReadingsJson(const GregorianDate& date, const LunarDate& lunar,
                         const std::array<Reading, 12>& readings);
