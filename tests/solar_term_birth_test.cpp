// Births on either side of the sectional terms (节): the year and month pillars, and the year
// weighed under Spring, are those of the birth's moment, on Beijing's clocks and abroad.
#include <gtest/gtest.h>

#include <string>

#include "calendar/calendar_date.h"
#include "chenggu/birth_reading.h"
#include "chenggu/solar_terms.h"
#include "tests/whole_range.h"
#include "time/civil_time.h"
#include "time/time_zone.h"

namespace {

using namespace chenggu;
using CD = CalendarDate;

solar::Seconds SecondsOf(const DateTime& time) {
    return solar::DaysFromCivil(time.date.year, time.date.month, time.date.day) *
               solar::SecondsPerDay +
           time.second;
}

// A birth at a UTC instant, its clock time read in a zone (to the minute, rounded down).
Birth BirthAt(solar::Seconds utc, std::string_view zoneName, double longitude, bool withPlace) {
    const solar::TimeZone zone = *solar::TimeZone::Named(zoneName);
    const DateTime clock = solar::DateTimeAt(utc + zone.OffsetAt(utc).seconds);
    const ClockTime time{clock.second / 3600, clock.second / 60 % 60};
    Birth birth = *ParseBirth(IsoDate(clock.date),
                              std::to_string(time.hour) + ":" + (time.minute < 10 ? "0" : "") +
                                  std::to_string(time.minute),
                              false);
    if (withPlace) birth.birthplace = Birthplace{longitude, std::string(zoneName), ""};
    return birth;
}

// Two minutes either side of every 节 of 1901-2100 on Beijing's clocks (summer time
// included), and in New York for every fifth year, by the computed calendar: the pillars are
// those the day rule gives the term's day, and the ones before it before the instant; under
// Spring the weighed year follows 立春's instant; the other side is an alternative.
TEST(SolarTermBirths, PillarsTurnAtTheInstantOfEveryTerm) {
    constexpr CalendarRule computed = CalendarRule::Computed;
    const Options spring{.yearStart = YearStart::Spring, .calendarRule = computed};
    int checked = 0;
    for (int year = 1901; year <= 2100; ++year) {
        const std::array<SolarTerm, 24> terms = SolarTermsOf(year).value();
        for (int k = 0; k < 24; k += 2 * test::DayStride) {
            const SolarTerm& term = terms[static_cast<std::size_t>(k)];
            // The instant's day in Beijing time is the day the tables give the term.
            const int month = k / 2 + 1;
            ASSERT_EQ(term.beijing.date.day,
                      CD::SectionalTermDay(static_cast<std::uint16_t>(year),
                                           static_cast<std::uint16_t>(month), computed))
                << term.name << " " << year;
            const GregorianDate& day = term.beijing.date;
            const StemBranchIndex from =
                CD::StemBranchIndices(day.year, day.month, day.day, computed);
            for (const int side : {-1, 1}) {
                for (const bool abroad : {false, true}) {
                    if (abroad && year % 5 != 0) continue;
                    const Birth birth = abroad ? BirthAt(SecondsOf(term.utc) + side * 120,
                                                         "America/New_York", -74.006, true)
                                               : BirthAt(SecondsOf(term.utc) + side * 120,
                                                         "Asia/Shanghai", 0, false);
                    if (!birth.date.ok()) continue;
                    const Result<BirthReading> reading = Read(birth, spring);
                    ASSERT_TRUE(reading) << term.name << " " << year;
                    SCOPED_TRACE(std::string(term.name) + " " + std::to_string(year) +
                                 (abroad ? " in New York" : "") +
                                 (side < 0 ? " before" : " after"));
                    const bool before = side < 0;
                    const bool startOfSpring = k == 2;
                    ASSERT_TRUE(reading->solarTerm);
                    EXPECT_EQ(reading->solarTerm->term, term);
                    EXPECT_EQ(reading->solarTerm->birthIs,
                              before ? TermMoment::Side::Before : TermMoment::Side::After);
                    EXPECT_TRUE(reading->solarTerm->nearBirth);
                    EXPECT_EQ(reading->monthStemBranch, StemBranchText(from.month - before));
                    const std::int32_t yearIndex = from.year - (before && startOfSpring);
                    EXPECT_EQ(reading->yearStemBranch, StemBranchText(yearIndex));
                    EXPECT_EQ(reading->weighedYearStemBranch, StemBranchText(yearIndex));
                    const auto other = std::find_if(
                        reading->alternatives.begin(), reading->alternatives.end(),
                        [](const BirthReading& a) {
                            return a.timeChange == BirthReading::TimeChange::OtherSideOfTerm;
                        });
                    ASSERT_NE(other, reading->alternatives.end());
                    EXPECT_EQ(other->monthStemBranch, StemBranchText(from.month - !before));
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 4800 / test::DayStride);
}

// The example of a birth before 立春 on its day: the year is still 癸卯 and weighs 12 钱.
TEST(SolarTermBirths, BeforeStartOfSpring2024) {
    const Birth birth = *ParseBirth("2024-02-04", "10:00", false);
    const BirthReading reading = *Read(birth, {.yearStart = YearStart::Spring});
    EXPECT_EQ(reading.yearStemBranch, "癸卯");
    EXPECT_EQ(reading.monthStemBranch, "乙丑");
    EXPECT_EQ(reading.yearWeight, 12);
    EXPECT_EQ(reading.totalWeight, 48);
    EXPECT_EQ(reading.solarTerm->birthIs, TermMoment::Side::Before);
    EXPECT_FALSE(reading.solarTerm->nearBirth);
}

}  // namespace
