// The shapes of the generated place table (place_table.h).
#pragma once

#include <cstdint>
#include <limits>

namespace chenggu::solar {

enum class PlaceLevel : std::uint8_t { Province, Prefecture, County, Country, City };

inline constexpr std::uint16_t NoPlace = 0xffff;
// A county whose seat has no point in the sources: it is read at its prefecture's.
inline constexpr std::int32_t NoLongitude = std::numeric_limits<std::int32_t>::min();

// A place: its names in PlaceTexts[text >> 16] from text & 0xffff, length bytes, as
// "Simplified|Traditional|English" (the Traditional name empty when it is the same), its longitude
// in 1/10000 degree east, the place it lies in (a province, prefecture or country), and its zone
// (an index into ZoneNames; none for a country), and for a city abroad its population as
// 8 × its binary logarithm (0 when not known), to tell a city from a smaller one of its name.
struct PlaceRecord {
    std::uint32_t text;
    std::uint8_t length;
    std::int32_t longitude;
    std::uint16_t parent;
    std::uint16_t zone;
    PlaceLevel level;
    std::uint8_t people;
};

}  // namespace chenggu::solar
