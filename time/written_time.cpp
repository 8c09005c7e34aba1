// Clock times, time zones and longitudes as people write them.
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "chenggu/birth_time.h"
#include "chenggu/written_input.h"
#include "text/messages.h"
#include "text/text_scanner.h"
#include "text/utf8.h"
#include "time/time_zone.h"
#include "time/zone_names.h"

CHENGGU_BEGIN_NAMESPACE

namespace {

// The part of the day a time is said in, and how it moves the hour it names.
struct DayPart {
    std::string_view word;
    int (*hour)(int);  // the hour on a 24-hour clock, or -1 when the part has no such hour
};
constexpr std::array<DayPart, 12> DayParts{{
    {"凌晨", [](int h) { return h == 12 ? 0 : h <= 6 ? h : -1; }},
    {"半夜", [](int h) { return h == 12 ? 0 : h <= 4 ? h : h >= 11 ? h + 12 : -1; }},
    {"清晨", [](int h) { return h >= 4 && h <= 9 ? h : -1; }},
    {"早晨", [](int h) { return h >= 4 && h <= 9 ? h : -1; }},
    {"早上", [](int h) { return h >= 4 && h <= 10 ? h : -1; }},
    {"上午", [](int h) { return h <= 12 ? h : -1; }},
    {"中午", [](int h) { return h == 11 || h == 12 ? h : h <= 2 ? h + 12 : -1; }},
    {"下午", [](int h) { return h < 12 ? h + 12 : h <= 23 ? h : -1; }},
    {"傍晚", [](int h) { return h >= 5 && h <= 8 ? h + 12 : h >= 17 && h <= 20 ? h : -1; }},
    {"晚上", [](int h) { return h >= 6 && h <= 11 ? h + 12 : h >= 18 && h <= 23 ? h : -1; }},
    {"夜里", [](int h) { return h >= 8 && h <= 11 ? h + 12 : h >= 20 && h <= 23 ? h : h <= 4 ? h : -1; }},
    {"夜间", [](int h) { return h >= 8 && h <= 11 ? h + 12 : h >= 20 && h <= 23 ? h : h <= 4 ? h : -1; }},
}};

}  // namespace

Result<ClockTime> ParseClockTime(std::string_view text) {
    // H:MM, H点, H点M分, H时, H时M分, 8点半, 8点一刻, 二十三点, 下午3点, 晚上11点十分. A time
    // without its part of the day is on a 24-hour clock (12点 is noon).
    const std::string folded = NormalizedInput(text);
    TextScanner in(folded);
    const DayPart* part = nullptr;
    for (const DayPart& candidate : DayParts) {
        if (in.Take(candidate.word)) {
            part = &candidate;
            break;
        }
    }
    const std::optional<int> hour = in.SmallNumber();
    std::optional<int> minute = 0;
    bool spoken = false;
    if (hour && in.Take(":")) {
        minute = in.Digits(2, 2);
    } else if (hour && ((spoken = in.Take("点") || in.Take("點")) || in.Take("时"))) {
        // 时 is the clock's own word (8时 is 8:00); 点 is speech, where 8点 may be the evening's.
        if (in.Take("半")) {
            minute = 30;
        } else if (in.Take("一刻")) {
            minute = 15;
        } else if (in.Take("三刻")) {
            minute = 45;
        } else if (!in.AtEnd()) {
            minute = in.SmallNumber();
            if (minute) in.Take("分");
        }
    } else {
        minute = std::nullopt;
    }
    if (!hour || !minute || !in.AtEnd()) return refusal::NotAPeriod(text);
    if (*hour > 23 || *minute > 59) return refusal::NotATime(text);
    if (part == nullptr) return ClockTime{*hour, *minute, spoken && *hour >= 1 && *hour <= 12};
    const int onTheClock = part->hour(*hour);
    if (onTheClock < 0) return refusal::NotATime(text);  // 下午9点, 凌晨8点
    return ClockTime{onTheClock, *minute};
}

Result<std::string_view> ParseZone(std::string_view text) {
    // No zone's name, in any script, is longer; longer text is refused before any search.
    constexpr std::size_t LongestZoneName = 100;
    if (LongerThan(text, LongestZoneName)) return refusal::ZoneNameTooLong(text, LongestZoneName);
    const std::string folded = NormalizedInput(text);
    if (const auto zone = solar::TimeZone::Named(folded)) return zone->name();
    // Folding makes some Traditional characters Simplified (臘 to 腊): the name as written too.
    std::string_view written = text;
    while (!written.empty() && written.front() == ' ') written.remove_prefix(1);
    while (!written.empty() && written.back() == ' ') written.remove_suffix(1);
    for (const std::string_view name : {std::string_view(folded), written}) {
        if (const auto zone = solar::ZoneOfSpokenName(name)) return *zone;
    }
    // An offset with minutes: the zones that have it now (2020), for none is fixed.
    if (const auto offset = solar::WrittenOffset(folded)) {
        constexpr solar::Seconds Year2020 = solar::DaysFromCivil(2020, 1, 1) * solar::SecondsPerDay;
        auto zones = solar::TimeZone::NamesWithOffset(*offset, Year2020, 3);
        if (!zones.empty()) return refusal::UnknownZone(text, zones);
    }
    // Names by spelling mean nothing to a name in Chinese: the forms people use instead.
    const bool ascii = std::all_of(folded.begin(), folded.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return refusal::UnknownZone(text, ascii ? solar::TimeZone::NamesLike(folded, 3)
                                            : std::vector<std::string_view>{
                                                  "北京时间", "UTC+8", "America/New_York"});
}

Result<double> ParseLongitude(std::string_view text) {
    std::string folded = NormalizedInput(text);
    // The side: a sign, E/W before or after, or 东经/西经 before.
    int side = 0;
    const auto takeSide = [&](std::string_view mark, int sign, bool front) {
        if (side != 0) return;
        const bool there = front ? folded.starts_with(mark) : folded.ends_with(mark);
        if (!there) return;
        side = sign;
        folded = front ? folded.substr(mark.size()) : folded.substr(0, folded.size() - mark.size());
    };
    for (const bool front : {true, false}) {
        takeSide("东经", 1, front);
        takeSide("西经", -1, front);
        takeSide("東經", 1, front);
        takeSide("西經", -1, front);
        takeSide("E", 1, front);
        takeSide("e", 1, front);
        takeSide("W", -1, front);
        takeSide("w", -1, front);
    }
    while (!folded.empty() && folded.back() == ' ') folded.pop_back();
    while (!folded.empty() && folded.front() == ' ') folded.erase(0, 1);
    bool negative = false;
    if (side == 0 && !folded.empty() && folded.front() == '-') {
        negative = true;
        folded.erase(0, 1);
    } else if (side == 0 && !folded.empty() && folded.front() == '+') {
        folded.erase(0, 1);
    }

    // Degrees as a decimal number, or degrees, minutes and seconds with their marks; only the
    // last of them may have a fraction (104.5°30′ is no longitude).
    TextScanner in(folded);
    const auto whole = [](double value) { return value == std::floor(value); };
    const std::optional<double> leading = in.Decimal();
    bool ok = leading.has_value();
    double degrees = leading.value_or(0);
    if (ok && (in.Take("°") || in.Take("度"))) {
        if (const std::optional<double> minutes = in.Decimal()) {
            ok = whole(degrees) && (in.Take("′") || in.Take("'") || in.Take("分")) &&
                 *minutes < 60;
            degrees += *minutes / 60;
            const std::optional<double> seconds = ok ? in.Decimal() : std::nullopt;
            if (seconds) {
                ok = whole(*minutes) && (in.Take("″") || in.Take("\"") || in.Take("秒")) &&
                     *seconds < 60;
                degrees += *seconds / 3600;
            }
        }
    }
    while (in.Take(" ")) {
    }
    if (!ok || !in.AtEnd() || degrees > 180) return refusal::NotALongitude(text);
    const double value = (side < 0 || negative) ? -degrees : degrees;
    return value == 0 ? 0.0 : value;
}

CHENGGU_END_NAMESPACE
