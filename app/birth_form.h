// The birth-date form in the Main window's client area: four drop-down lists for the
// Gregorian year, month and day and the birth period, and fourteen read-only fields that
// show the reading of the selected date and period.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "reading/reading.h"

// The form's 40 controls in creation order; a control's identifier is FormControlId(it).
// clang-format off
enum class FormControl : std::uint16_t {
    GregorianLabel, YearList, YearUnit, MonthList, MonthUnit, DayList, DayUnit, PeriodList,
    PeriodUnit,
    LunarLabel, LunarYearField, LunarYearUnit, LunarMonthField, LunarMonthUnit, LunarDayField,
    LunarDayUnit, LunarPeriodField, LunarPeriodUnit,
    YearStemBranchField, YearStemBranchUnit, MonthStemBranchField, MonthStemBranchUnit,
    DayStemBranchField, DayStemBranchUnit, PeriodBranchField, PeriodBranchUnit,
    WeightLabel, YearWeightField, YearWeightUnit, MonthWeightField, MonthWeightUnit,
    DayWeightField, DayWeightUnit, PeriodWeightField, PeriodWeightUnit,
    TotalLabel, TotalWeightField, TotalWeightUnit,
    VerseLabel, VerseField,
    Count
};
// clang-format on

inline constexpr std::uint16_t FormControlCount = static_cast<std::uint16_t>(FormControl::Count);

// The fourteen result fields in the order a reading fills them, and the texts of a reading
// for them: the lunar date and the period's branch, the stem-branch names and the branch
// again, the four weights, the total and the verse; numbers in plain decimal.
inline constexpr std::array<FormControl, 14> ResultFields{
    FormControl::LunarYearField,      FormControl::LunarMonthField,
    FormControl::LunarDayField,       FormControl::LunarPeriodField,
    FormControl::YearStemBranchField, FormControl::MonthStemBranchField,
    FormControl::DayStemBranchField,  FormControl::PeriodBranchField,
    FormControl::YearWeightField,     FormControl::MonthWeightField,
    FormControl::DayWeightField,      FormControl::PeriodWeightField,
    FormControl::TotalWeightField,    FormControl::VerseField,
};
std::array<std::wstring, 14> ResultTexts(const chenggu::Reading& reading);

std::uint16_t FormControlId(FormControl control);

// Creates the 40 controls and fills the four lists; no list has a selection afterwards.
void BuildBirthForm();

// Fits the day list to the selected year and month: appends or deletes days, and moves a
// selection past the month's end to its last day.
void RefreshDayList();

// Selects today's date and the current birth period, shows the first reading and sets the
// form-ready flag.
void SelectCurrentDateTime();
// The same for a given local date and hour. A year outside the year list selects the
// nearest year of the list, and a day past the end of that month its last day.
void SelectDateTime(int year, int month, int day, int hour);

// Reads the four lists and shows their reading in the fourteen fields. Does nothing while a
// list has no selection.
void ComputeReading();

// A list's selection changed (the high word of a message's wParam was 1): a new year or
// month refits the day list; once the form is ready, the reading follows.
void OnListSelectionChange(std::uint16_t id);
// A list's drop-down closed. Some platforms leave a new selection without notifying the
// list (hover over an item, then Escape), so once the form is ready this counts as a
// selection change; repeating one changes nothing.
void OnListClosed(std::uint16_t id);
