// The instants of the solar terms, read from a line per term and a deviation per year.
#include "calendar/solar_terms.h"

#include "calendar/generated/solar_terms.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

namespace tables = SolarTermTables;
static_assert(tables::FirstYear == FirstSolarTermYear && tables::LastYear == LastSolarTermYear);

bool Covered(int year, int term) {
    return year >= FirstSolarTermYear && year <= LastSolarTermYear && term >= 0 && term < 24;
}

// The instant of term k in a year, off its line by the deviation given.
std::int64_t OnTheLine(int year, int term, std::int16_t deviation) {
    const tables::TermLine& line = tables::TermLines[static_cast<std::size_t>(term)];
    return line.first + std::int64_t{line.perYear} * (year - FirstSolarTermYear) + deviation;
}

std::size_t Row(int year, int term) {
    return 12 * static_cast<std::size_t>(year - FirstSolarTermYear) +
           static_cast<std::size_t>(term / 2);  // [0, 2423]
}

}  // namespace

std::optional<std::int64_t> SectionalTermInstant(int year, int month) {
    if (month < 1 || month > 12 || !Covered(year, 0)) return std::nullopt;
    const int term = 2 * (month - 1);
    return OnTheLine(year, term, tables::SectionalDeviations[Row(year, term)]);
}

std::optional<std::int64_t> SolarTermInstant(int year, int term) {
    if (!Covered(year, term)) return std::nullopt;
    if (term % 2 == 0) return SectionalTermInstant(year, term / 2 + 1);
    return OnTheLine(year, term, tables::PrincipalDeviations[Row(year, term)]);
}

CHENGGU_END_NAMESPACE
