// The shapes of the generated time-zone table (zone_table.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace chenggu::solar {

// An offset a zone's clocks kept: seconds east of UTC, and whether tzdata marks it as
// daylight-saving (summer) time.
struct ZoneOffset {
    std::int32_t seconds = 0;
    bool summer = false;
};

// A zone's history: its transitions are ZoneTransitions[firstTransition, + transitions), its
// offsets ZoneOffsetChoices[firstChoice, + choices] (indices into ZoneOffsets), the one in
// force before the first transition at initial.
struct ZoneHistory {
    std::uint32_t firstTransition;
    std::uint16_t transitions;
    std::uint16_t firstChoice;
    std::uint8_t choices;
    std::uint8_t initial;
};

// A zone's IANA name and its history; the names are sorted.
struct ZoneName {
    std::string_view name;
    std::uint16_t history;
};

}  // namespace chenggu::solar
