#include "app/birth_form.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <string>

#include "app/controls.h"
#include "calendar/calendar_date.h"
#include "reading/decimal_text.h"
#include "reading/reading.h"
#include "reading/verses.h"
#include "reading/weight_tables.h"

using chenggu::BirthPeriod;
using chenggu::BirthPeriods;
using chenggu::CalendarDate;
using chenggu::DecimalText;
using chenggu::MakeReading;
using chenggu::PeriodForHour;
using chenggu::Reading;

namespace {

// The form's block of identifiers, taken before WinMain runs: 101-140.
const std::uint16_t firstFormId = TakeControlIds(FormControlCount);

constexpr int FirstYear = 1901;
constexpr int LastYear = 2050;

enum class Kind { Label, DropList, Field };

struct FormItem {
    Kind kind;
    int x, y, width, height;  // client coordinates; a list's height includes its drop-down
    const wchar_t* text;      // labels only
};

// One row of lists and five rows of fields. Each list or field is followed by the unit label
// on its right; fields stand 2 pixels below their row's labels.
// clang-format off
constexpr std::array<FormItem, FormControlCount> FormLayout{{
    {Kind::Label, 20, 20, 50, 20, L"公历："},
    {Kind::DropList, 70, 20, 60, 400, nullptr},
    {Kind::Label, 130, 20, 25, 20, L"年"},
    {Kind::DropList, 155, 20, 40, 240, nullptr},
    {Kind::Label, 195, 20, 25, 20, L"月"},
    {Kind::DropList, 220, 20, 40, 400, nullptr},
    {Kind::Label, 260, 20, 25, 20, L"日"},
    {Kind::DropList, 285, 20, 110, 400, nullptr},
    {Kind::Label, 395, 20, 25, 20, L"时"},

    {Kind::Label, 20, 60, 50, 20, L"农历："},
    {Kind::Field, 70, 62, 60, 20, nullptr},
    {Kind::Label, 130, 60, 25, 20, L"年"},
    {Kind::Field, 155, 62, 40, 20, nullptr},
    {Kind::Label, 195, 60, 25, 20, L"月"},
    {Kind::Field, 220, 62, 40, 20, nullptr},
    {Kind::Label, 260, 60, 25, 20, L"日"},
    {Kind::Field, 285, 62, 110, 20, nullptr},
    {Kind::Label, 395, 60, 25, 20, L"时"},

    {Kind::Field, 70, 102, 60, 20, nullptr},  // the stem-branch row has no row label
    {Kind::Label, 130, 100, 25, 20, L"年"},
    {Kind::Field, 155, 102, 40, 20, nullptr},
    {Kind::Label, 195, 100, 25, 20, L"月"},
    {Kind::Field, 220, 102, 40, 20, nullptr},
    {Kind::Label, 260, 100, 25, 20, L"日"},
    {Kind::Field, 285, 102, 110, 20, nullptr},
    {Kind::Label, 395, 100, 25, 20, L"时"},

    {Kind::Label, 20, 140, 50, 20, L"骨重："},
    {Kind::Field, 70, 142, 60, 20, nullptr},
    {Kind::Label, 130, 140, 25, 20, L"钱"},
    {Kind::Field, 155, 142, 40, 20, nullptr},
    {Kind::Label, 195, 140, 25, 20, L"钱"},
    {Kind::Field, 220, 142, 40, 20, nullptr},
    {Kind::Label, 260, 140, 25, 20, L"钱"},
    {Kind::Field, 285, 142, 110, 20, nullptr},
    {Kind::Label, 395, 140, 25, 20, L"钱"},

    {Kind::Label, 20, 180, 60, 20, L"总骨重："},
    {Kind::Field, 80, 182, 50, 20, nullptr},
    {Kind::Label, 130, 180, 25, 20, L"钱"},

    {Kind::Label, 20, 220, 50, 20, L"命批："},
    {Kind::Field, 90, 262, 240, 40, nullptr},  // below its label, not beside it
}};
// clang-format on

HWND Control(FormControl control) { return FindControl(FormControlId(control)); }

LRESULT Send(FormControl list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(Control(list), message, wParam, lParam);
}

int Selection(FormControl list) { return static_cast<int>(Send(list, CB_GETCURSEL)); }

void Select(FormControl list, int index) { Send(list, CB_SETCURSEL, static_cast<WPARAM>(index)); }

void AddItem(FormControl list, const std::wstring& text) {
    Send(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A period as the list shows it, 13 characters with the hours right-aligned in two places:
// "23:00 -  0:59", " 1:00 -  2:59".
std::wstring PeriodListLabel(const BirthPeriod& period) {
    const auto hour = [](int h) { return (h < 10 ? L" " : L"") + DecimalText(h); };
    return hour(period.firstHour) + L":00 - " + hour((period.firstHour + 1) % 24) + L":59";
}

void FillList(FormControl list) {
    switch (list) {
        case FormControl::YearList:
            for (int year = FirstYear; year <= LastYear; ++year) AddItem(list, DecimalText(year));
            break;
        case FormControl::MonthList:
            for (int month = 1; month <= 12; ++month) AddItem(list, DecimalText(month));
            break;
        case FormControl::DayList:
            for (int day = 1; day <= 31; ++day) AddItem(list, DecimalText(day));
            break;
        case FormControl::PeriodList:
            for (const BirthPeriod& period : BirthPeriods) AddItem(list, PeriodListLabel(period));
            break;
        default:
            break;
    }
}

bool IsList(std::uint16_t id) {
    for (const FormControl list : {FormControl::YearList, FormControl::MonthList,
                                   FormControl::DayList, FormControl::PeriodList}) {
        if (id == FormControlId(list)) return true;
    }
    return false;
}

}  // namespace

std::uint16_t FormControlId(FormControl control) {
    return static_cast<std::uint16_t>(firstFormId + static_cast<std::uint16_t>(control));
}

void BuildBirthForm() {
    for (std::uint16_t i = 0; i < FormControlCount; ++i) {
        const FormItem& item = FormLayout[i];
        const auto control = static_cast<FormControl>(i);
        const std::uint16_t id = FormControlId(control);
        switch (item.kind) {
            case Kind::Label:
                CreateLabel(id, item.text, item.x, item.y, item.width, item.height);
                break;
            case Kind::DropList:
                CreateDropList(id, item.x, item.y, item.width, item.height);
                FillList(control);
                break;
            case Kind::Field:
                CreateReadOnlyField(id, item.x, item.y, item.width, item.height);
                break;
        }
    }
}

void RefreshDayList() {
    const int year = Selection(FormControl::YearList) + FirstYear;
    const int month = Selection(FormControl::MonthList) + 1;
    const int count = static_cast<int>(Send(FormControl::DayList, CB_GETCOUNT));
    const int monthDays = CalendarDate::GregorianMonthDays(static_cast<std::uint16_t>(year),
                                                           static_cast<std::uint16_t>(month));
    const int selected = Selection(FormControl::DayList);  // -1 when nothing is selected

    for (int day = count + 1; day <= monthDays; ++day) {
        AddItem(FormControl::DayList, DecimalText(day));
    }
    for (int index = count - 1; index >= monthDays; --index) {
        Send(FormControl::DayList, CB_DELETESTRING, static_cast<WPARAM>(index));
    }
    if (selected >= monthDays) Select(FormControl::DayList, monthDays - 1);
}

void SelectCurrentDateTime() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);  // the window's one thread
    if (local == nullptr) {  // a clock the runtime cannot read: start on the first day
        SelectDateTime(FirstYear, 1, 1, 0);
        return;
    }
    SelectDateTime(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour);
}

void SelectDateTime(int year, int month, int day, int hour) {
    Select(FormControl::YearList, std::clamp(year, FirstYear, LastYear) - FirstYear);
    Select(FormControl::MonthList, month - 1);
    RefreshDayList();
    const int dayCount = static_cast<int>(Send(FormControl::DayList, CB_GETCOUNT));
    Select(FormControl::DayList, std::min(day, dayCount) - 1);
    Select(FormControl::PeriodList, PeriodForHour(static_cast<std::uint16_t>(hour)));
    ComputeReading();
    formReady = true;
}

void ComputeReading() {
    const int yearIndex = Selection(FormControl::YearList);
    const int monthIndex = Selection(FormControl::MonthList);
    const int dayIndex = Selection(FormControl::DayList);
    const int period = Selection(FormControl::PeriodList);
    if (yearIndex < 0 || monthIndex < 0 || dayIndex < 0 || period < 0) return;

    const Reading reading = MakeReading(static_cast<std::uint16_t>(yearIndex + FirstYear),
                                        static_cast<std::uint16_t>(monthIndex + 1),
                                        static_cast<std::uint16_t>(dayIndex + 1), period);
    const std::array<std::wstring, 14> texts = ResultTexts(reading);
    for (std::size_t i = 0; i < ResultFields.size(); ++i) {
        SetWindowTextW(Control(ResultFields[i]), texts[i].c_str());
    }
}

std::array<std::wstring, 14> ResultTexts(const Reading& r) {
    return {DecimalText(r.lunarYear),
            DecimalText(r.lunarMonth),
            DecimalText(r.lunarDay),
            r.periodBranch,
            r.yearStemBranch,
            r.monthStemBranch,
            r.dayStemBranch,
            r.periodBranch,
            DecimalText(r.yearWeight),
            DecimalText(r.monthWeight),
            DecimalText(r.dayWeight),
            DecimalText(r.periodWeight),
            DecimalText(r.totalWeight),
            r.verse};
}

void OnListSelectionChange(std::uint16_t id) {
    // A new year refits the day list too, so that 29 February never outlives a leap year.
    if (id == FormControlId(FormControl::MonthList) || id == FormControlId(FormControl::YearList)) {
        RefreshDayList();
    }
    if (formReady && IsList(id)) ComputeReading();
}

void OnListClosed(std::uint16_t id) {
    if (formReady) OnListSelectionChange(id);
}
