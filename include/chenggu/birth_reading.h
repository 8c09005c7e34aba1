// The bone-weight reading of a birth: its lunar date, the stem-branch (干支) names, the four
// weights in qian (钱), their total and its verse, under chosen conventions, together with
// the readings under each other convention that would give another total. All text is
// UTF-8 and lives in the engine's constant tables.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "chenggu/export.h"
#include "chenggu/birth.h"
#include "chenggu/conventions.h"
#include "chenggu/date.h"
#include "chenggu/error.h"
#include "chenggu/solar_terms.h"

CHENGGU_BEGIN_NAMESPACE

// The sectional term (节) of a birth's day (in Beijing time) at its instant, and which side of
// it the birth lies on: the year and month pillars change at that instant (立春 the year).
struct TermMoment {
    SolarTerm term;
    // Unknown: the instant falls within the birth's period, which does not say which side.
    enum class Side : std::uint8_t { Before, After, Unknown } birthIs = Side::Unknown;
    bool nearBirth = false;  // within 5 minutes of a birth's clock time
    // Before 1929 under the printed calendar: the day the calendar of the time gave the term,
    // from which its month is counted (the instant above is the computed one, for
    // information).
    std::optional<GregorianDate> printedDay;

    friend bool operator==(const TermMoment&, const TermMoment&) = default;
};

struct BirthReading {
    Birth birth;  // as read; its period is always set
    Options options;
    GregorianDate readingDate;        // the day read: the next one for a 晚子 birth under NextDay
    LunarDate lunarDate;              // of readingDate, with its leap flag
    std::string_view yearStemBranch;  // 己巳: the year from Start of Spring (立春), at its instant
    std::string_view monthStemBranch;
    std::string_view dayStemBranch;
    std::string_view periodBranch;  // 子
    // The hour pillar (时柱): the period's stem from the day's stem (五鼠遁). The hour cycle
    // turns at 23:00, so a 晚子 takes the 子 hour of the next day, under either convention.
    std::string_view periodStemBranch;
    // The year whose weight was taken: the lunar year's name under NewYear (庚午 for
    // 1990-01-30), the 立春 year's (yearStemBranch) under Spring.
    std::string_view weighedYearStemBranch;
    std::int32_t yearWeight = 0;  // qian; ten qian make one liang (两)
    std::int32_t monthWeight = 0;
    std::int32_t dayWeight = 0;
    std::int32_t periodWeight = 0;
    std::int32_t totalWeight = 0;
    std::array<std::string_view, 2> verseLines;  // the verse of the total, two lines
    std::string_view verseExplanation;           // the verse in modern Chinese

    // For a birth with a clock time and a place: each step from the clock to the time read by.
    // The reading date and period are those of that time (BirthTime::Used).
    std::optional<BirthTime> birthTime;

    // On the day of a sectional term (节): the term, and the birth's side of it. The year and
    // month pillars (and the year weighed under Spring) are those of the birth's moment; when
    // the birth's period holds the instant, those of the day (from the term on) are taken.
    std::optional<TermMoment> solarTerm;

    // On an alternative: the convention switched from the reading it belongs to, or, for a
    // birth time, the other side of a near boundary or the second of a repeated clock time.
    std::optional<Convention> switched;
    enum class TimeChange : std::uint8_t {
        None,
        OtherSideOfBoundary,
        SecondOccurrence,
        OtherSideOfTerm
    };
    TimeChange timeChange = TimeChange::None;
    // The readings with one convention switched, for each switch that changes the total, in
    // the order of Conventions (the solar time's two other values one by one), then the
    // neighbouring period's for a time near a boundary and the second of a repeated clock
    // time, each only when its total differs, and the other side of a sectional term that the
    // birth's period holds or whose instant lies within 5 minutes of the birth (its pillars
    // always differ). A plain 子 read on its own day may have been a
    // 晚子: its late-子 alternative is the reading of the next day. Alternatives have none of
    // their own.
    std::vector<BirthReading> alternatives;

    const Period& period() const { return *birth.period; }
};

// The reading of a birth with a period. Refused with a reason for a birth that is not sound
// (a date outside the range, a period that is not one of the twelve, no period), for a
// 晚子 birth on 2100-12-31 read on the next day, for a birthplace without a clock time or a
// solar time asked for without a birthplace, and for what ReadBirthTime refuses.
CHENGGU_EXPORT Result<BirthReading> Read(const Birth& birth, const Options& options = {});
// The twelve readings of a birth date, one for each period in period order (the birth's
// own period, if it has one, is not looked at).
CHENGGU_EXPORT Result<std::array<BirthReading, 12>> ReadEveryPeriod(const Birth& birth,
                                                                    const Options& options = {});

CHENGGU_END_NAMESPACE
