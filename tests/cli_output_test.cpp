// The date, lunar date and period forms chenggu accepts.
#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseDate, AcceptsOneOrTwoDigitMonthsAndDays) {
    const struct {
        const char* text;
        GregorianDate date;
    } cases[] = {{"1990-01-30", {1990, 1, 30}},
                 {"1990-1-5", {1990, 1, 5}},
                 {"1901-01-01", {1901, 1, 1}},
                 {"2050-12-31", {2050, 12, 31}},
                 {"2000-02-29", {2000, 2, 29}}};
    for (const auto& c : cases) EXPECT_EQ(ParseDate(c.text), c.date) << c.text;
}

TEST(ParsePeriod, BranchesHalvesOfZiAndClockTimes) {
    constexpr ZiHalf Unsaid = ZiHalf::Unsaid, Early = ZiHalf::Early, Late = ZiHalf::Late;
    const struct {
        const char* text;
        PeriodInput period;
    } cases[] = {{"子", {0, Unsaid}},    {"子时", {0, Unsaid}},  {"早子", {0, Early}},
                 {"早子时", {0, Early}}, {"晚子", {0, Late}},    {"晚子时", {0, Late}},
                 {"丑", {1, Unsaid}},    {"亥时", {11, Unsaid}}, {"23:30", {0, Late}},
                 {"23:00", {0, Late}},   {"0:30", {0, Early}},   {"00:59", {0, Early}},
                 {"1:00", {1, Unsaid}},  {"2:59", {1, Unsaid}},  {"12:00", {6, Unsaid}},
                 {"22:59", {11, Unsaid}}};
    for (const auto& c : cases) EXPECT_EQ(ParsePeriod(c.text), c.period) << c.text;
}

TEST(ParseLunarDate, LeapMonthsByPrefix) {
    const struct {
        const char* text;
        LunarDate date;
    } cases[] = {{"2020-闰4-1", {2020, 4, 1, true}},    {"2020-L04-01", {2020, 4, 1, true}},
                 {"2020-4-1", {2020, 4, 1, false}},     {"2020-04-30", {2020, 4, 30, false}},
                 {"1900-11-11", {1900, 11, 11, false}}, {"2050-11-18", {2050, 11, 18, false}}};
    for (const auto& c : cases) EXPECT_EQ(ParseLunarDate(c.text), c.date) << c.text;
}


}  // namespace
