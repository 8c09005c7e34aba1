// The engine without the tables of zones and places, for the web page's first engine (the
// page loads the whole engine when a birthplace is first asked for): no zone and no place is
// known, so a birth at a birthplace is refused with the reason, and nothing else changes.
#include "chenggu/places.h"
#include "text/messages.h"
#include "time/time_zone.h"

namespace chenggu::solar {

std::optional<TimeZone> TimeZone::Named(std::string_view) { return std::nullopt; }

std::vector<std::string_view> TimeZone::NamesLike(std::string_view, std::size_t) { return {}; }

// No zone is ever made, so these are never called.
std::string_view TimeZone::name() const { return {}; }
ZoneOffset TimeZone::OffsetAt(Seconds) const { return {}; }
ClockInstants TimeZone::InstantsOf(Seconds) const { return {}; }

}  // namespace chenggu::solar

CHENGGU_BEGIN_NAMESPACE

Birthplace Place::AsBirthplace() const { return {longitude, std::string(zone), fullName}; }

Result<Place> FindPlace(std::string_view name) { return refusal::UnknownPlace(name, {}); }

std::vector<Place> SearchPlaces(std::string_view, std::size_t) { return {}; }

std::string PlaceNameIn(std::string_view fullName, Script) { return std::string(fullName); }

Result<Birthplace> BirthplaceOf(std::optional<std::string_view> place, std::optional<double>,
                                std::optional<std::string_view> zone) {
    if (place) return refusal::UnknownPlace(*place, {});
    return refusal::UnknownZone(zone.value_or("Asia/Shanghai"), {});
}

CHENGGU_END_NAMESPACE
