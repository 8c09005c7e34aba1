// Births with a clock time and a place: the day and period the sun gives over the whole range,
// Beijing summer time, the alternatives a reading offers, and places by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "chenggu/birth_reading.h"
#include "chenggu/birth_time.h"
#include "chenggu/chinese_text.h"
#include "chenggu/json.h"
#include "chenggu/places.h"
#include "tests/whole_range.h"

namespace chenggu {
namespace {

Birth At(const GregorianDate& date, ClockTime clock, double longitude,
         std::string zone = "Asia/Shanghai") {
    Birth birth = *GregorianBirth(date, Period{clock.hour == 23 ? 0 : (clock.hour + 1) / 2 % 12,
                                               clock.hour == 23  ? ZiHalf::Late
                                               : clock.hour == 0 ? ZiHalf::Early
                                                                 : ZiHalf::Unsaid});
    birth.clock = clock;
    birth.birthplace = Birthplace{longitude, std::move(zone), ""};
    return birth;
}

// Urumqi's sun runs over two hours behind Beijing time and Harbin's almost half an hour ahead:
// on every day of the range, 00:30 in Urumqi is the evening before and 23:50 in Harbin the
// first hour of the next day (but in summer time, an hour earlier by the sun: the same day).
TEST(BirthTime, TheSunsDayAcrossMidnightOnEveryDay) {
    for (std::int32_t offset = 1; offset < LastDate.DayOffset(); offset += test::DayStride) {
        const GregorianDate date = GregorianDate::FromDayOffset(offset);
        const GregorianDate before = GregorianDate::FromDayOffset(offset - 1);
        const GregorianDate after = GregorianDate::FromDayOffset(offset + 1);

        const Result<BirthReading> urumqi = Read(At(date, {0, 30}, 87.6005));
        // Summer time of the 1940s began at midnight: 00:30 never happened on those days.
        if (!urumqi && urumqi.error().code == ErrorCode::ClockTimeSkipped) continue;
        ASSERT_TRUE(urumqi) << IsoDate(date) << ": " << urumqi.error().reason;
        EXPECT_EQ(urumqi->readingDate, before) << IsoDate(date);
        EXPECT_EQ(urumqi->period().index, 11) << IsoDate(date);  // 亥, in summer time too
        EXPECT_EQ(urumqi->birthTime->trueSolar.date, before);

        for (const LateZi lateZi : {LateZi::SameDay, LateZi::NextDay}) {
            const Result<BirthReading> harbin = Read(At(date, {23, 50}, 126.65), {lateZi});
            ASSERT_TRUE(harbin) << IsoDate(date) << ": " << harbin.error().reason;
            if (harbin->birthTime->summerTime) {
                EXPECT_EQ(harbin->period(), (Period{0, ZiHalf::Late})) << IsoDate(date);
                EXPECT_EQ(harbin->readingDate, lateZi == LateZi::NextDay ? after : date);
            } else {
                EXPECT_EQ(harbin->period(), (Period{0, ZiHalf::Early})) << IsoDate(date);
                EXPECT_EQ(harbin->readingDate, after) << IsoDate(date);
            }
            // The hour pillar of a 子 hour is the next day's under either convention.
            const Result<BirthReading> nextDay =
                Read(*GregorianBirth(after, Period{0, ZiHalf::Early}));
            EXPECT_EQ(harbin->periodStemBranch, nextDay->periodStemBranch) << IsoDate(date);
        }
    }
    // The sun's day of the first morning lies before the range.
    const Result<BirthReading> first = Read(At(FirstDate, {0, 30}, 87.6005));
    ASSERT_FALSE(first);
    EXPECT_EQ(first.error().code, ErrorCode::SolarDateOutsideRange);
}

// Beijing time kept summer time from 1986 to 1991, changing at 02:00: in spring 02:00-02:59
// never happened, in autumn 01:00-01:59 happened twice.
TEST(BirthTime, BeijingSummerTime) {
    const Result<BirthReading> skipped = Read(At({1988, 4, 17}, {2, 30}, 116.4));
    ASSERT_FALSE(skipped);
    EXPECT_EQ(skipped.error().code, ErrorCode::ClockTimeSkipped);
    EXPECT_NE(skipped.error().reason.find("from 02:00 to 03:00"), std::string::npos);

    const Birthplace beijing{116.4, "Asia/Shanghai", ""};
    const Result<BirthTime> first = ReadBirthTime({1988, 9, 11}, {1, 30}, beijing, SolarTime::True);
    const Result<BirthTime> second =
        ReadBirthTime({1988, 9, 11}, {1, 30}, beijing, SolarTime::True, true);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->happenedTwice && first->summerTime && !first->secondOccurrence);
    EXPECT_EQ(first->utcOffsetSeconds, 9 * 3600);
    EXPECT_TRUE(second->secondOccurrence && !second->summerTime);
    EXPECT_EQ(second->utcOffsetSeconds, 8 * 3600);
    // The second occurrence is an hour later by the sun.
    EXPECT_NEAR(second->trueSolar.second - first->trueSolar.second, 3600, 1);

    const Result<BirthTime> summer =
        ReadBirthTime({1990, 7, 15}, {14, 30}, beijing, SolarTime::True);
    const Result<BirthTime> winter =
        ReadBirthTime({1992, 7, 15}, {14, 30}, beijing, SolarTime::True);
    EXPECT_TRUE(summer->summerTime && !winter->summerTime);
    EXPECT_EQ(summer->utcOffsetSeconds, 9 * 3600);
}

// Summer time is the clocks set ahead: Ireland's rules mark its winter as a negative summer
// time, and its summer as standard, which a reader would read the other way round.
TEST(BirthTime, SummerTimeIsTheClocksSetAhead) {
    const Birthplace dublin{-6.26, "Europe/Dublin", ""};
    EXPECT_FALSE(ReadBirthTime({1990, 1, 15}, {12, 0}, dublin, SolarTime::True)->summerTime);
    EXPECT_TRUE(ReadBirthTime({1990, 7, 15}, {12, 0}, dublin, SolarTime::True)->summerTime);
    const BirthReading autumn = *Read(At({1990, 10, 28}, {1, 30}, -6.26, "Europe/Dublin"));
    EXPECT_TRUE(autumn.birthTime->summerTime && autumn.birthTime->happenedTwice);
    EXPECT_NE(BirthTimeSteps(autumn)[1].find("按第一次（仍是夏令时）"), std::string::npos);
    const BirthTime second = *ReadBirthTime({1990, 10, 28}, {1, 30}, dublin, SolarTime::True, true);
    EXPECT_FALSE(second.summerTime);
    EXPECT_EQ(second.utcOffsetSeconds, 0);
}

// The steps shown add up to the second: mean solar time plus the equation of time, each in
// whole seconds, is the true solar time, and the mean solar time is the clock's instant plus
// the longitude's four minutes a degree.
TEST(BirthTime, StepsAddUpToTheSecond) {
    std::uint64_t state = 2;
    const auto next = [&](std::uint64_t below) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return (state >> 33) % below;
    };
    for (int i = 0; i < 5000; ++i) {
        const GregorianDate date = GregorianDate::FromDayOffset(static_cast<std::int32_t>(
            1 + next(static_cast<std::uint64_t>(LastDate.DayOffset() - 1))));
        const ClockTime clock{static_cast<int>(next(24)), static_cast<int>(next(60))};
        const double longitude = static_cast<double>(next(3600001)) / 10000 - 180;
        const Result<BirthTime> time =
            ReadBirthTime(date, clock, {longitude, "Etc/UTC", ""}, SolarTime::True);
        ASSERT_TRUE(time) << IsoDate(date);
        const auto seconds = [](const DateTime& at) {
            return static_cast<std::int64_t>(at.date.DayOffset()) * 86400 + at.second;
        };
        const std::int64_t utc = seconds(time->clock);
        ASSERT_EQ(time->equationOfTimeSeconds, std::round(time->equationOfTimeSeconds));
        ASSERT_EQ(seconds(time->trueSolar) - seconds(time->meanSolar),
                  static_cast<std::int64_t>(time->equationOfTimeSeconds));
        ASSERT_LE(std::abs(static_cast<double>(seconds(time->meanSolar) - utc) - longitude * 240),
                  0.5);
    }
}

// Midnight is a boundary where the day read changes (a 晚子 read on its own day): 00:00 at
// 122.75°E is 23:57:49 of the day before by the sun, at 123.9°E 00:02:25 of the day; each is
// near it and offers the other side, which reads another day and another total.
TEST(BirthTime, MidnightIsABoundaryOfTheDay) {
    for (const double longitude : {122.75, 123.9}) {
        const BirthReading r = *Read(At({1990, 1, 30}, {0, 0}, longitude));
        EXPECT_TRUE(r.birthTime->nearBoundary) << longitude;
        const auto across =
            std::find_if(r.alternatives.begin(), r.alternatives.end(), [](const auto& a) {
                return a.timeChange == BirthReading::TimeChange::OtherSideOfBoundary;
            });
        ASSERT_NE(across, r.alternatives.end()) << longitude;
        EXPECT_NE(across->readingDate, r.readingDate);
        EXPECT_NE(across->totalWeight, r.totalWeight);
        EXPECT_EQ(AlternativeCondition(r, *across),
                  longitude < 123 ? "若真太阳时在 00:00 之后" : "若真太阳时在 00:00 之前");
    }
    // When a 晚子 is read on the next day, midnight changes nothing.
    const BirthReading nextDay =
        *Read(At({1990, 1, 30}, {0, 0}, 123.9), {.lateZi = LateZi::NextDay});
    EXPECT_FALSE(nextDay.birthTime->nearBoundary);
}

// JSON says a clock time happened twice, whichever total the second occurrence gives; a day
// that does not exist, or one outside the range (and the zone tables'), is refused.
TEST(BirthTime, RepeatedAndImpossibleClockTimes) {
    const std::string repeated = ReadJson(
        R"({"date": "1988-09-11", "period": "01:30", "place": "北京", "solarTime": "clock"})");
    EXPECT_NE(repeated.find(R"("repeated":true)"), std::string::npos) << repeated;
    EXPECT_NE(ReadJson(R"({"date": "1988-09-12", "period": "01:30", "place": "北京"})")
                  .find(R"("repeated":false)"),
              std::string::npos);
    const Birthplace beijing{116.4, "Asia/Shanghai", ""};
    for (const GregorianDate date : {GregorianDate{2001, 13, 1}, GregorianDate{2001, 2, 29},
                                     GregorianDate{1645, 1, 27}, GregorianDate{2101, 1, 1}}) {
        const Result<BirthTime> time = ReadBirthTime(date, {12, 0}, beijing, SolarTime::True);
        ASSERT_FALSE(time) << IsoDate(date);
        EXPECT_TRUE(time.error().code == ErrorCode::NoSuchDate ||
                    time.error().code == ErrorCode::OutsideRange);
    }
}

// A reading at a place offers the readings at the other two times, across a near boundary and
// at the second occurrence of a repeated hour, each only with another total.
TEST(BirthTime, AlternativesStateWhatChanged) {
    for (std::int32_t offset = 30000; offset < 30400; ++offset) {
        const GregorianDate date = GregorianDate::FromDayOffset(offset);
        for (int hour = 0; hour < 24; ++hour) {
            const Result<BirthReading> r = Read(At(date, {hour, 58}, 104.0667));
            ASSERT_TRUE(r);
            EXPECT_EQ(r->options.solarTime, SolarTime::True);
            for (const BirthReading& alternative : r->alternatives) {
                EXPECT_NE(alternative.totalWeight, r->totalWeight);
                if (alternative.timeChange == BirthReading::TimeChange::OtherSideOfBoundary) {
                    EXPECT_TRUE(r->birthTime->nearBoundary);
                    EXPECT_TRUE(alternative.period() != r->period() ||
                                alternative.readingDate != r->readingDate);
                } else if (alternative.switched == Convention::SolarTime) {
                    EXPECT_NE(alternative.options.solarTime, SolarTime::True);
                    EXPECT_EQ(alternative.birthTime->used, *alternative.options.solarTime);
                }
            }
            // Near an odd hour, or near midnight, where the day read changes.
            const std::int32_t second = r->birthTime->trueSolar.second;
            EXPECT_EQ(r->birthTime->nearBoundary,
                      std::abs(FromNearestBoundary(second)) <= NearBoundarySeconds ||
                          std::abs(FromMidnight(second)) <= NearBoundarySeconds);
        }
    }
    // Without a place, the clock: asking for the sun is refused.
    Birth plain = At({1990, 7, 15}, {14, 30}, 0);
    plain.birthplace.reset();
    EXPECT_FALSE(
        Read(plain, {LateZi::SameDay, YearStart::NewYear, LeapMonthRule::Whole, SolarTime::True}));
    EXPECT_TRUE(
        Read(plain, {LateZi::SameDay, YearStart::NewYear, LeapMonthRule::Whole, SolarTime::Clock}));
}

TEST(BirthTime, LongitudesAsPeopleWriteThem) {
    const struct {
        const char* text;
        double degrees;
    } accepted[] = {{"104.07", 104.07},
                    {"-74", -74},
                    {"74W", -74},
                    {"104.07E", 104.07},
                    {"104°04′E", 104 + 4 / 60.0},
                    {"104°4'30\"E", 104 + 4 / 60.0 + 30 / 3600.0},
                    {"东经104.07", 104.07},
                    {"西经 74", -74},
                    {"東經104.07", 104.07},
                    {"西經74", -74},
                    {"104.5°", 104.5},
                    {"104°30.5′", 104 + 30.5 / 60},
                    {"１０４．０７", 104.07}};
    for (const auto& a : accepted) {
        const Result<double> parsed = ParseLongitude(a.text);
        ASSERT_TRUE(parsed) << a.text;
        EXPECT_NEAR(*parsed, a.degrees, 1e-9) << a.text;
    }
    // Only the last of degrees, minutes and seconds may have a fraction.
    for (const char* refused : {"", "181", "104.", "E", "104°60′E", "-74W", "1e2", "104 07",
                                "104.5°30′", "104°30.5′20″", "104.5度30分"}) {
        EXPECT_FALSE(ParseLongitude(refused)) << refused;
    }
    // A longitude out of range is shown as it was given, never as a wrapped number.
    for (const double degrees : {1e300, -1e19, std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN(), 180.5}) {
        const Result<BirthTime> time =
            ReadBirthTime({1990, 7, 15}, {14, 30}, {degrees, "Asia/Shanghai", ""}, SolarTime::True);
        ASSERT_FALSE(time) << degrees;
        EXPECT_EQ(time.error().code, ErrorCode::NotALongitude);
        EXPECT_EQ(time.error().reason.find("922337203685477"), std::string::npos)
            << time.error().reason;
    }
    EXPECT_NE(ReadBirthTime({1990, 7, 15}, {14, 30}, {1e300, "Asia/Shanghai", ""}, SolarTime::True)
                  .error()
                  .reason.find("1e+300"),
              std::string::npos);
}

// Every longitude in whole minutes of arc, in each form people write and in the form the
// readings print, reads back as itself.
TEST(BirthTime, EveryLongitudeReadsBackInEveryForm) {
    for (int minutes = -180 * 60; minutes <= 180 * 60; ++minutes) {
        const double degrees = minutes / 60.0;
        const int whole = std::abs(minutes) / 60, rest = std::abs(minutes) % 60;
        const std::string east = minutes < 0 ? "W" : "E", side = minutes < 0 ? "西经" : "东经";
        char decimal[32];
        std::snprintf(decimal, sizeof decimal, "%.6f", degrees);
        const std::string forms[] = {
            decimal,
            std::string(decimal + (minutes < 0)) + east,
            std::to_string(whole) + "°" + std::to_string(rest) + "′" + east,
            side + std::to_string(whole) + "度" + std::to_string(rest) + "分",
            LongitudeText(std::round(degrees * 10000) / 10000),
        };
        for (const std::string& form : forms) {
            const Result<double> parsed = ParseLongitude(form);
            ASSERT_TRUE(parsed) << form;
            // Decimals to the millionth; the printed form to the ten-thousandth.
            ASSERT_NEAR(*parsed, degrees, &form == &forms[4] ? 5e-5 : 1e-6) << form;
        }
    }
}

// Known places, from their seats' points in GeoNames.
TEST(Places, FoundByTheNamesPeopleUse) {
    const struct {
        const char* name;
        double longitude;
        const char* zone;
    } known[] = {
        {"成都", 104.0667, "Asia/Shanghai"},       {"成都市", 104.0667, "Asia/Shanghai"},
        {"四川成都", 104.0667, "Asia/Shanghai"},   {"四川省成都市", 104.0667, "Asia/Shanghai"},
        {"乌鲁木齐", 87.6005, "Asia/Shanghai"},    {"喀什", 75.9895, "Asia/Shanghai"},
        {"北京", 116.3972, "Asia/Shanghai"},       {"上海", 121.4581, "Asia/Shanghai"},
        {"哈尔滨", 126.65, "Asia/Shanghai"},       {"昆明", 102.7183, "Asia/Shanghai"},
        {"拉萨", 91.1, "Asia/Shanghai"},           {"漠河", 122.53, "Asia/Shanghai"},
        {"四川", 104.0667, "Asia/Shanghai"},       {"烏魯木齊", 87.6005, "Asia/Shanghai"},
        {"香港", 114.16, "Asia/Hong_Kong"},        {"澳门", 113.55, "Asia/Macau"},
        {"台北", 121.53, "Asia/Taipei"},           {"纽约", -74.006, "America/New_York"},
        {"New York", -74.006, "America/New_York"}, {"东京", 139.69, "Asia/Tokyo"},
        {"西安", 108.94, "Asia/Shanghai"}};
    for (const auto& k : known) {
        const Result<Place> place = FindPlace(k.name);
        ASSERT_TRUE(place) << k.name << ": " << place.error().reason;
        EXPECT_NEAR(place->longitude, k.longitude, 0.1) << k.name;
        EXPECT_EQ(place->zone, k.zone) << k.name;
    }
    // Districts as people write them, and cities abroad by their usual Chinese or English name.
    const struct {
        const char* name;
        const char* fullName;
    } named[] = {{"北京市朝阳区", "北京市朝阳区"},   {"北京朝阳", "北京市朝阳区"},
                 {"浦东", "上海市浦东新区"},         {"浦东新区", "上海市浦东新区"},
                 {"番禺", "广东省广州市番禺区"},     {"广州番禺", "广东省广州市番禺区"},
                 {"新加坡", "新加坡"},               {"Singapore", "新加坡"},
                 {"吉隆坡", "马来西亚吉隆坡"},       {"悉尼", "澳大利亚悉尼"},
                 {"旧金山", "美国旧金山"},           {"San Francisco", "美国旧金山"},
                 {"西雅图", "美国西雅图"},           {"波士顿", "美国波士顿"},
                 {"迪拜", "阿联酋迪拜"},             {"檀香山", "美国檀香山"},
                 {"新西兰奥克兰", "新西兰奥克兰"},   {"英国伦敦", "英国伦敦"}};
    for (const auto& n : named) {
        const Result<Place> place = FindPlace(n.name);
        ASSERT_TRUE(place) << n.name << ": " << place.error().reason;
        EXPECT_EQ(place->fullName, n.fullName) << n.name;
        EXPECT_TRUE(place->otherPlaces.empty()) << n.name;
    }
    // A shared name means its usual place, and names the others: the prefecture-level city
    // before districts, the far larger city abroad; districts alike are refused, listed.
    const Result<Place> chaoyang = FindPlace("朝阳");
    EXPECT_EQ(chaoyang->fullName, "辽宁省朝阳市");
    EXPECT_EQ(chaoyang->otherPlaces,
              (std::vector<std::string>{"北京市朝阳区", "吉林省长春市朝阳区"}));
    EXPECT_EQ(chaoyang->AsBirthplace().otherPlaces, chaoyang->otherPlaces);
    const Result<Place> london = FindPlace("伦敦");
    EXPECT_EQ(london->fullName, "英国伦敦");
    EXPECT_EQ(london->otherPlaces, std::vector<std::string>{"加拿大伦敦"});
    for (const char* shared : {"朝阳区", "奥克兰"}) {
        const Result<Place> ambiguous = FindPlace(shared);
        ASSERT_FALSE(ambiguous) << shared;
        EXPECT_EQ(ambiguous.error().code, ErrorCode::AmbiguousPlace);
    }
    EXPECT_NE(FindPlace("朝阳区").error().chineseReason.find("北京市朝阳区"), std::string::npos);
    // Nothing of the name: the nearest names by spelling, in the country named if any.
    const struct {
        const char* name;
        const char* nearest;
    } misspelt[] = {{"成都府", "四川省成都市"},   {"西雅国", "美国西雅图"},
                    {"Seatle", "美国西雅图"},     {"San Fransisco", "美国旧金山"},
                    {"新加波", "新加坡"},         {"英国曼彻特", "英国曼彻斯特"}};
    for (const auto& m : misspelt) {
        const Result<Place> unknown = FindPlace(m.name);
        ASSERT_FALSE(unknown) << m.name;
        EXPECT_EQ(unknown.error().code, ErrorCode::UnknownPlace);
        EXPECT_NE(unknown.error().chineseReason.find(m.nearest), std::string::npos)
            << unknown.error().chineseReason;
    }
    // Near a place chosen before, its city's districts come first.
    EXPECT_EQ(SearchPlaces("朝阳", 3)[0].fullName, "辽宁省朝阳市");
    EXPECT_EQ(SearchPlaces("朝阳", 3, "北京市海淀区")[0].fullName, "北京市朝阳区");
}

// Every county-level division is found by its name under its province (北京朝阳) as itself,
// or refused as shared with the other of its name in that province (河北桥西区); one without
// a point of its own reads at its prefecture's, and says which.
TEST(Places, EveryCountyUnderItsProvince) {
    std::size_t counties = 0, atPrefecture = 0;
    for (const char* kind : {"区", "县", "市", "旗"}) {
        for (const Place& place : SearchPlaces(kind, 100000)) {
            // Counties of mainland China: the 市 in a prefecture, not a prefecture-level city.
            const bool prefectureLevel =
                place.fullName == std::string(place.region) + std::string(place.name);
            if (place.zone != "Asia/Shanghai" || place.fullName == place.region ||
                !place.name.ends_with(kind) ||
                place.name.ends_with("地区") || place.name.ends_with("自治区") ||
                (kind == std::string_view("市") && prefectureLevel)) {
                continue;
            }
            ++counties;
            const Result<Place> found =
                FindPlace(std::string(place.region) + std::string(place.name));
            if (found) {
                EXPECT_EQ(found->fullName, place.fullName);
            } else {
                EXPECT_EQ(found.error().code, ErrorCode::AmbiguousPlace) << place.fullName;
                EXPECT_NE(found.error().chineseReason.find(place.fullName), std::string::npos);
            }
            if (!place.longitudeOf.empty()) {
                ++atPrefecture;
                const Result<Place> prefecture = FindPlace(
                    place.fullName.substr(0, place.fullName.size() - place.name.size()));
                ASSERT_TRUE(prefecture) << place.fullName;
                EXPECT_EQ(prefecture->name, place.longitudeOf);
                EXPECT_EQ(prefecture->longitude, place.longitude);
            }
        }
    }
    EXPECT_GT(counties, 2700u);
    EXPECT_GT(atPrefecture, 0u);
}

// Every place is found by its full name, as itself; every place in mainland China keeps
// Beijing time.
TEST(Places, EveryPlaceByItsFullName) {
    std::size_t places = 0;
    for (const char* region : {"省", "市", "区", "县", "自治州", "美国", "日本", "台湾"}) {
        for (const Place& place : SearchPlaces(region, 5000)) {
            const Result<Place> found = FindPlace(place.fullName);
            ASSERT_TRUE(found) << place.fullName << ": " << found.error().reason;
            EXPECT_EQ(found->fullName, place.fullName);
            EXPECT_EQ(found->longitude, place.longitude);
            const bool mainland = place.zone == "Asia/Shanghai";
            EXPECT_EQ(mainland, place.englishName.empty() && place.region != "香港" &&
                                    place.region != "澳门" && place.region != "台湾")
                << place.fullName;
            ++places;
        }
    }
    EXPECT_GT(places, 1300u);
}

}  // namespace
}  // namespace chenggu
