// The instants of the solar terms, read from a line per term and a deviation per year.
#include "calendar/solar_terms.h"

#include "calendar/generated/solar_terms.h"
#if !defined(CHENGGU_TERMS_FROM_1900)
#include "calendar/generated/solar_terms_1645_1899.h"
#endif

CHENGGU_BEGIN_NAMESPACE
namespace {

namespace tables = SolarTermTables;
static_assert(tables::LastYear == LastSolarTermYear);

#if defined(CHENGGU_TERMS_FROM_1900)
constexpr int FirstYear = tables::FirstYear;
#else
namespace early = EarlySolarTermTables;
static_assert(early::FirstYear == FirstSolarTermYear && early::LastYear + 1 == tables::FirstYear);
constexpr int FirstYear = early::FirstYear;
#endif

// The instant of term k (0-23) of a covered year, from a table's line and deviations.
template <class Lines, class Deviations>
std::int64_t OnTheLine(int firstYear, const Lines& lines, const Deviations& deviations, int year,
                       int term) {
    const auto& line = lines[static_cast<std::size_t>(term)];
    const std::size_t row =
        12 * static_cast<std::size_t>(year - firstYear) + static_cast<std::size_t>(term / 2);
    return line.first + std::int64_t{line.perYear} * (year - firstYear) + deviations[row];
}

// The sectional terms are read apart from the principal ones, so that an engine that reads no
// principal term links none of their table.
template <bool Sectional>
std::optional<std::int64_t> InstantOf(int year, int term) {
    if (year < FirstYear || year > LastSolarTermYear) return std::nullopt;
#if !defined(CHENGGU_TERMS_FROM_1900)
    if (year < tables::FirstYear) {
        if constexpr (Sectional) {
            return OnTheLine(early::FirstYear, early::TermLines, early::SectionalDeviations, year, term);
        } else {
            return OnTheLine(early::FirstYear, early::TermLines, early::PrincipalDeviations, year, term);
        }
    }
#endif
    if constexpr (Sectional) {
        return OnTheLine(tables::FirstYear, tables::TermLines, tables::SectionalDeviations, year, term);
    } else {
        return OnTheLine(tables::FirstYear, tables::TermLines, tables::PrincipalDeviations, year, term);
    }
}

}  // namespace

std::optional<std::int64_t> SectionalTermInstant(int year, int month) {
    if (month < 1 || month > 12) return std::nullopt;
    return InstantOf<true>(year, 2 * (month - 1));
}

std::optional<std::int64_t> SolarTermInstant(int year, int term) {
    if (term < 0 || term >= 24) return std::nullopt;
    return term % 2 == 0 ? InstantOf<true>(year, term) : InstantOf<false>(year, term);
}

CHENGGU_END_NAMESPACE
