#include "time/time_zone.h"

#include <algorithm>
#include <cstdint>

#include "text/edit_distance.h"

// The web page's first engine carries Beijing time alone (time/without_places.cpp).
#if defined(CHENGGU_BEIJING_TIME_ONLY)
#include "time/generated/shanghai_zone_table.h"
#else
#include "time/generated/zone_table.h"
#endif

namespace chenggu::solar {
namespace {

// The table counts minutes from 1900-01-01; the engine's seconds count from 1901-01-01.
constexpr Seconds TableEpoch = -365 * SecondsPerDay;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// Edits (insertions, deletions, substitutions, letter case ignored) from a to b.
std::size_t CaselessDistance(std::string_view a, std::string_view b) {
    return EditDistance(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

const ZoneHistory& HistoryOf(std::size_t zone) { return ZoneHistories[ZoneNames[zone].history]; }

}  // namespace

std::optional<TimeZone> TimeZone::Named(std::string_view name) {
    const auto exact =
        std::lower_bound(ZoneNames.begin(), ZoneNames.end(), name,
                         [](const ZoneName& z, std::string_view n) { return z.name < n; });
    if (exact != ZoneNames.end() && exact->name == name) {
        return TimeZone(static_cast<std::size_t>(exact - ZoneNames.begin()));
    }
    for (std::size_t i = 0; i < ZoneNames.size(); ++i) {
        if (SameIgnoringCase(ZoneNames[i].name, name)) return TimeZone(i);
    }
    return std::nullopt;
}

std::vector<std::string_view> TimeZone::NamesLike(std::string_view name, std::size_t count) {
    if (count == 0) return {};
    // The nearest count so far, by distance then name; a zone whose names' lengths alone are
    // further away than the last of them is not compared.
    std::vector<std::pair<std::size_t, std::string_view>> nearest;
    const auto apart = [&](std::string_view other) {
        return other.size() > name.size() ? other.size() - name.size() : name.size() - other.size();
    };
    for (const ZoneName& zone : ZoneNames) {
        // tzdata's fixed zones are never offered: their sign is inverted (Etc/GMT+8 is
        // UTC-8), and a reader who follows one moves the birth by hours.
        if (zone.name.starts_with("Etc/") || zone.name.starts_with("GMT")) continue;
        // A city alone (Shanghai) is compared with the zone's city.
        const std::string_view city = zone.name.substr(zone.name.rfind('/') + 1);
        if (nearest.size() == count && std::min(apart(zone.name), apart(city)) > nearest.back().first) {
            continue;
        }
        const std::pair<std::size_t, std::string_view> scored{
            std::min(CaselessDistance(name, zone.name), CaselessDistance(name, city)), zone.name};
        nearest.insert(std::upper_bound(nearest.begin(), nearest.end(), scored), scored);
        if (nearest.size() > count) nearest.pop_back();
    }
    std::vector<std::string_view> names;
    for (const auto& [distance, zoneName] : nearest) names.push_back(zoneName);
    return names;
}

std::vector<std::string_view> TimeZone::NamesWithOffset(std::int32_t offset, Seconds at,
                                                         std::size_t count) {
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < ZoneNames.size() && names.size() < count; ++i) {
        const std::string_view name = ZoneNames[i].name;
        if (name.find('/') == std::string_view::npos || name.starts_with("Etc/")) continue;
        if (TimeZone(i).OffsetAt(at).seconds == offset) names.push_back(name);
    }
    return names;
}

std::string_view TimeZone::name() const { return ZoneNames[index_].name; }

ZoneOffset TimeZone::Offset(std::size_t choice) const {
    return ZoneOffsets[ZoneOffsetChoices[HistoryOf(index_).firstChoice + choice]];
}

// The offset in force after a zone's transition t (0-based; those before 1900 first).
ZoneOffset TimeZone::OffsetAfter(std::size_t transition) const {
    const ZoneHistory& history = HistoryOf(index_);
    if (transition == 0) return Offset(history.initial);
    const std::size_t t = transition - 1;
    if (t < history.early) return Offset(ZoneEarlyTransitions[history.firstEarly + t].choice);
    return Offset(ZoneTransitions[history.firstTransition + t - history.early] & 0xf);
}

// The UTC instant of a zone's transition (0-based). A word holds the minute (of UTC, or of
// the clock before the transition when flagged), the flag and the offset after it.
Seconds TimeZone::TransitionAt(std::size_t transition) const {
    const ZoneHistory& history = HistoryOf(index_);
    if (transition < history.early) return ZoneEarlyTransitions[history.firstEarly + transition].utc;
    const std::uint32_t word = ZoneTransitions[history.firstTransition + transition - history.early];
    const Seconds minute = TableEpoch + static_cast<Seconds>(word >> 5) * 60;
    return (word & 0x10) != 0 ? minute - OffsetAfter(transition).seconds : minute;
}

std::size_t TimeZone::TransitionsUpTo(Seconds utc) const {
    const ZoneHistory& history = HistoryOf(index_);
    std::size_t low = 0, high = std::size_t{history.early} + history.transitions;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (TransitionAt(middle) <= utc) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

ZoneOffset TimeZone::OffsetAt(Seconds utc) const { return OffsetAfter(TransitionsUpTo(utc)); }

ClockInstants TimeZone::InstantsOf(Seconds clock) const {
    // Offsets change at most once within a day of any clock reading in tzdata's history since
    // 1901, so the offsets a day before and after are the only candidates.
    const ZoneOffset before = OffsetAt(clock - SecondsPerDay);
    const ZoneOffset after = OffsetAt(clock + SecondsPerDay);
    const Seconds early = clock - before.seconds, late = clock - after.seconds;
    const bool earlyFits = OffsetAt(early).seconds == before.seconds;
    const bool lateFits = OffsetAt(late).seconds == after.seconds;
    ClockInstants instants;
    if (earlyFits && lateFits && early != late) {
        instants.kind = ClockInstants::Kind::Twice;
        instants.first = std::min(early, late);
        instants.second = std::max(early, late);
        instants.offset = OffsetAt(instants.first);
        instants.secondOffset = OffsetAt(instants.second);
    } else if (earlyFits || lateFits) {
        instants.first = earlyFits ? early : late;
        instants.offset = OffsetAt(instants.first);
    } else {
        // The clocks jumped over this reading, from before's offset to after's, at the
        // transition between the two candidate instants.
        instants.kind = ClockInstants::Kind::Never;
        const std::size_t passed = TransitionsUpTo(early);
        instants.first = passed > 0 ? TransitionAt(passed - 1) : early;
        instants.offset = before;
        instants.secondOffset = after;
    }
    return instants;
}

}  // namespace chenggu::solar
