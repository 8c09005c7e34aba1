// Readings under the conventions, as whole-range properties: the defaults are the window's
// reading, and each switch changes exactly what it is about.
#include "reading/birth_reading.h"

#include <gtest/gtest.h>

#include "reading/weight_tables.h"

namespace {

using CD = CalendarDate;
constexpr std::int32_t LastOffset = 54786;  // 2050-12-31

template <class Visit>
void ForEachDay(Visit visit) {
    for (std::int32_t offset = 0; offset <= LastOffset; ++offset) {
        visit(GregorianDate::FromDayOffset(offset));
    }
}

// The reading without what a convention may change.
Reading WithoutWeights(Reading r) {
    r.yearWeight = r.monthWeight = r.totalWeight = 0;
    r.verse.clear();
    return r;
}

TEST(BirthReading, DefaultsAreTheWindowsReadingForEveryDateAndPeriod) {
    ForEachDay([](const GregorianDate& date) {
        const LunarDate lunar = CD::LunarDateAt(date.DayOffset());
        for (int period = 0; period < 12; ++period) {
            const Reading expected = MakeReading(date.year, date.month, date.day, period);
            const BirthReading plain = ReadBirth({date, period});
            ASSERT_EQ(plain.reading, expected) << date.DayOffset() << " " << period;
            ASSERT_EQ(plain.readingDate, date);
            ASSERT_EQ(plain.lunarDate, lunar);
        }
        for (const ZiHalf half : {ZiHalf::Early, ZiHalf::Late}) {
            ASSERT_EQ(ReadBirth({date, 0, half}).reading,
                      MakeReading(date.year, date.month, date.day, 0));
        }
    });
}

TEST(BirthReading, EachSwitchChangesOnlyWhatItIsAbout) {
    const ReadingOptions spring{.yearStart = YearStart::Spring};
    const ReadingOptions split{.leapMonth = LeapMonthRule::Split};
    const ReadingOptions nextDay{.lateZi = LateZi::NextDay};
    int springChanges = 0, splitChanges = 0;
    ForEachDay([&](const GregorianDate& date) {
        const BirthReading base = ReadBirth({date, 0, ZiHalf::Late});
        SCOPED_TRACE(testing::Message() << date.year << "-" << date.month << "-" << date.day);

        // Spring: the weighed year is the one whose name yearStemBranch shows.
        const BirthReading springReading = ReadBirth({date, 0, ZiHalf::Late}, spring);
        const int named =
            CD::StemBranchName(date.year - CycleStartYear) == base.reading.yearStemBranch
                ? date.year
                : date.year - 1;
        ASSERT_EQ(CD::StemBranchName(named - CycleStartYear), base.reading.yearStemBranch);
        ASSERT_EQ(springReading.reading.yearWeight, YearWeight(static_cast<std::uint16_t>(named)));
        ASSERT_EQ(WithoutWeights(springReading.reading), WithoutWeights(base.reading));
        ASSERT_EQ(springReading.reading.monthWeight, base.reading.monthWeight);
        springChanges += springReading.reading.yearWeight != base.reading.yearWeight;

        // Split: only days 16 and after of a leap month weigh as the next month.
        const BirthReading splitReading = ReadBirth({date, 0, ZiHalf::Late}, split);
        const LunarDate& lunar = base.lunarDate;
        const bool laterHalf = lunar.leapMonth && lunar.day >= 16;
        ASSERT_EQ(splitReading.reading.monthWeight,
                  MonthWeight(
                      static_cast<std::uint16_t>(laterHalf ? lunar.month % 12 + 1 : lunar.month)));
        ASSERT_EQ(WithoutWeights(splitReading.reading), WithoutWeights(base.reading));
        ASSERT_EQ(splitReading.reading.yearWeight, base.reading.yearWeight);
        splitChanges += laterHalf;

        // Next day: a late 子 birth is read as the next day; early and plain 子 are not moved.
        const BirthReading late = ReadBirth({date, 0, ZiHalf::Late}, nextDay);
        const GregorianDate next = GregorianDate::FromDayOffset(date.DayOffset() + 1);
        ASSERT_EQ(late.ok(), next.ok());
        if (next.ok()) {
            ASSERT_EQ(late.readingDate, next);
            ASSERT_EQ(late.reading, ReadBirth({next, 0}).reading);
        }
        ASSERT_EQ(ReadBirth({date, 0, ZiHalf::Early}, nextDay).reading, base.reading);
        ASSERT_EQ(ReadBirth({date, 0}, nextDay).reading, base.reading);
    });
    // Both switches matter somewhere: between Start of Spring and the new year, and in the
    // second halves of the 55 leap months.
    EXPECT_GT(springChanges, 1000);
    EXPECT_GT(splitChanges, 55 * 13);
}

TEST(BirthReading, AlternativesAreTheSingleSwitchesThatChangeTheTotal) {
    const ReadingOptions allSwitched{LateZi::NextDay, YearStart::Spring, LeapMonthRule::Split};
    ForEachDay([&](const GregorianDate& date) {
        for (const ReadingOptions options : {ReadingOptions{}, allSwitched}) {
            const BirthReading reading = ReadBirth({date, 0}, options);
            std::size_t next = 0;
            for (const BirthReading& alternative : reading.Alternatives()) {
                ASSERT_NE(alternative.reading.totalWeight, reading.reading.totalWeight);
                while (next < Conventions.size() &&
                       Switched(options, Conventions[next]) != alternative.options) {
                    ++next;
                }
                ASSERT_LT(next++, Conventions.size()) << "not a single switch, or out of order";
                // A plain 子 read on its day may have been late: the next day's reading.
                if (alternative.options.lateZi != options.lateZi) {
                    ASSERT_EQ(options.lateZi, LateZi::SameDay);
                    ASSERT_EQ(alternative.readingDate.DayOffset(), date.DayOffset() + 1);
                }
            }
        }
    });
}

TEST(BirthReading, RefusesWhatCannotBeRead) {
    const struct {
        const char* what;
        Birth birth;
        ReadingOptions options;
    } cases[] = {
        {"late 子 on the last day, read on the next",
         {{2050, 12, 31}, 0, ZiHalf::Late},
         {.lateZi = LateZi::NextDay}},
        {"a date that does not exist", {{2001, 2, 29}, 3}, {}},
        {"a date outside the range", {{1900, 12, 31}, 3}, {}},
        {"period 12", {{2000, 1, 1}, 12}, {}},
        {"period -1", {{2000, 1, 1}, -1}, {}},
        {"a half of 子 given to 丑", {{2000, 1, 1}, 1, ZiHalf::Late}, {}},
    };
    for (const auto& c : cases) {
        const BirthReading reading = ReadBirth(c.birth, c.options);
        EXPECT_FALSE(reading.ok()) << c.what;
        EXPECT_EQ(reading.reading, Reading{}) << c.what;
        EXPECT_TRUE(reading.Alternatives().empty()) << c.what;
    }
    // The last day itself reads on every convention, without a next-day alternative.
    EXPECT_TRUE(ReadBirth({{2050, 12, 31}, 0, ZiHalf::Late}).ok());
}

}  // namespace
