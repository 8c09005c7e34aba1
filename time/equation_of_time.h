// The equation of time: apparent minus mean solar time.
#pragma once

#include "time/civil_time.h"

namespace chenggu::solar {

// In seconds, at a UTC instant: Smart's series as given by Meeus (Astronomical Algorithms,
// 2nd ed., eq. 28.3) with the Sun's mean elements of chapter 25. Within 3 s of the full
// computation over 1901-2050; from -14.4 to +16.5 minutes.
double EquationOfTime(Seconds utc);

}  // namespace chenggu::solar
