// The generated tables of zones and places, or, for a build that leaves them out (the web
// page's first engine, which loads the full one when a birthplace is asked for), none: every
// zone and place is then unknown.
#pragma once

#if CHENGGU_WITHOUT_PLACE_TABLES
#include <array>
#include <string_view>

#include "solar/place_data.h"
#include "solar/zone_data.h"

namespace chenggu::solar {
inline constexpr std::string_view TimeZoneDataVersion = "";
inline constexpr std::array<ZoneOffset, 1> ZoneOffsets{};
inline constexpr std::array<std::uint16_t, 1> ZoneOffsetChoices{};
inline constexpr std::array<std::uint32_t, 1> ZoneTransitions{};
inline constexpr std::array<ZoneHistory, 1> ZoneHistories{};
inline constexpr std::array<ZoneName, 0> ZoneNames{};
inline constexpr std::array<std::string_view, 1> PlaceTexts{};
inline constexpr std::array<PlaceRecord, 0> PlaceRecords{};
}  // namespace chenggu::solar
#else
#include "solar/place_table.h"
#include "solar/zone_table.h"
#endif
