// The window's reading record: the lunar date and stem-branch names of a birth date, the
// four weights of year, month, day and birth period, their total and its verse, in the wide
// text the window shows (the verse's two lines with an empty line between them). It is made
// from the engine's UTF-8 reading; nothing but the window reads it.
#pragma once

#include <cstdint>
#include <string>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

struct Reading {
    std::uint16_t lunarYear = 0;
    std::uint16_t lunarMonth = 0;  // no leap mark: a leap month has the number it follows
    std::uint16_t lunarDay = 0;
    std::wstring periodBranch;
    std::wstring yearStemBranch;
    std::wstring monthStemBranch;
    std::wstring dayStemBranch;
    std::int32_t yearWeight = 0;  // qian
    std::int32_t monthWeight = 0;
    std::int32_t dayWeight = 0;
    std::int32_t periodWeight = 0;
    std::int32_t totalWeight = 0;
    std::wstring verse;

    friend bool operator==(const Reading&, const Reading&) = default;
};

// The reading of a Gregorian birth date (years 1901-2100, months 1-12, days 1-31; a day
// past its month's end counts on, so 2001-02-29 reads as 2001-03-01) and a period index
// (0 = 子 to 11 = 亥), under the window's conventions. Pure: it touches no window and keeps
// no state. Outside those ranges the answer is an empty reading: zeros, empty texts, total 0.
Reading MakeReading(std::uint16_t year, std::uint16_t month, std::uint16_t day, int period);

CHENGGU_END_NAMESPACE
