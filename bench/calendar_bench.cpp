// Speed of the calendar engine, the readings and the calendar export, with the walk over
// lunar years that the conversion replaced measured beside it.
#include <benchmark/benchmark.h>

#include "calendar/calendar_date.h"
#include "calendar/day_cursor.h"
#include "chenggu/birth_reading.h"
#include "chenggu/birth_time.h"
#include "chenggu/json.h"
#include "chenggu/places.h"
#include "cli/calendar_export.h"
#include "reading/reading.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"
#include "tests/lunar_walk.h"
#include "text/utf8.h"

namespace {

using namespace chenggu;
using CD = CalendarDate;

// Days of the whole range, 1645-01-28 to 2100-12-31: the figures are per day or per reading,
// so they compare with those of a shorter range.
const std::int32_t DaysInRange = LastDate.DayOffset() - FirstDate.DayOffset() + 1;

// Both ends of the range (the walk's cheapest date and its costliest), a year of the printed
// calendar's exceptions, and two in the middle.
void EndsOfTheRange(benchmark::internal::Benchmark* benchmark) {
    benchmark->Args({1645, 1, 28})->Args({1914, 11, 17})->Args({1976, 7, 1})->Args({2050, 12, 31})
        ->Args({2100, 12, 31});
}

void GregorianToLunar(benchmark::State& state) {
    auto year = static_cast<std::uint16_t>(state.range(0));
    const auto month = static_cast<std::uint16_t>(state.range(1));
    const auto day = static_cast<std::uint16_t>(state.range(2));
    for (auto _ : state) {
        benchmark::DoNotOptimize(year);
        std::uint16_t y = 0, m = 0, d = 0;
        CD::GregorianToLunar(year, month, day, y, m, d);
        benchmark::DoNotOptimize(y + m + d);
    }
}
BENCHMARK(GregorianToLunar)->Apply(EndsOfTheRange);

void GregorianToLunarByTheWalk(benchmark::State& state) {
    auto year = static_cast<std::uint16_t>(state.range(0));
    const auto month = static_cast<std::uint16_t>(state.range(1));
    const auto day = static_cast<std::uint16_t>(state.range(2));
    for (auto _ : state) {
        benchmark::DoNotOptimize(year);
        const LunarDate lunar = WalkToLunarDate(CD::DayDifference(year, month, day, 1901, 1, 1));
        benchmark::DoNotOptimize(lunar.year + lunar.month + lunar.day);
    }
}
BENCHMARK(GregorianToLunarByTheWalk)->Apply(EndsOfTheRange);

void LunarToGregorian(benchmark::State& state) {
    LunarDate lunar{2050, 11, 18, false};
    for (auto _ : state) {
        benchmark::DoNotOptimize(lunar);
        benchmark::DoNotOptimize(CD::LunarToGregorian(lunar));
    }
}
BENCHMARK(LunarToGregorian);

void CalendarDateConstruction(benchmark::State& state) {
    int year = 1990;
    for (auto _ : state) {
        benchmark::DoNotOptimize(year);
        const CalendarDate date(year, 1, 30);
        benchmark::DoNotOptimize(date.dayStemBranch.data());
    }
}
BENCHMARK(CalendarDateConstruction);

void MakeOneReading(benchmark::State& state) {
    std::uint16_t year = 1990;
    for (auto _ : state) {
        benchmark::DoNotOptimize(year);
        const Reading reading = MakeReading(year, 1, 30, 0);
        benchmark::DoNotOptimize(reading.verse.data());
    }
}
BENCHMARK(MakeOneReading);

// A reading under conventions with the readings under the others: what every face computes
// for one answer.
void ReadWithAlternatives(benchmark::State& state) {
    std::uint16_t year = 1990;
    for (auto _ : state) {
        benchmark::DoNotOptimize(year);
        const Result<BirthReading> reading = Read({{year, 1, 30}, {}, Period{0, ZiHalf::Late}});
        benchmark::DoNotOptimize(reading->alternatives.size());
    }
}
BENCHMARK(ReadWithAlternatives);

// The solar-time step alone: the clock time through the zone's history to true solar time.
// Beijing time (summer time in 1990) and New York (a transition twice a year).
void SolarTimeStep(benchmark::State& state) {
    const Birthplace birthplace = state.range(0) == 0
                                      ? Birthplace{104.0667, "Asia/Shanghai", "四川省成都市"}
                                      : Birthplace{-74.006, "America/New_York", "美国纽约"};
    std::uint16_t year = 1990;
    for (auto _ : state) {
        benchmark::DoNotOptimize(year);
        const Result<BirthTime> time =
            ReadBirthTime({year, 7, 15}, {14, 30}, birthplace, SolarTime::True);
        benchmark::DoNotOptimize(time->trueSolar.second);
    }
}
BENCHMARK(SolarTimeStep)->Arg(0)->Arg(1);

// A reading at a birthplace with its alternatives, to set beside ReadWithAlternatives: the
// step, and the readings under the other solar-time values where their period differs.
void ReadAtBirthplace(benchmark::State& state) {
    Birth birth{{1990, 1, 30},
                {},
                Period{7, ZiHalf::Unsaid},
                ClockTime{14, 30},
                Birthplace{104.0667, "Asia/Shanghai", "四川省成都市"}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(birth.date.year);
        const Result<BirthReading> reading = Read(birth);
        benchmark::DoNotOptimize(reading->alternatives.size());
    }
}
BENCHMARK(ReadAtBirthplace);

// A request in, its JSON out: what the C interface, Python and JavaScript pay for a reading.
void ReadJsonRequest(benchmark::State& state) {
    const std::string request = R"({"date": "1990-01-30", "period": "23:30"})";
    for (auto _ : state) {
        const std::string answer = ReadJson(request);
        benchmark::DoNotOptimize(answer.data());
    }
}
BENCHMARK(ReadJsonRequest);

// A birthplace by name, as every reading at a place looks it up: a city, a district under its
// city, a shared name (read, the others named), a city abroad by English name, and a name no
// place has (the nearest by spelling found over every place); and the search as one types.
void FindPlaceByName(benchmark::State& state) {
    static constexpr const char* Names[] = {"成都", "北京朝阳", "朝阳", "San Francisco", "美国西雅国"};
    const char* name = Names[state.range(0)];
    for (auto _ : state) {
        const Result<Place> place = FindPlace(name);
        benchmark::DoNotOptimize(&place);
    }
    state.SetLabel(name);
}
BENCHMARK(FindPlaceByName)->DenseRange(0, 4);

void SearchPlacesAsTyped(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<Place> places = SearchPlaces("朝阳", 12, "北京市海淀区");
        benchmark::DoNotOptimize(places.data());
    }
}
BENCHMARK(SearchPlacesAsTyped);

// The reading as MakeReading made it before, around the walk: lunar date, names, weights,
// total and verse.
Reading ReadingByTheWalk(std::uint16_t y, std::uint16_t m, std::uint16_t d, int period) {
    const LunarDate lunar = WalkToLunarDate(CD::DayDifference(y, m, d, 1901, 1, 1));
    Reading r;
    r.lunarYear = lunar.year;
    r.lunarMonth = lunar.month;
    r.lunarDay = lunar.day;
    r.periodBranch = Widen(BirthPeriods[static_cast<std::size_t>(period)].periodBranch);
    CD::StemBranchNames(y, m, d, r.yearStemBranch, r.monthStemBranch, r.dayStemBranch);
    r.yearWeight = YearWeight(lunar.year);
    r.monthWeight = MonthWeight(lunar.month);
    r.dayWeight = DayWeight(lunar.day);
    r.periodWeight = PeriodWeight(period);
    r.totalWeight = r.yearWeight + r.monthWeight + r.dayWeight + r.periodWeight;
    r.verse = VerseFor(r.totalWeight);
    return r;
}

// Every date of the range with every period: 166,523 x 12 readings.
template <Reading (*Read)(std::uint16_t, std::uint16_t, std::uint16_t, int)>
void FullRangeReadings(benchmark::State& state) {
    for (auto _ : state) {
        std::int64_t total = 0;
        for (std::uint16_t y = FirstDate.year; y <= LastDate.year; ++y) {
            for (std::uint16_t m = 1; m <= 12; ++m) {
                const std::uint16_t days = CD::GregorianMonthDays(y, m);
                for (std::uint16_t d = 1; d <= days; ++d) {
                    if (GregorianDate{y, m, d} < FirstDate) continue;
                    for (int period = 0; period < 12; ++period) {
                        total += Read(y, m, d, period).totalWeight;
                    }
                }
            }
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * DaysInRange * 12);
}
// The same through the public API, each reading with its alternatives.
Reading PublicReading(std::uint16_t y, std::uint16_t m, std::uint16_t d, int period) {
    const Result<BirthReading> reading = Read({{y, m, d}, {}, Period{period}});
    Reading r;
    r.totalWeight = reading->totalWeight + static_cast<std::int32_t>(reading->alternatives.size());
    return r;
}

BENCHMARK(FullRangeReadings<MakeReading>)->Unit(benchmark::kMillisecond);
BENCHMARK(FullRangeReadings<PublicReading>)->Unit(benchmark::kMillisecond);
BENCHMARK(FullRangeReadings<ReadingByTheWalk>)->Unit(benchmark::kMillisecond);

// The lunar date and names of every date of the range, one day at a time.
void FullRangeDayCursor(benchmark::State& state) {
    for (auto _ : state) {
        DayCursor cursor(FirstDate.year, FirstDate.month, FirstDate.day);
        for (std::int32_t i = 1; i < DaysInRange; ++i) cursor.Advance();
        benchmark::DoNotOptimize(cursor.lunar().day);
    }
    state.SetItemsProcessed(state.iterations() * DaysInRange);
}
BENCHMARK(FullRangeDayCursor)->Unit(benchmark::kMicrosecond);

// The same by converting each day afresh: what the export would cost without the cursor.
void FullRangeConversions(benchmark::State& state) {
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (std::int32_t offset = FirstDate.DayOffset(); offset <= LastDate.DayOffset(); ++offset) {
            const GregorianDate date = GregorianDate::FromDayOffset(offset);
            const LunarDate lunar = CD::LunarDateAt(offset);
            const StemBranchIndex index = CD::StemBranchIndices(date.year, date.month, date.day);
            sum += lunar.day + index.month;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * DaysInRange);
}
BENCHMARK(FullRangeConversions)->Unit(benchmark::kMicrosecond);

// The text of chenggu --calendar.
void FullRangeCalendarExport(benchmark::State& state) {
    for (auto _ : state) {
        const std::string text = cli::CalendarExport(FirstDate, LastDate).value();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * DaysInRange);
}
BENCHMARK(FullRangeCalendarExport)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
