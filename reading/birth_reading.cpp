// The reading of a birth under conventions, with its alternatives: the engine's one path
// from a birth to its weights, for every face.
#include "chenggu/birth_reading.h"

#include <algorithm>
#include <cstdlib>

#include "calendar/calendar_date.h"
#include "reading/day_reading.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"
#include "text/messages.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// The day a birth is read on: a late 子 birth moves to the next day under NextDay.
GregorianDate ReadingDay(const GregorianDate& date, const Period& period, const Options& options) {
    if (period.index == 0 && period.ziHalf == ZiHalf::Late && options.lateZi == LateZi::NextDay) {
        return GregorianDate::FromDayOffset(date.DayOffset() + 1);
    }
    return date;
}

// The weights and verse of a day.
void SetWeights(BirthReading& r, const Weights& w) {
    r.yearWeight = w.year;
    r.monthWeight = w.month;
    r.dayWeight = w.day;
    r.periodWeight = w.period;
    r.totalWeight = w.total;
    r.weighedYearStemBranch = StemBranchText(w.weighedYear - CycleStartYear);
    const auto verse = static_cast<std::size_t>(w.total - LightestVerseWeight);  // [0, 50]
    r.verseLines = Verses[verse];
    r.verseExplanation = VerseExplanations[verse];
}

// A reading of the same day and period under other options (no alternatives of its own).
BirthReading Reweighed(const BirthReading& reading, const Options& options,
                       const PillarsAtBirth& pillars) {
    BirthReading r;
    r.birth = reading.birth;
    r.options = options;
    r.readingDate = reading.readingDate;
    r.lunarDate = reading.lunarDate;
    r.yearStemBranch = reading.yearStemBranch;
    r.monthStemBranch = reading.monthStemBranch;
    r.dayStemBranch = reading.dayStemBranch;
    r.periodBranch = reading.periodBranch;
    r.periodStemBranch = reading.periodStemBranch;
    r.solarTerm = reading.solarTerm;
    // Only the year's index weighs (under Spring); the day's is the reading's.
    SetWeights(r, WeighDay(r.lunarDate, {pillars.year, pillars.month, 0}, r.period().index, options));
    return r;
}

// Why a birth cannot be read, if it cannot: a date outside the range, a period that is not
// one of the twelve, or a lunar date that is not the same day as the Gregorian one.
std::optional<Error> Unsound(const Birth& birth, CalendarRule rule) {
    const Result<Birth> checked = GregorianBirth(birth.date, birth.period);
    if (!checked) return checked.error();
    if (birth.lunarInput && CalendarDate::LunarToGregorian(*birth.lunarInput, rule) != birth.date) {
        return refusal::BadRequest("the lunar date " + LunarDateText(*birth.lunarInput) +
                                       " is not the day " + IsoDate(birth.date),
                                   [&](Script s) {
                                       return T(s, "农历 ") + LunarDateText(*birth.lunarInput) +
                                              T(s, " 不是公历 ") + IsoDate(birth.date);
                                   });
    }
    return std::nullopt;
}

// The reading of a sound birth with a sound period, alternatives included. Switching the year
// start or the leap-month rule weighs the same day again; only a 晚子 moved to the next day
// needs that day's calendar. (The calendar rule's alternative is the whole reading again: Read.)
Result<BirthReading> ReadSound(const Birth& birth, const Period& period, const Options& options,
                               const PillarsAtBirth& pillars, bool withAlternatives = true) {
    const GregorianDate day = ReadingDay(birth.date, period, options);
    if (!day.ok()) return refusal::ReadingDayAfterRange(birth.date);
    BirthReading reading = ReadDay(birth, period, options, day, pillars);
    if (!withAlternatives) return reading;

    for (const Convention convention : Conventions) {
        // Read from the birth time, or as a reading of its own.
        if (convention == Convention::SolarTime || convention == Convention::CalendarRule) continue;
        const Options switched = Switched(options, convention);
        BirthReading alternative;
        if (convention == Convention::LateZi) {
            // A plain 子 read on its own day may have been a 晚子.
            Period late = period;
            if (period.index == 0 && period.ziHalf == ZiHalf::Unsaid) late.ziHalf = ZiHalf::Late;
            const GregorianDate otherDay = ReadingDay(birth.date, late, switched);
            if (!otherDay.ok() || otherDay == day) continue;  // the same day weighs the same
            alternative = ReadDay(birth, late, switched, otherDay, pillars);
        } else {
            alternative = Reweighed(reading, switched, pillars);
        }
        if (alternative.totalWeight == reading.totalWeight) continue;
        alternative.switched = convention;
        reading.alternatives.push_back(std::move(alternative));
    }
    // The other side of a sectional term the birth may lie on either side of: its pillars
    // differ, and under Spring after 立春 its weight.
    if (pillars.Uncertain()) {
        BirthReading alternative = ReadDay(birth, period, options, day, pillars.OtherSide());
        alternative.timeChange = BirthReading::TimeChange::OtherSideOfTerm;
        reading.alternatives.push_back(std::move(alternative));
    }
    return reading;
}

// Every sum of four table weights has a verse.
constexpr auto WeightRange = [](const auto& table, auto weightOf) {
    std::int32_t lightest = weightOf(table[0]), heaviest = lightest;
    for (const auto& entry : table) {
        lightest = std::min(lightest, weightOf(entry));
        heaviest = std::max(heaviest, weightOf(entry));
    }
    return std::array<std::int32_t, 2>{lightest, heaviest};
};
constexpr auto Keyed = [](const KeyedWeight& entry) { return entry.weight; };
constexpr auto Plain = [](std::int32_t weight) { return weight; };
static_assert([] {
    const std::array<std::array<std::int32_t, 2>, 4> ranges{
        WeightRange(YearWeights, Keyed), WeightRange(MonthWeights, Keyed),
        WeightRange(DayWeights, Keyed), WeightRange(PeriodWeights, Plain)};
    std::int32_t lightest = 0, heaviest = 0;
    for (const auto& range : ranges) lightest += range[0], heaviest += range[1];
    return lightest >= LightestVerseWeight &&
           heaviest < LightestVerseWeight + static_cast<std::int32_t>(Verses.size());
}());

}  // namespace

Weights WeighDay(const LunarDate& lunar, const StemBranchIndex& index, int period,
                 const Options& options) {
    // Under Spring the weighed year is the one the year's stem-branch name names.
    const int weighedYear =
        options.yearStart == YearStart::Spring ? CycleStartYear + index.year : lunar.year;
    // Under Split the second half of a leap month weighs as the month after it.
    const bool laterHalf =
        options.leapMonth == LeapMonthRule::Split && lunar.leapMonth && lunar.day >= 16;
    const int weighedMonth = laterHalf ? lunar.month % 12 + 1 : lunar.month;

    Weights w;
    w.weighedYear = weighedYear;
    w.year = YearWeight(static_cast<std::uint16_t>(weighedYear));
    w.month = MonthWeight(static_cast<std::uint16_t>(weighedMonth));
    w.day = DayWeight(lunar.day);
    w.period = PeriodWeight(period);
    w.total = w.year + w.month + w.day + w.period;  // [21, 71]
    return w;
}

BirthReading ReadDay(const Birth& birth, const Period& period, const Options& options,
                     const GregorianDate& readingDate, const PillarsAtBirth& pillars) {
    BirthReading r;
    r.birth = birth;
    r.birth.period = period;
    r.options = options;
    r.readingDate = readingDate;
    r.lunarDate = CalendarDate::LunarDateAt(readingDate.DayOffset(), options.calendarRule);
    // The year and month of the birth's moment; the day is the reading's.
    const std::int32_t dayIndex =
        pillars.day == readingDate
            ? pillars.dayIndex
            : CalendarDate::StemBranchIndices(readingDate.year, readingDate.month, readingDate.day)
                  .day;
    const StemBranchIndex index{pillars.year, pillars.month, dayIndex};
    r.solarTerm = pillars.term;
    r.yearStemBranch = StemBranchText(index.year);
    r.monthStemBranch = StemBranchText(index.month);
    r.dayStemBranch = StemBranchText(index.day);
    r.periodBranch = BirthPeriods[static_cast<std::size_t>(period.index)].periodBranch;
    // The hour cycle repeats every five days, twelve hours a day; a day's 子 hour has the
    // index 12 × its day index (a 甲 day's is 甲子). A 晚子 belongs to the next day's cycle.
    const std::int32_t birthDay = index.day - (readingDate.DayOffset() - birth.date.DayOffset());
    const std::int32_t hourDay = birthDay + (period.ziHalf == ZiHalf::Late ? 1 : 0);
    r.periodStemBranch = StemBranchText(12 * hourDay + period.index);

    SetWeights(r, WeighDay(r.lunarDate, index, period.index, options));
    return r;
}

namespace {

// The period of a time of day: 23:xx is 晚子, 0:xx 早子.
Period PeriodAt(std::int32_t secondOfDay) {
    const auto hour = static_cast<std::uint16_t>(secondOfDay / 3600);
    if (hour == 23) return {0, ZiHalf::Late};
    if (hour == 0) return {0, ZiHalf::Early};
    return {PeriodForHour(hour)};
}

// The reading of a birth with a clock time and a place at a birth time (its Used() time, or
// another second of that day, across a near boundary); with the alternatives of the other
// conventions when asked.
Result<BirthReading> ReadAtTime(const Birth& birth, const Options& options, const BirthTime& time,
                                bool withAlternatives,
                                std::optional<DateTime> otherTime = std::nullopt) {
    const DateTime& used = otherTime ? *otherTime : time.Used();
    if (!used.date.ok()) {
        return refusal::SolarDateOutsideRange(IsoDateTime(used), ValueName(time.used));
    }
    Birth solarBirth = birth;
    solarBirth.date = used.date;
    solarBirth.lunarInput.reset();
    const Period period = PeriodAt(used.second);
    // The pillars of the birth's instant: the clock read in its zone.
    const solar::Seconds utc =
        solar::DaysFromCivil(time.clock.date.year, time.clock.date.month, time.clock.date.day) *
            solar::SecondsPerDay +
        time.clock.second - time.utcOffsetSeconds;
    const PillarsAtBirth pillars = PillarsAt(SpanOfInstant(utc), used.date, options.calendarRule);
    Result<BirthReading> reading =
        ReadSound(solarBirth, period, options, pillars, withAlternatives);
    if (!reading) return reading;
    // The birth as entered; the period and reading date are the solar time's.
    const auto restore = [&](BirthReading& r) {
        r.birth.date = birth.date;
        r.birth.lunarInput = birth.lunarInput;
        r.birthTime = time;
    };
    restore(*reading);
    for (BirthReading& alternative : reading->alternatives) restore(alternative);
    return reading;
}

// Whether the time read by lies within 5 minutes of midnight while the day read changes there
// (a 晚子 read on its own day).
bool NearMidnight(const BirthTime& time, const Options& options) {
    return options.lateZi == LateZi::SameDay &&
           std::abs(FromMidnight(time.Used().second)) <= NearBoundarySeconds;
}

// The birth time with another time used: the same instant, read by another clock.
BirthTime UsingTime(BirthTime time, SolarTime used, const Options& options) {
    time.used = used;
    time.nearBoundary = std::abs(FromNearestBoundary(time.Used().second)) <= NearBoundarySeconds ||
                        NearMidnight(time, options);
    return time;
}

// A birth with a clock time and a place: the reading at the time chosen, with the readings at
// the other two times, on the other side of a near boundary and at the second of a repeated
// clock time as alternatives when their totals differ.
Result<BirthReading> ReadAtBirthplace(const Birth& birth, const Options& options,
                                      bool withAlternatives) {
    Options resolved = options;
    resolved.solarTime = options.solarTime.value_or(SolarTime::True);
    Result<BirthTime> time =
        ReadBirthTime(birth.date, *birth.clock, *birth.birthplace, *resolved.solarTime);
    if (!time) return time.error();
    time->nearBoundary = time->nearBoundary || NearMidnight(*time, resolved);
    Result<BirthReading> reading = ReadAtTime(birth, resolved, *time, withAlternatives);
    if (!reading || !withAlternatives) return reading;
    std::vector<BirthReading>& alternatives = reading->alternatives;
    const auto offer = [&](Result<BirthReading> alternative, auto mark) {
        if (!alternative || alternative->totalWeight == reading->totalWeight) return;
        mark(*alternative);
        alternatives.push_back(*std::move(alternative));
    };
    for (const SolarTime value : {SolarTime::True, SolarTime::Mean, SolarTime::Clock}) {
        if (value == *resolved.solarTime) continue;
        const BirthTime other = UsingTime(*time, value, resolved);
        // The same day and period weigh the same: nothing to read.
        if (other.Used().date == time->Used().date &&
            PeriodAt(other.Used().second) == PeriodAt(time->Used().second)) {
            continue;
        }
        Options otherOptions = resolved;
        otherOptions.solarTime = value;
        offer(ReadAtTime(birth, otherOptions, other, false),
              [](BirthReading& r) { r.switched = Convention::SolarTime; });
    }
    if (time->nearBoundary) {
        // Just across the nearest odd hour, or midnight when the day read changes there: the
        // second before it, or the boundary itself.
        const DateTime& used = time->Used();
        const std::int32_t fromMidnight = FromMidnight(used.second);
        const std::int32_t fromBoundary =
            NearMidnight(*time, resolved) ? fromMidnight : FromNearestBoundary(used.second);
        const solar::Seconds at =
            solar::DaysFromCivil(used.date.year, used.date.month, used.date.day) *
                solar::SecondsPerDay +
            used.second;
        const solar::Seconds across = fromBoundary >= 0 ? at - fromBoundary - 1 : at - fromBoundary;
        offer(
            ReadAtTime(birth, resolved, *time, false, solar::DateTimeAt(across)),
            [](BirthReading& r) { r.timeChange = BirthReading::TimeChange::OtherSideOfBoundary; });
    }
    if (time->happenedTwice) {
        const Result<BirthTime> second =
            ReadBirthTime(birth.date, *birth.clock, *birth.birthplace, *resolved.solarTime, true);
        if (second) {
            offer(ReadAtTime(birth, resolved, *second, false), [](BirthReading& r) {
                r.timeChange = BirthReading::TimeChange::SecondOccurrence;
            });
        }
    }
    return reading;
}

// A birth given by its lunar date is the day that date is under the rule read by.
Result<Birth> UnderRule(Birth birth, CalendarRule rule) {
    if (!birth.lunarInput) return birth;
    // A birth made from its lunar date holds its day under either rule; another day is not that
    // date, which the check of the birth refuses.
    const LunarDate& lunar = *birth.lunarInput;
    if (birth.date != CalendarDate::LunarToGregorian(lunar, CalendarRule::Printed) &&
        birth.date != CalendarDate::LunarToGregorian(lunar, CalendarRule::Computed)) {
        return birth;
    }
    const Result<GregorianDate> date = ToGregorian(*birth.lunarInput, rule);
    if (!date) return date.error();
    birth.date = *date;
    return birth;
}

Result<BirthReading> ReadUnder(const Birth& given, const Options& options, bool withAlternatives) {
    const Result<Birth> birth = UnderRule(given, options.calendarRule);
    if (!birth) return birth.error();
    if (const auto error = Unsound(*birth, options.calendarRule)) return *error;
    if (!birth->period) return refusal::NoPeriod();
    if (birth->birthplace) {
        if (!birth->clock) return refusal::BirthplaceWithoutClockTime();
        return ReadAtBirthplace(*birth, options, withAlternatives);
    }
    if (options.solarTime && *options.solarTime != SolarTime::Clock) {
        return refusal::SolarTimeWithoutBirthplace(ValueName(*options.solarTime));
    }
    // A clock time is Beijing time; a period, its hours on Beijing's clocks.
    const PillarsAtBirth pillars =
        birth->clock
            ? PillarsOfBeijingClock(birth->date, birth->clock->hour * 3600 + birth->clock->minute * 60,
                                    options.calendarRule)
            : PillarsOfPeriod(birth->date, *birth->period, options.calendarRule);
    return ReadSound(*birth, *birth->period, options, pillars, withAlternatives);
}

// Whether the two calendar rules can read a birth differently: they differ before 1929 only.
bool RulesMayDiffer(const Birth& birth) {
    return birth.date.year < 1930 || (birth.lunarInput && birth.lunarInput->year < 1930);
}

bool SameReading(const BirthReading& a, const BirthReading& b) {
    return a.readingDate == b.readingDate && a.lunarDate == b.lunarDate &&
           a.yearStemBranch == b.yearStemBranch && a.monthStemBranch == b.monthStemBranch &&
           a.dayStemBranch == b.dayStemBranch && a.totalWeight == b.totalWeight;
}

// The reading under the other calendar rule, as an alternative when the day, a pillar or the
// total differs: after the other conventions' alternatives, before those of another time.
void AddOtherCalendar(const Birth& birth, const Options& options, BirthReading& reading) {
    if (!RulesMayDiffer(birth)) return;
    Result<BirthReading> other =
        ReadUnder(birth, Switched(options, Convention::CalendarRule), false);
    if (!other || SameReading(*other, reading)) return;
    other->switched = Convention::CalendarRule;
    auto& alternatives = reading.alternatives;
    const auto firstTimeChange =
        std::find_if(alternatives.begin(), alternatives.end(), [](const BirthReading& r) {
            return r.timeChange != BirthReading::TimeChange::None;
        });
    alternatives.insert(firstTimeChange, *std::move(other));
}

}  // namespace

Result<BirthReading> Read(const Birth& birth, const Options& options) {
    Result<BirthReading> reading = ReadUnder(birth, options, true);
    if (reading) AddOtherCalendar(birth, options, *reading);
    return reading;
}

Result<std::array<BirthReading, 12>> ReadEveryPeriod(const Birth& birth, const Options& options) {
    Birth day = birth;
    day.period.reset();
    day.clock.reset();
    if (birth.birthplace) return refusal::BirthplaceWithoutClockTime();
    if (options.solarTime && *options.solarTime != SolarTime::Clock) {
        return refusal::SolarTimeWithoutBirthplace(ValueName(*options.solarTime));
    }
    const Result<Birth> resolved = UnderRule(day, options.calendarRule);
    if (!resolved) return resolved.error();
    if (const auto error = Unsound(*resolved, options.calendarRule)) return *error;
    std::array<BirthReading, 12> readings;
    for (int index = 0; index < 12; ++index) {
        // A plain period is read on its own day, so every one of them can be read.
        const Period period{index};
        BirthReading& reading = readings[static_cast<std::size_t>(index)];
        reading = *ReadSound(*resolved, period, options,
                             PillarsOfPeriod(resolved->date, period, options.calendarRule));
        Birth withPeriod = day;
        withPeriod.period = period;
        AddOtherCalendar(withPeriod, options, reading);
    }
    return readings;
}

CHENGGU_END_NAMESPACE
