// The shapes of the generated time-zone table (zone_table.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace chenggu::solar {

// An offset a zone's clocks kept: seconds east of UTC, whether tzdata marks it as
// daylight-saving (summer) time, and whether it is local mean time (tzdata's LMT: before the
// place kept a standard time).
struct ZoneOffset {
    std::int32_t seconds = 0;
    bool summer = false;
    bool localMean = false;
};

// A transition before 1900: its instant (seconds since 1901-01-01, UTC) and the offset after
// it among its zone's offsets.
struct EarlyTransition {
    std::int64_t utc;
    std::uint8_t choice;
};

// A zone's history: its transitions before 1900 are ZoneEarlyTransitions[firstEarly, + early),
// the later ones ZoneTransitions[firstTransition, + transitions), its offsets
// ZoneOffsetChoices[firstChoice, + choices] (indices into ZoneOffsets), the one in force
// before the first transition at initial.
struct ZoneHistory {
    std::uint32_t firstTransition;
    std::uint16_t transitions;
    std::uint16_t firstChoice;
    std::uint8_t choices;
    std::uint8_t initial;
    std::uint16_t firstEarly;
    std::uint8_t early;
};

// A zone's IANA name and its history; the names are sorted.
struct ZoneName {
    std::string_view name;
    std::uint16_t history;
};

}  // namespace chenggu::solar
