// Speed of the calendar engine, the reading and the calendar export.
#include <benchmark/benchmark.h>

#include "calendar/calendar_date.h"
#include "calendar/day_cursor.h"
#include "cli/calendar_export.h"
#include "reading/reading.h"

namespace {

using CD = CalendarDate;

// The conversion of a date's day of the range: the epoch (1901-01-01), and the costliest,
// 2050-12-31, 149 lunar years and 11 months from it.
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
BENCHMARK(GregorianToLunar)->Args({1901, 1, 1})->Args({2050, 12, 31});

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

// Every date of 1901-2050 with every period: 54,787 x 12 readings.
void FullRangeReadings(benchmark::State& state) {
    for (auto _ : state) {
        std::int64_t total = 0;
        for (std::uint16_t y = 1901; y <= 2050; ++y) {
            for (std::uint16_t m = 1; m <= 12; ++m) {
                const std::uint16_t days = CD::GregorianMonthDays(y, m);
                for (std::uint16_t d = 1; d <= days; ++d) {
                    for (int period = 0; period < 12; ++period) {
                        total += MakeReading(y, m, d, period).totalWeight;
                    }
                }
            }
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * 54787 * 12);
}
BENCHMARK(FullRangeReadings)->Unit(benchmark::kMillisecond);

// The lunar date and names of every date of 1901-2050, one day at a time.
void FullRangeDayCursor(benchmark::State& state) {
    for (auto _ : state) {
        DayCursor cursor(1901, 1, 1);
        for (int i = 1; i < 54787; ++i) cursor.Advance();
        benchmark::DoNotOptimize(cursor.lunar().day);
    }
    state.SetItemsProcessed(state.iterations() * 54787);
}
BENCHMARK(FullRangeDayCursor)->Unit(benchmark::kMicrosecond);

// The same with the text of chenggu --calendar.
void FullRangeCalendarExport(benchmark::State& state) {
    for (auto _ : state) {
        const std::string text = CalendarExport({1901, 1, 1}, {2050, 12, 31});
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * 54787);
}
BENCHMARK(FullRangeCalendarExport)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
