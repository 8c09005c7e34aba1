// A reading of a birth under chosen conventions: the reading record of the window, together
// with the day that was read (the next day for a late 子 birth read on the next day), that
// day's lunar date with its leap flag, and the readings under the other conventions that
// would give another total.
#pragma once

#include <cstdint>
#include <vector>

#include "calendar/calendar_date.h"
#include "reading/reading.h"
#include "reading/reading_options.h"

// Which half of the 子 period, 23:00 to 0:59, a birth fell in, when it is known: early
// (早子, 0:00-0:59, always read on its own day) or late (晚子, 23:00-23:59).
enum class ZiHalf : std::uint8_t { Unsaid, Early, Late };

struct Birth {
    GregorianDate date;
    int period = 0;                  // 0 (子) to 11 (亥)
    ZiHalf ziHalf = ZiHalf::Unsaid;  // only for period 0

    // A date from 1901-01-01 to 2050-12-31, a period 0-11, and a half only for 子.
    bool ok() const;
};

struct BirthReading {
    Birth birth;
    ReadingOptions options;
    GregorianDate readingDate;  // the day whose lunar date and names are read
    LunarDate lunarDate;        // of readingDate, with its leap flag
    Reading reading;            // lunar members and names of readingDate, weights, verse

    // False when the birth is not ok() or its reading day lies after 2050-12-31 (a late 子
    // birth on 2050-12-31 read on the next day); the members are then empty.
    bool ok() const { return readingDate.ok(); }

    // The readings of the same birth with one convention switched, for each switch that
    // changes the total, in the order of Conventions. A plain 子 read on its own day may
    // have been a late 子: its late-子 alternative is the reading of the next day.
    std::vector<BirthReading> Alternatives() const;
};

BirthReading ReadBirth(const Birth& birth, ReadingOptions options = {});
