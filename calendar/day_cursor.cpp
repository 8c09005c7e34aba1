#include "calendar/day_cursor.h"

CHENGGU_BEGIN_NAMESPACE

DayCursor::DayCursor(std::uint16_t year, std::uint16_t month, std::uint16_t day, CalendarRule rule)
    : rule_(rule),
      year_(year),
      month_(month),
      day_(day),
      lunar_(CalendarDate::LunarDateAt(GregorianDate{year, month, day}.DayOffset(), rule)),
      index_(CalendarDate::StemBranchIndices(year, month, day, rule)) {
    EnterGregorianMonth();
    EnterLunarMonth();
}

void DayCursor::Advance() {
    ++index_.day;
    if (day_ < gregorianMonthDays_) {
        ++day_;
    } else {
        day_ = 1;
        if (month_ < 12) {
            ++month_;
        } else {
            month_ = 1;
            ++year_;
        }
        EnterGregorianMonth();
    }
    // A new stem-branch month opens on each sectional term, a new year on February's.
    if (day_ == sectionalTermDay_) {
        ++index_.month;
        if (month_ == 2) ++index_.year;
    }

    if (lunar_.day < lunarMonthDays_) {
        ++lunar_.day;
        return;
    }
    lunar_.day = 1;
    if (!lunar_.leapMonth && lunar_.month == CalendarDate::LunarLeapMonth(lunar_.year, rule_)) {
        lunar_.leapMonth = true;
    } else {
        lunar_.leapMonth = false;
        if (lunar_.month < 12) {
            ++lunar_.month;
        } else {
            lunar_.month = 1;
            ++lunar_.year;
        }
    }
    EnterLunarMonth();
}

void DayCursor::EnterGregorianMonth() {
    gregorianMonthDays_ = CalendarDate::GregorianMonthDays(year_, month_);
    sectionalTermDay_ = CalendarDate::SectionalTermDay(year_, month_, rule_);
}

void DayCursor::EnterLunarMonth() {
    lunarMonthDays_ = CalendarDate::LunarMonthLength(lunar_.year, lunar_.month, lunar_.leapMonth, rule_);
}

CHENGGU_END_NAMESPACE
