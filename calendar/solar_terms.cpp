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

struct Later {
    static constexpr int FirstYear = tables::FirstYear;
    static constexpr const auto& TermLines = tables::TermLines;
    static constexpr const auto& SectionalDeviations = tables::SectionalDeviations;
    static constexpr const auto& PrincipalDeviations = tables::PrincipalDeviations;
};
#if !defined(CHENGGU_TERMS_FROM_1900)
struct Earlier {
    static constexpr int FirstYear = early::FirstYear;
    static constexpr const auto& TermLines = early::TermLines;
    static constexpr const auto& SectionalDeviations = early::SectionalDeviations;
    static constexpr const auto& PrincipalDeviations = early::PrincipalDeviations;
};
#endif

// The instant of term k (0-23) of a covered year, from its table's line and a deviation of
// the same parity. (The sectional terms alone are read apart, so that an engine that reads no
// principal term links none of their table.)
template <class Tables, bool Sectional>
std::int64_t OnTheLine(int year, int term) {
    const auto& line = Tables::TermLines[static_cast<std::size_t>(term)];
    const std::size_t row = 12 * static_cast<std::size_t>(year - Tables::FirstYear) +
                            static_cast<std::size_t>(term / 2);
    const std::int16_t deviation =
        Sectional ? Tables::SectionalDeviations[row] : Tables::PrincipalDeviations[row];
    return line.first + std::int64_t{line.perYear} * (year - Tables::FirstYear) + deviation;
}

template <bool Sectional>
std::optional<std::int64_t> InstantOf(int year, int term) {
    if (year < FirstYear || year > LastSolarTermYear) return std::nullopt;
#if !defined(CHENGGU_TERMS_FROM_1900)
    if (year < Later::FirstYear) return OnTheLine<Earlier, Sectional>(year, term);
#endif
    return OnTheLine<Later, Sectional>(year, term);
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
