// The bone weights, in qian (钱; ten qian make one liang, 两), of the lunar year, month and
// day of birth and of the birth period, and the birth period of each hour of the day.
#pragma once

#include <array>
#include <cstdint>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// A weight stored beside the key it belongs to. Lookups go by position; the key only
// names the row for a reader of the table.
struct KeyedWeight {
    std::int32_t key;
    std::int32_t weight;
};

// One row per year of the sixty-year cycle, keyed by the years 1941-2000. A lunar year
// uses the row whose year is congruent to it modulo 60.
// clang-format off
inline constexpr std::array<KeyedWeight, 60> YearWeights{{
    {1941, 6},  {1942, 8},  {1943, 7},  {1944, 5},  {1945, 15}, {1946, 6},  {1947, 16}, {1948, 15},
    {1949, 7},  {1950, 9},  {1951, 12}, {1952, 10}, {1953, 7},  {1954, 15}, {1955, 6},  {1956, 5},
    {1957, 14}, {1958, 14}, {1959, 9},  {1960, 7},  {1961, 7},  {1962, 9},  {1963, 12}, {1964, 8},
    {1965, 7},  {1966, 13}, {1967, 5},  {1968, 14}, {1969, 5},  {1970, 9},  {1971, 17}, {1972, 5},
    {1973, 7},  {1974, 12}, {1975, 8},  {1976, 8},  {1977, 6},  {1978, 19}, {1979, 6},  {1980, 8},
    {1981, 16}, {1982, 10}, {1983, 6},  {1984, 12}, {1985, 9},  {1986, 6},  {1987, 7},  {1988, 12},
    {1989, 5},  {1990, 9},  {1991, 8},  {1992, 7},  {1993, 8},  {1994, 15}, {1995, 9},  {1996, 16},
    {1997, 8},  {1998, 8},  {1999, 19}, {2000, 12},
}};

// Lunar months 1-12; a leap month weighs as the month it follows.
inline constexpr std::array<KeyedWeight, 12> MonthWeights{{
    {1, 6}, {2, 7}, {3, 18}, {4, 9}, {5, 5}, {6, 16}, {7, 9}, {8, 15}, {9, 18}, {10, 8}, {11, 9},
    {12, 5},
}};

// Lunar days 1-30.
inline constexpr std::array<KeyedWeight, 30> DayWeights{{
    {1, 5},   {2, 10},  {3, 8},   {4, 15},  {5, 16},  {6, 15},  {7, 8},   {8, 16},  {9, 8},
    {10, 16}, {11, 9},  {12, 17}, {13, 8},  {14, 17}, {15, 10}, {16, 8},  {17, 9},  {18, 18},
    {19, 5},  {20, 15}, {21, 10}, {22, 9},  {23, 8},  {24, 9},  {25, 15}, {26, 18}, {27, 7},
    {28, 8},  {29, 16}, {30, 6},
}};

// Birth periods 0 (子, 23:00-0:59) to 11 (亥).
inline constexpr std::array<std::int32_t, 12> PeriodWeights{
    16, 6, 7, 10, 9, 16, 10, 8, 8, 9, 6, 6,
};

// The period of each hour 0-23: ((hour + 1) / 2) mod 12, so 子 covers 23:00 to 0:59.
inline constexpr std::array<std::int32_t, 24> HourToPeriod{
    0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 0,
};
// clang-format on

// Weight of the lunar year's place in the sixty-year cycle; defined for every year.
std::int32_t YearWeight(std::uint16_t lunarYear);
// Weights of a lunar month (1-12), a lunar day (1-30) and a period (0-11); 0 for any
// other value, which no date produces.
std::int32_t MonthWeight(std::uint16_t lunarMonth);
std::int32_t DayWeight(std::uint16_t lunarDay);
std::int32_t PeriodWeight(int period);
// The period of an hour of the day; 0 (子) for an hour above 23.
std::int32_t PeriodForHour(std::uint16_t hour);

CHENGGU_END_NAMESPACE
