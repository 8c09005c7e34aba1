// The engine without the table of places, for the web page's first engine (the page loads the
// whole engine when a birthplace is first asked for): no place is known, so a birth at a
// birthplace is refused with the reason; of the zones, Beijing time alone is (time_zone.cpp
// built with CHENGGU_BEIJING_TIME_ONLY), for the clock times and periods of births in China.
#include "chenggu/places.h"
#include "text/messages.h"
#include "time/zone_names.h"

CHENGGU_BEGIN_NAMESPACE

Birthplace Place::AsBirthplace() const { return {longitude, std::string(zone), fullName, {}, {}}; }

// Never reached: no birthplace is read, so no clock time is read at one.
Result<BirthTime> ReadBirthTime(const GregorianDate&, const ClockTime&, const Birthplace& birthplace,
                                SolarTime, bool) {
    return refusal::UnknownZone(birthplace.zone, {});
}

Result<Place> FindPlace(std::string_view name) { return refusal::UnknownPlace(name, {}); }

std::vector<Place> SearchPlaces(std::string_view, std::size_t, std::string_view) { return {}; }

std::string PlaceNameIn(std::string_view fullName, Script) { return std::string(fullName); }

Result<Birthplace> BirthplaceOf(std::optional<std::string_view> place, std::optional<double>,
                                std::optional<std::string_view> zone) {
    if (place) return refusal::UnknownPlace(*place, {});
    return refusal::UnknownZone(zone.value_or("Asia/Shanghai"), {});
}

CHENGGU_END_NAMESPACE

namespace chenggu::solar {

// Of the zones' names, Beijing time's alone.
std::optional<std::string_view> ZoneOfSpokenName(std::string_view text) {
    if (text == "北京时间" || text == "北京時間" || text == "北京") return "Asia/Shanghai";
    return std::nullopt;
}

std::optional<std::int32_t> WrittenOffset(std::string_view) { return std::nullopt; }

std::string ZoneDisplayName(std::string_view zone, Script script) {
    return zone == "Asia/Shanghai" ? T(script, "北京时间") : std::string(zone);
}

}  // namespace chenggu::solar
