// Time zones from tzdata's history: the offset of a zone's clocks at an instant, and the
// instants a clock reading stands for (none when clocks jumped over it, two when they were
// turned back through it).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "time/civil_time.h"
#include "time/zone_data.h"

namespace chenggu::solar {

// What a clock reading in a zone stands for.
struct ClockInstants {
    enum class Kind { Once, Twice, Never } kind = Kind::Once;
    Seconds first = 0;        // UTC: the only instant, the earlier of two, or when clocks jumped
    Seconds second = 0;       // UTC: the later of two
    ZoneOffset offset;        // in force at first (for Never: before the jump)
    ZoneOffset secondOffset;  // in force at second (for Never: after the jump)
};

class TimeZone {
  public:
    // The zone of an IANA name, exactly or in other letter case; nothing for an unknown name.
    static std::optional<TimeZone> Named(std::string_view name);
    // Up to count known names nearest to an unknown one, for a message.
    static std::vector<std::string_view> NamesLike(std::string_view name, std::size_t count);
    // Up to count zones whose clocks are offset seconds from UTC at the instant (UTC), in
    // tzdata's order, fixed zones left out.
    static std::vector<std::string_view> NamesWithOffset(std::int32_t offset, Seconds at,
                                                         std::size_t count);

    std::string_view name() const;
    ZoneOffset OffsetAt(Seconds utc) const;
    ClockInstants InstantsOf(Seconds clock) const;

  private:
    explicit TimeZone(std::size_t index) : index_(index) {}
    Seconds TransitionAt(std::size_t transition) const;
    std::size_t TransitionsUpTo(Seconds utc) const;
    ZoneOffset OffsetAfter(std::size_t transition) const;
    ZoneOffset Offset(std::size_t choice) const;

    std::size_t index_;
};

}  // namespace chenggu::solar
