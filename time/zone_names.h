// Time zones as people say them: 北京时间, 东八区, UTC+8, 东京时间, 北美东部时间; and a zone
// as a Chinese reader says it, for the steps of a birth time (北京时间, 纽约时间, UTC+8).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chenggu/script.h"

namespace chenggu::solar {

// The zone a spoken name stands for: a city or a zone's Chinese name, with or without 时间
// (东京, 东京时间, 東京時間, 中国标准时间), or a whole-hour offset from UTC (UTC+8, GMT+8,
// +08:00, +8, 东八区, 西五区, UTC) as tzdata's fixed zone (Etc/GMT-8: tzdata's sign is
// inverted). Nothing when the name says neither. The text is already folded
// (NormalizedInput).
std::optional<std::string_view> ZoneOfSpokenName(std::string_view text);

// The offset from UTC, in seconds, that a text like UTC+5:30, GMT-3:30 or +05:45 writes, for a
// refusal to name the zones that have it (no fixed zone has a fraction of an hour).
std::optional<std::int32_t> WrittenOffset(std::string_view text);

// A zone as a reader says it: 北京时间 for China's zones, the city's name and 时间 where
// CLDR has it (纽约时间), the offset for a fixed zone (UTC+8), else the zone's name.
std::string ZoneDisplayName(std::string_view zone, Script script);

}  // namespace chenggu::solar
