#include "time/equation_of_time.h"

#include <cmath>
#include <numbers>

namespace chenggu::solar {

double EquationOfTime(Seconds utc) {
    // Julian centuries from J2000.0 (2000-01-01 12:00; 1901-01-01 00:00 is JD 2415385.5).
    // Universal time stands for dynamical time: ΔT, at most 70 s here, moves the result by
    // less than 0.03 s.
    const double julianDay = 2415385.5 + static_cast<double>(utc) / SecondsPerDay;
    const double t = (julianDay - 2451545.0) / 36525.0;
    constexpr double Degree = std::numbers::pi / 180.0;
    const double meanLongitude = (280.46646 + t * (36000.76983 + t * 0.0003032)) * Degree;
    const double meanAnomaly = (357.52911 + t * (35999.05029 - t * 0.0001537)) * Degree;
    const double eccentricity = 0.016708634 - t * (0.000042037 + t * 0.0000001267);
    const double obliquity =
        (23.0 + 26.0 / 60 + (21.448 - t * (46.8150 + t * (0.00059 - t * 0.001813))) / 3600) *
        Degree;
    const double y = std::pow(std::tan(obliquity / 2), 2);
    const double e = eccentricity;
    const double radians = y * std::sin(2 * meanLongitude) - 2 * e * std::sin(meanAnomaly) +
                           4 * e * y * std::sin(meanAnomaly) * std::cos(2 * meanLongitude) -
                           0.5 * y * y * std::sin(4 * meanLongitude) -
                           1.25 * e * e * std::sin(2 * meanAnomaly);
    // A full turn is a day.
    return radians * SecondsPerDay / (2 * std::numbers::pi);
}

}  // namespace chenggu::solar
