// Readings under the conventions, as whole-range properties: the defaults are the window's
// reading, each switch changes exactly what it is about, and the alternatives are the single
// switches that change the total, each saying which it is.
#include "chenggu/birth_reading.h"

#include <gtest/gtest.h>

#include "calendar/calendar_date.h"
#include "reading/reading.h"
#include "reading/weight_tables.h"
#include "tests/whole_range.h"
#include "text/utf8.h"

namespace {

using namespace chenggu;
using CD = CalendarDate;

template <class Visit>
void ForEachDay(Visit visit) {
    for (std::int32_t offset = 0; offset <= LastDate.DayOffset(); offset += test::DayStride) {
        visit(GregorianDate::FromDayOffset(offset));
    }
}

BirthReading ReadOrFail(const GregorianDate& date, Period period, Options options = {}) {
    const Result<BirthReading> reading = Read({date, {}, period}, options);
    EXPECT_TRUE(reading.ok()) << IsoDate(date) << ": " << reading.error().reason;
    return reading.ok() ? *reading : BirthReading{};
}

// What a convention cannot change: the day read, its lunar date and day name, day and period.
auto Unswitchable(const BirthReading& r) {
    return std::tuple(r.readingDate, r.lunarDate, r.dayStemBranch, r.periodBranch, r.dayWeight,
                      r.periodWeight);
}
// Nor the birth's moment: the year and month pillars and the term.
auto Moment(const BirthReading& r) {
    return std::tuple(r.yearStemBranch, r.monthStemBranch, r.solarTerm);
}

bool BeforeTheTerm(const BirthReading& r) {
    return r.solarTerm && r.solarTerm->birthIs == TermMoment::Side::Before;
}

TEST(BirthReading, DefaultsAreTheWindowsReadingForEveryDateAndPeriod) {
    ForEachDay([](const GregorianDate& date) {
        const LunarDate lunar = CD::LunarDateAt(date.DayOffset());
        for (int period = 0; period < 12; ++period) {
            const Reading window = MakeReading(date.year, date.month, date.day, period);
            const BirthReading r = ReadOrFail(date, {period});
            ASSERT_EQ(r.readingDate, date);
            ASSERT_EQ(r.lunarDate, lunar);
            // The window's pillars change on a term's day; a reading's at its instant, so a
            // period wholly before it keeps the month (and before 立春 the year) before.
            const StemBranchIndex index = CD::StemBranchIndices(date.year, date.month, date.day);
            const bool before = BeforeTheTerm(r);
            ASSERT_EQ(Widen(StemBranchText(index.month)), window.monthStemBranch);
            ASSERT_EQ(r.monthStemBranch, StemBranchText(index.month - before));
            ASSERT_EQ(r.yearStemBranch, StemBranchText(index.year - (before && date.month == 2)));
            ASSERT_EQ(Widen(r.dayStemBranch), window.dayStemBranch);
            ASSERT_EQ(Widen(r.periodBranch), window.periodBranch);
            ASSERT_EQ(
                std::tuple(r.yearWeight, r.monthWeight, r.dayWeight, r.periodWeight, r.totalWeight),
                std::tuple(window.yearWeight, window.monthWeight, window.dayWeight,
                           window.periodWeight, window.totalWeight));
            ASSERT_EQ(Widen(r.verseLines[0]) + L"\r\n\r\n" + Widen(r.verseLines[1]), window.verse);
        }
        for (const ZiHalf half : {ZiHalf::Early, ZiHalf::Late}) {
            ASSERT_EQ(ReadOrFail(date, {0, half}).totalWeight,
                      MakeReading(date.year, date.month, date.day, 0).totalWeight);
        }
    });
}

TEST(BirthReading, EachSwitchChangesOnlyWhatItIsAbout) {
    const Options spring{.yearStart = YearStart::Spring};
    const Options split{.leapMonth = LeapMonthRule::Split};
    const Options nextDay{.lateZi = LateZi::NextDay};
    const Period late{0, ZiHalf::Late};
    int springChanges = 0, splitChanges = 0;
    ForEachDay([&](const GregorianDate& date) {
        const BirthReading base = ReadOrFail(date, late);
        SCOPED_TRACE(IsoDate(date));

        // Spring: the weighed year is the one yearStemBranch names.
        const BirthReading springReading = ReadOrFail(date, late, spring);
        ASSERT_EQ(Moment(springReading), Moment(base));
        const int named = StemBranchText(date.year - CycleStartYear) == base.yearStemBranch
                              ? date.year
                              : date.year - 1;
        ASSERT_EQ(StemBranchText(named - CycleStartYear), base.yearStemBranch);
        ASSERT_EQ(springReading.yearWeight, YearWeight(static_cast<std::uint16_t>(named)));
        ASSERT_EQ(Unswitchable(springReading), Unswitchable(base));
        ASSERT_EQ(springReading.monthWeight, base.monthWeight);
        springChanges += springReading.yearWeight != base.yearWeight;

        // Split: only days 16 and after of a leap month weigh as the next month.
        const BirthReading splitReading = ReadOrFail(date, late, split);
        const LunarDate& lunar = base.lunarDate;
        const bool laterHalf = lunar.leapMonth && lunar.day >= 16;
        ASSERT_EQ(splitReading.monthWeight, MonthWeight(static_cast<std::uint16_t>(
                                                laterHalf ? lunar.month % 12 + 1 : lunar.month)));
        ASSERT_EQ(Unswitchable(splitReading), Unswitchable(base));
        ASSERT_EQ(Moment(splitReading), Moment(base));
        ASSERT_EQ(splitReading.yearWeight, base.yearWeight);
        splitChanges += laterHalf;

        // Next day: a late 子 birth is read as the next day; early and plain 子 are not moved.
        const Result<BirthReading> lateNext = Read({date, {}, late}, nextDay);
        const GregorianDate next = GregorianDate::FromDayOffset(date.DayOffset() + 1);
        ASSERT_EQ(lateNext.ok(), next.ok());
        if (next.ok()) {
            ASSERT_EQ(lateNext->readingDate, next);
            ASSERT_EQ(Moment(*lateNext), Moment(base));  // the same moment, read on another day
            ASSERT_EQ(lateNext->totalWeight, ReadOrFail(next, {0}).totalWeight);
            ASSERT_EQ(lateNext->lunarDate, ReadOrFail(next, {0}).lunarDate);
        } else {
            ASSERT_EQ(lateNext.error().code, ErrorCode::ReadingDayOutsideRange);
        }
        ASSERT_EQ(Unswitchable(ReadOrFail(date, {0, ZiHalf::Early}, nextDay)), Unswitchable(base));
        ASSERT_EQ(Unswitchable(ReadOrFail(date, {0}, nextDay)), Unswitchable(base));
    });
    // Both switches matter somewhere: between Start of Spring and the new year, and in the
    // second halves of the 55 leap months.
    EXPECT_GT(springChanges, 1000 / test::DayStride);
    EXPECT_GT(splitChanges, 55 * 13 / test::DayStride);
}

TEST(BirthReading, AlternativesAreTheSingleSwitchesThatChangeTheTotalAndSayWhich) {
    const Options allSwitched{LateZi::NextDay, YearStart::Spring, LeapMonthRule::Split};
    ForEachDay([&](const GregorianDate& date) {
        for (const Options options : {Options{}, allSwitched}) {
            const BirthReading reading = ReadOrFail(date, {0}, options);
            std::size_t next = 0;
            for (const BirthReading& alternative : reading.alternatives) {
                // A plain 子 on a term's day may be either side of it: the other side is read
                // under the same conventions, with the other pillars.
                if (alternative.timeChange == BirthReading::TimeChange::OtherSideOfTerm) {
                    ASSERT_EQ(reading.solarTerm->birthIs, TermMoment::Side::Unknown);
                    ASSERT_EQ(alternative.solarTerm->birthIs, TermMoment::Side::Before);
                    ASSERT_EQ(alternative.options, options);
                    ASSERT_NE(alternative.monthStemBranch, reading.monthStemBranch);
                    ASSERT_EQ(&alternative, &reading.alternatives.back());
                    continue;
                }
                ASSERT_TRUE(alternative.switched.has_value());
                // The calendar rule's alternative is another day or other pillars, if not
                // another total.
                if (alternative.switched != Convention::CalendarRule) {
                    ASSERT_NE(alternative.totalWeight, reading.totalWeight);
                }
                ASSERT_EQ(Switched(options, *alternative.switched), alternative.options);
                ASSERT_TRUE(alternative.alternatives.empty());
                while (next < Conventions.size() && Conventions[next] != *alternative.switched) {
                    ++next;
                }
                ASSERT_LT(next++, Conventions.size()) << "out of order, or twice";
                // A plain 子 read on its day may have been late: the next day's reading.
                if (alternative.switched == Convention::LateZi) {
                    ASSERT_EQ(options.lateZi, LateZi::SameDay);
                    ASSERT_EQ(alternative.readingDate.DayOffset(), date.DayOffset() + 1);
                    ASSERT_EQ(alternative.period().ziHalf, ZiHalf::Late);
                }
            }
            // And every switch that changes the total is there.
            for (const Convention convention : {Convention::YearStart, Convention::LeapMonth}) {
                const BirthReading other = ReadOrFail(date, {0}, Switched(options, convention));
                const bool listed =
                    std::any_of(reading.alternatives.begin(), reading.alternatives.end(),
                                [&](const BirthReading& a) { return a.switched == convention; });
                ASSERT_EQ(listed, other.totalWeight != reading.totalWeight);
            }
        }
    });
}

// The hour pillar by the rhyme of the five rats (五鼠遁): the 子 hour of a 甲 or 己 day is 甲子,
// of 乙 or 庚 丙子, of 丙 or 辛 戊子, of 丁 or 壬 庚子, of 戊 or 癸 壬子, and the stems go on
// with the branches; a 晚子 is the next day's 子 hour. And the weighed year is named: the lunar
// year under NewYear, the 立春 year under Spring.
TEST(BirthReading, HourPillarsAndWeighedYearsOfEveryDay) {
    const std::string_view stems = "甲乙丙丁戊己庚辛壬癸";
    const std::string_view ratStems = "甲丙戊庚壬甲丙戊庚壬";  // the 子 hour's stem by day stem
    const auto stemAt = [](std::string_view text, std::size_t i) { return text.substr(3 * i, 3); };
    ForEachDay([&](const GregorianDate& date) {
        const GregorianDate next = GregorianDate::FromDayOffset(date.DayOffset() + 1);
        const BirthReading plain = ReadOrFail(date, {0});
        for (int index = 0; index < 12; ++index) {
            for (const ZiHalf half : {ZiHalf::Unsaid, ZiHalf::Early, ZiHalf::Late}) {
                if (index != 0 && half != ZiHalf::Unsaid) continue;
                if (half == ZiHalf::Late && !next.ok()) continue;
                const BirthReading r = ReadOrFail(date, {index, half});
                const std::string_view day = half == ZiHalf::Late
                                                 ? ReadOrFail(next, {0}).dayStemBranch
                                                 : plain.dayStemBranch;
                const std::size_t dayStem = stems.find(day.substr(0, 3)) / 3;
                const std::size_t stem =
                    (stems.find(stemAt(ratStems, dayStem)) / 3 + static_cast<std::size_t>(index)) %
                    10;
                ASSERT_EQ(r.periodStemBranch.substr(0, 3), stemAt(stems, stem)) << IsoDate(date);
                ASSERT_EQ(r.periodStemBranch.substr(3), r.periodBranch);
                // The same under the other day convention: the hour cycle turns at 23:00.
                const Options nextDay{.lateZi = LateZi::NextDay};
                if (const auto other = Read({date, {}, Period{index, half}}, nextDay)) {
                    ASSERT_EQ(other->periodStemBranch, r.periodStemBranch);
                }
            }
        }
        const LunarDate lunar = plain.lunarDate;
        ASSERT_EQ(plain.weighedYearStemBranch, StemBranchText(lunar.year - CycleStartYear));
        ASSERT_EQ(ReadOrFail(date, {0}, {.yearStart = YearStart::Spring}).weighedYearStemBranch,
                  plain.yearStemBranch);
    });
    // The example readers check first: 1990-01-30 weighs 庚午, though its 干支 year is 己巳.
    EXPECT_EQ(ReadOrFail({1990, 1, 30}, {0}).weighedYearStemBranch, "庚午");
    EXPECT_EQ(ReadOrFail({1990, 1, 30}, {0}).yearStemBranch, "己巳");
}

TEST(BirthReading, RefusesWhatCannotBeReadWithTheReason) {
    const struct {
        const char* what;
        Birth birth;
        Options options;
        ErrorCode code;
    } cases[] = {
        {"late 子 on the last day, read on the next",
         {LastDate, {}, Period{0, ZiHalf::Late}},
         {.lateZi = LateZi::NextDay},
         ErrorCode::ReadingDayOutsideRange},
        {"a date that does not exist", {{2001, 2, 29}, {}, Period{3}}, {}, ErrorCode::NoSuchDate},
        {"a date outside the range", {{1645, 1, 27}, {}, Period{3}}, {}, ErrorCode::OutsideRange},
        {"period 12", {{2000, 1, 1}, {}, Period{12}}, {}, ErrorCode::NotAPeriod},
        {"period -1", {{2000, 1, 1}, {}, Period{-1}}, {}, ErrorCode::NotAPeriod},
        {"a half of 子 given to 丑",
         {{2000, 1, 1}, {}, Period{1, ZiHalf::Late}},
         {},
         ErrorCode::NotAPeriod},
        {"no period", {{2000, 1, 1}, {}, {}}, {}, ErrorCode::NotAPeriod},
        {"a lunar date of another day",
         {{2020, 5, 23}, LunarDate{2020, 4, 1, false}, Period{0}},
         {},
         ErrorCode::BadRequest},
    };
    for (const auto& c : cases) {
        const Result<BirthReading> reading = Read(c.birth, c.options);
        ASSERT_FALSE(reading.ok()) << c.what;
        EXPECT_EQ(reading.error().code, c.code) << c.what;
        EXPECT_FALSE(reading.error().reason.empty()) << c.what;
        EXPECT_FALSE(reading.error().chineseReason.empty()) << c.what;
    }
    // The last day itself reads on every convention, without a next-day alternative.
    const Result<BirthReading> last = Read({LastDate, {}, Period{0, ZiHalf::Late}});
    ASSERT_TRUE(last.ok());
    for (const BirthReading& alternative : last->alternatives) {
        EXPECT_NE(alternative.switched, Convention::LateZi);
    }
}

// The two calendar rules on the days they differ: each reading names the other when it
// changes the lunar date, a pillar or the total, and a lunar birth is the day its date is
// under the rule read by.
TEST(CalendarRule, TheOtherCalendarIsAnAlternativeWhereItDiffers) {
    const Options computed{.calendarRule = CalendarRule::Computed};
    const auto otherOf = [](const BirthReading& r) -> const BirthReading* {
        for (const BirthReading& a : r.alternatives) {
            if (a.switched == Convention::CalendarRule) return &a;
        }
        return nullptr;
    };
    // The month of 1914 that began a day earlier in the calendar of Beijing mean time.
    const BirthReading november = ReadOrFail({1914, 11, 17}, {6});
    EXPECT_EQ(november.lunarDate, (LunarDate{1914, 10, 1, false}));
    ASSERT_NE(otherOf(november), nullptr);
    EXPECT_EQ(otherOf(november)->lunarDate, (LunarDate{1914, 9, 30, false}));
    EXPECT_EQ(ReadOrFail({1914, 11, 17}, {6}, computed).lunarDate, (LunarDate{1914, 9, 30, false}));

    // 大雪 printed on 1917-12-07, computed 00:00:56 the next day: the month pillar alone differs.
    const BirthReading snow = ReadOrFail({1917, 12, 7}, {6});
    EXPECT_EQ(snow.monthStemBranch, "壬子");
    ASSERT_TRUE(snow.solarTerm && snow.solarTerm->printedDay);
    EXPECT_EQ(*snow.solarTerm->printedDay, (GregorianDate{1917, 12, 7}));
    EXPECT_EQ(snow.solarTerm->birthIs, TermMoment::Side::After);
    ASSERT_NE(otherOf(snow), nullptr);
    EXPECT_EQ(otherOf(snow)->monthStemBranch, "辛亥");
    EXPECT_EQ(otherOf(snow)->totalWeight, snow.totalWeight);

    // A lunar birth: the day of its date under each rule.
    const Result<Birth> lunar = LunarBirth({1914, 10, 1, false}, Period{6});
    ASSERT_TRUE(lunar);
    EXPECT_EQ(Read(*lunar)->readingDate, (GregorianDate{1914, 11, 17}));
    EXPECT_EQ(Read(*lunar, computed)->readingDate, (GregorianDate{1914, 11, 18}));
    // 1645's leap month is the sixth as printed, the fifth as computed.
    EXPECT_EQ(Read(*ParseBirth("1645-闰6-1", "午", true))->readingDate, (GregorianDate{1645, 7, 23}));
    EXPECT_EQ(Read(*ParseBirth("1645-闰6-1", "午", true), computed).error().code,
              ErrorCode::NoSuchLeapMonth);
    EXPECT_EQ(Read(*ParseBirth("1645-闰5-1", "午", true), computed)->readingDate,
              (GregorianDate{1645, 6, 24}));

    // From 1929 on the two rules are one calendar: no alternative.
    EXPECT_EQ(otherOf(ReadOrFail({1990, 1, 30}, {0})), nullptr);
}

}  // namespace
