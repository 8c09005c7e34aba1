#include "time/zone_names.h"

#include <algorithm>
#include <array>

#include "text/text_scanner.h"
#include "time/generated/zone_names.h"
#include "time/time_zone.h"

namespace chenggu::solar {
namespace {

// China's clocks are Beijing time by law, whatever city CLDR names the zone after.
constexpr std::string_view China = "Asia/Shanghai";

bool ChinaZone(std::string_view zone) {
    const auto city = std::lower_bound(ZoneCities.begin(), ZoneCities.end(), zone,
                                       [](const ZoneCity& c, std::string_view z) { return c.zone < z; });
    return zone == China || zone == "PRC" ||
           (city != ZoneCities.end() && city->zone == zone && city->simplified == "上海");
}

std::string_view Without(std::string_view text, std::string_view suffix) {
    return text.ends_with(suffix) ? text.substr(0, text.size() - suffix.size()) : text;
}

// The number at the start of text (8, 08, 八, 十二), and text moved past it.
std::optional<int> HoursIn(std::string_view& text) {
    TextScanner in(text);
    const std::optional<int> hours = in.SmallNumber();
    if (hours) text = in.Rest();
    return hours;
}

// tzdata's fixed zone of a whole-hour offset: Etc/GMT-8 for UTC+8.
std::optional<std::string_view> FixedZone(int hours) {
    if (hours < -12 || hours > 14) return std::nullopt;
    std::string name = hours == 0 ? "Etc/UTC" : "Etc/GMT" + std::string(hours > 0 ? "-" : "+") +
                                                      std::to_string(std::abs(hours));
    const auto zone = TimeZone::Named(name);
    return zone ? std::optional(zone->name()) : std::nullopt;
}

// The text with ASCII letters in capitals: utc+8 is UTC+8.
std::string Capitals(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// UTC+8, GMT-5, UTC+08:00, +0800, +8, 东八区, 西五区, UTC, GMT, 零时区.
std::optional<std::string_view> OffsetZone(std::string_view written) {
    const std::string capitals = Capitals(written);
    const std::string_view text = capitals;
    if (text == "UTC" || text == "GMT" || text == "Z" || text == "零时区" || text == "零時區" ||
        text == "中时区" || text == "中時區") {
        return FixedZone(0);
    }
    for (const std::string_view side : {"东", "西", "東"}) {
        std::string_view rest = text;
        if (!rest.starts_with(side)) continue;
        rest.remove_prefix(side.size());
        const std::optional<int> hours = HoursIn(rest);
        if (!hours || (rest != "区" && rest != "區")) return std::nullopt;
        return FixedZone(side == "西" ? -*hours : *hours);
    }
    std::string_view rest = text;
    for (const std::string_view prefix : {"UTC", "GMT"}) {
        if (rest.starts_with(prefix)) rest.remove_prefix(prefix.size());
    }
    while (rest.starts_with(' ')) rest.remove_prefix(1);
    int sign = 0;
    if (rest.starts_with('+')) sign = 1;
    if (rest.starts_with('-')) sign = -1;
    if (rest.starts_with("\u2212")) {  // − MINUS SIGN
        sign = -1;
        rest.remove_prefix(2);
    }
    if (sign == 0) return std::nullopt;
    rest.remove_prefix(1);
    const std::optional<int> hours = HoursIn(rest);
    if (!hours) return std::nullopt;
    // Minutes, if written, must be none: no fixed zone has a fraction of an hour.
    if (rest.starts_with(':')) rest.remove_prefix(1);
    if (!rest.empty() && rest != "00") return std::nullopt;
    return FixedZone(sign * *hours);
}

}  // namespace

std::optional<std::string_view> ZoneOfSpokenName(std::string_view text) {
    if (const auto offset = OffsetZone(text)) return offset;
    // Folded input has 时 for 時 but may keep 間.
    for (const std::string_view name :
         {text, Without(text, "时间"), Without(text, "時間"), Without(text, "时間"),
          Without(text, "标准时间"), Without(text, "標準時間"), Without(text, "標准时間")}) {
        if (name.empty()) continue;
        if (name == "北京") return China;
        const auto found =
            std::lower_bound(SpokenZoneNames.begin(), SpokenZoneNames.end(), name,
                             [](const SpokenZoneName& n, std::string_view t) { return n.name < t; });
        if (found != SpokenZoneNames.end() && found->name == name) {
            if (const auto zone = TimeZone::Named(found->zone)) return zone->name();
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> WrittenOffset(std::string_view written) {
    const std::string capitals = Capitals(written);
    std::string_view text = capitals;
    for (const std::string_view prefix : {"UTC", "GMT"}) {
        if (text.starts_with(prefix)) text.remove_prefix(prefix.size());
    }
    const int sign = text.starts_with('+') ? 1 : text.starts_with('-') ? -1 : 0;
    if (sign == 0) return std::nullopt;
    text.remove_prefix(1);
    const std::optional<int> hours = HoursIn(text);
    if (!hours || text.size() < 2) return std::nullopt;
    if (text.front() == ':') text.remove_prefix(1);
    if (text.size() != 2 || text[0] < '0' || text[0] > '5' || text[1] < '0' || text[1] > '9') {
        return std::nullopt;
    }
    const int minutes = (text[0] - '0') * 10 + (text[1] - '0');
    return sign * (*hours * 3600 + minutes * 60);
}

std::string ZoneDisplayName(std::string_view zone, Script script) {
    if (ChinaZone(zone)) return T(script, "北京时间");
    // tzdata's fixed zones, their sign inverted: Etc/GMT-8 is UTC+8.
    std::string_view fixed = zone;
    if (fixed.starts_with("Etc/")) fixed.remove_prefix(4);
    for (const std::string_view utc :
         {"UTC", "UCT", "GMT", "GMT0", "GMT+0", "GMT-0", "Greenwich", "Universal", "Zulu"}) {
        if (fixed == utc) return "UTC";
    }
    if (fixed.starts_with("GMT+") || fixed.starts_with("GMT-")) {
        return std::string("UTC") + (fixed[3] == '-' ? "+" : "-") + std::string(fixed.substr(4));
    }
    const auto city = std::lower_bound(ZoneCities.begin(), ZoneCities.end(), zone,
                                       [](const ZoneCity& c, std::string_view z) { return c.zone < z; });
    if (city == ZoneCities.end() || city->zone != zone) return std::string(zone);
    return std::string(script == Script::Traditional ? city->traditional : city->simplified) +
           T(script, "时间");
}

}  // namespace chenggu::solar
