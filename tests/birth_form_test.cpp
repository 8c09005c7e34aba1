// The birth-date form in the real Main window: its controls, lists, the day list that
// follows the month and year, and the readings it shows.
#include "app/birth_form.h"

#include <gtest/gtest.h>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/resource_ids.h"
#include "reading/verses.h"
#include "tests/app_test_support.h"
#include "text/utf8.h"

namespace {

using namespace chenggu;

enum class Kind { Label, List, Field };

struct ExpectedControl {
    std::uint16_t id;
    Kind kind;
    int x, y, width, height;
    const wchar_t* text;
};

// The layout as a user sees it, control by control in creation order.
// clang-format off
const ExpectedControl Layout[] = {
    {101, Kind::Label, 20, 20, 50, 20, L"公历："},  {102, Kind::List, 70, 20, 60, 400, L""},
    {103, Kind::Label, 130, 20, 25, 20, L"年"},     {104, Kind::List, 155, 20, 40, 240, L""},
    {105, Kind::Label, 195, 20, 25, 20, L"月"},     {106, Kind::List, 220, 20, 40, 400, L""},
    {107, Kind::Label, 260, 20, 25, 20, L"日"},     {108, Kind::List, 285, 20, 110, 400, L""},
    {109, Kind::Label, 395, 20, 25, 20, L"时"},     {110, Kind::Label, 20, 60, 50, 20, L"农历："},
    {111, Kind::Field, 70, 62, 60, 20, nullptr},    {112, Kind::Label, 130, 60, 25, 20, L"年"},
    {113, Kind::Field, 155, 62, 40, 20, nullptr},   {114, Kind::Label, 195, 60, 25, 20, L"月"},
    {115, Kind::Field, 220, 62, 40, 20, nullptr},   {116, Kind::Label, 260, 60, 25, 20, L"日"},
    {117, Kind::Field, 285, 62, 110, 20, nullptr},  {118, Kind::Label, 395, 60, 25, 20, L"时"},
    {119, Kind::Field, 70, 102, 60, 20, nullptr},   {120, Kind::Label, 130, 100, 25, 20, L"年"},
    {121, Kind::Field, 155, 102, 40, 20, nullptr},  {122, Kind::Label, 195, 100, 25, 20, L"月"},
    {123, Kind::Field, 220, 102, 40, 20, nullptr},  {124, Kind::Label, 260, 100, 25, 20, L"日"},
    {125, Kind::Field, 285, 102, 110, 20, nullptr}, {126, Kind::Label, 395, 100, 25, 20, L"时"},
    {127, Kind::Label, 20, 140, 50, 20, L"骨重："}, {128, Kind::Field, 70, 142, 60, 20, nullptr},
    {129, Kind::Label, 130, 140, 25, 20, L"钱"},    {130, Kind::Field, 155, 142, 40, 20, nullptr},
    {131, Kind::Label, 195, 140, 25, 20, L"钱"},    {132, Kind::Field, 220, 142, 40, 20, nullptr},
    {133, Kind::Label, 260, 140, 25, 20, L"钱"},    {134, Kind::Field, 285, 142, 110, 20, nullptr},
    {135, Kind::Label, 395, 140, 25, 20, L"钱"},    {136, Kind::Label, 20, 180, 60, 20, L"总骨重："},
    {137, Kind::Field, 80, 182, 50, 20, nullptr},   {138, Kind::Label, 130, 180, 25, 20, L"钱"},
    {139, Kind::Label, 20, 220, 50, 20, L"命批："}, {140, Kind::Field, 90, 262, 240, 40, nullptr},
};
// clang-format on

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

RECT ClientRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The verse of a total weight, as the verse field shows it.
std::wstring Verse(int total) { return VerseFor(total); }

TEST(BirthForm, FortyControlsInCreationOrder) {
    const HWND window = ProgramWindow();
    ASSERT_EQ(std::size(Layout), FormControlCount);
    HWND previous = nullptr;
    for (std::size_t i = 0; i < std::size(Layout); ++i) {
        const ExpectedControl& expected = Layout[i];
        SCOPED_TRACE(testing::Message() << "control " << expected.id);
        EXPECT_EQ(FormControlId(static_cast<FormControl>(i)), expected.id);
        const HWND control = GetDlgItem(window, expected.id);
        ASSERT_NE(control, nullptr);
        // Creation order is the order of the child windows.
        if (previous != nullptr) {
            EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), control);
        }
        previous = control;

        // As created (a list's height includes its drop-down, and the list passes its
        // scroll bar style on to its drop-down part).
        const Creation* creation = CreationOf(expected.id);
        ASSERT_NE(creation, nullptr);
        EXPECT_EQ(creation->exStyle, 0u);
        EXPECT_EQ(creation->x, expected.x);
        EXPECT_EQ(creation->y, expected.y);
        EXPECT_EQ(creation->width, expected.width);
        EXPECT_EQ(creation->height, expected.height);

        const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        const auto procedure = GetWindowLongPtrW(control, GWLP_WNDPROC);
        switch (expected.kind) {
            case Kind::Label:
                EXPECT_EQ(creation->windowClass, L"Static");
                EXPECT_EQ(creation->style, 0x50000201u);
                EXPECT_EQ(WindowText(control), expected.text);
                EXPECT_EQ(font, formFont);
                EXPECT_EQ(FindControl(expected.id), nullptr) << "labels are not registered";
                EXPECT_NE(procedure, reinterpret_cast<LONG_PTR>(ControlWndProc));
                break;
            case Kind::Field:
                EXPECT_EQ(creation->windowClass, L"Edit");
                EXPECT_EQ(creation->style, 0x50000805u);
                EXPECT_EQ(font, formFont);
                EXPECT_EQ(FindControl(expected.id), control);
                EXPECT_EQ(procedure, reinterpret_cast<LONG_PTR>(ControlWndProc));
                break;
            case Kind::List:
                EXPECT_EQ(creation->windowClass, L"ComboBox");
                EXPECT_EQ(creation->style, 0x50200803u);
                EXPECT_EQ(font, nullptr) << "lists keep the system font";
                EXPECT_EQ(FindControl(expected.id), control);
                EXPECT_EQ(procedure, reinterpret_cast<LONG_PTR>(ControlWndProc));
                break;
        }
        // And as it stands in the window.
        const RECT rect = ClientRect(control);
        EXPECT_EQ(rect.left, expected.x);
        EXPECT_EQ(rect.top, expected.y);
        EXPECT_EQ(rect.right - rect.left, expected.width);
        if (expected.kind != Kind::List) {
            EXPECT_EQ(rect.bottom - rect.top, expected.height);
        }
    }
}

TEST(BirthForm, StatusBarIsRegisteredUnder230) {
    const HWND window = ProgramWindow();
    const HWND bar = FindControl(STATUS_BAR_KEY);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(ClassOf(bar), L"msctls_statusbar32");
    EXPECT_EQ(GetParent(bar), window);
    EXPECT_EQ(GetDlgCtrlID(bar), 0);
    EXPECT_EQ(WindowText(bar), L"");
}

TEST(BirthForm, ListContents) {
    ProgramWindow();
    ASSERT_EQ(ItemCount(FormControl::YearList), 150);
    EXPECT_EQ(ItemText(FormControl::YearList, 0), L"1901");
    EXPECT_EQ(ItemText(FormControl::YearList, 99), L"2000");
    EXPECT_EQ(ItemText(FormControl::YearList, 149), L"2050");
    ASSERT_EQ(ItemCount(FormControl::MonthList), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(ItemText(FormControl::MonthList, i), std::to_wstring(i + 1));
    }
    ASSERT_EQ(ItemCount(FormControl::PeriodList), 12);
    EXPECT_EQ(ItemText(FormControl::PeriodList, 0), L"23:00 -  0:59");
    EXPECT_EQ(ItemText(FormControl::PeriodList, 1), L" 1:00 -  2:59");
    EXPECT_EQ(ItemText(FormControl::PeriodList, 11), L"21:00 - 22:59");

    PickDate(1990, 1, 1, 0);
    ASSERT_EQ(ItemCount(FormControl::DayList), 31);
    for (int i = 0; i < 31; ++i) {
        EXPECT_EQ(ItemText(FormControl::DayList, i), std::to_wstring(i + 1));
    }
}

TEST(BirthForm, ShowsTheReadingOfThePickedDate) {
    ProgramWindow();
    const struct {
        int y, m, d, period;
        std::wstring texts;
    } cases[] = {
        {1901, 1, 1, 0, L"1900|11|11|子|庚子|戊子|己卯|子|7|9|9|16|41|" + Verse(41)},
        {1990, 1, 30, 0, L"1990|1|4|子|己巳|丁丑|乙未|子|9|6|15|16|46|" + Verse(46)},
        {2020, 5, 23, 6, L"2020|4|1|午|庚子|辛巳|丙寅|午|7|9|5|10|31|" + Verse(31)},
        {2050, 12, 31, 11, L"2050|11|18|亥|庚午|戊子|乙酉|亥|9|9|18|6|42|" + Verse(42)},
    };
    for (const auto& c : cases) {
        PickDate(c.y, c.m, c.d, c.period);
        EXPECT_EQ(ShownTexts(), c.texts) << c.y << "-" << c.m << "-" << c.d;
    }
    EXPECT_NE(FormText(FormControl::VerseField).find(L"\r\n\r\n"), std::wstring::npos)
        << "the verse shows as two lines";
}

TEST(BirthForm, DayListFollowsTheMonth) {
    ProgramWindow();
    // Day 31 selected, then April: the 31st goes and the 30th is read.
    PickDate(2021, 1, 31, 0);
    PickItem(FormControl::MonthList, 3);
    EXPECT_EQ(ItemCount(FormControl::DayList), 30);
    EXPECT_EQ(SelectedIndex(FormControl::DayList), 29);
    EXPECT_EQ(FormText(FormControl::LunarDayField), L"19") << "2021-04-30 is lunar 3-19";

    // February of a common year, then March: 29, 30 and 31 come back; the day stays.
    PickItem(FormControl::MonthList, 1);
    EXPECT_EQ(ItemCount(FormControl::DayList), 28);
    EXPECT_EQ(SelectedIndex(FormControl::DayList), 27);
    PickItem(FormControl::MonthList, 2);
    EXPECT_EQ(ItemCount(FormControl::DayList), 31);
    EXPECT_EQ(ItemText(FormControl::DayList, 28), L"29");
    EXPECT_EQ(ItemText(FormControl::DayList, 30), L"31");
    EXPECT_EQ(SelectedIndex(FormControl::DayList), 27);

    // Day 15 of January, then February: the list shrinks and the 15th stays.
    PickItem(FormControl::MonthList, 0);
    PickItem(FormControl::DayList, 14);
    PickItem(FormControl::MonthList, 1);
    EXPECT_EQ(ItemCount(FormControl::DayList), 28);
    EXPECT_EQ(SelectedIndex(FormControl::DayList), 14);
}

TEST(BirthForm, FebruaryLengthsByYear) {
    ProgramWindow();
    const struct {
        int year, days;
    } cases[] = {{1904, 29}, {2000, 29}, {2048, 29}, {1901, 28}, {2001, 28}, {2050, 28}};
    PickItem(FormControl::MonthList, 1);
    for (const auto& c : cases) {
        PickItem(FormControl::YearList, c.year - 1901);
        EXPECT_EQ(ItemCount(FormControl::DayList), c.days) << c.year;
    }
}

TEST(BirthForm, ChangingTheYearRefitsTheDayList) {
    ProgramWindow();
    // 29 February 2000, then 2001: the day list loses the 29th and 28 February 2001 is read,
    // never a date that does not exist.
    PickDate(2000, 2, 29, 0);
    ASSERT_EQ(SelectedIndex(FormControl::DayList), 28);
    PickItem(FormControl::YearList, 2001 - 1901);
    EXPECT_EQ(ItemCount(FormControl::DayList), 28);
    EXPECT_EQ(SelectedIndex(FormControl::DayList), 27);
    EXPECT_EQ(ShownTexts(), L"2001|2|6|子|辛巳|庚寅|壬戌|子|6|7|15|16|44|" + Verse(44));

    // And back to a leap year: the 29th is there to pick again.
    PickItem(FormControl::YearList, 2004 - 1901);
    EXPECT_EQ(ItemCount(FormControl::DayList), 29);
    EXPECT_EQ(SelectedIndex(FormControl::DayList), 27);
}

TEST(BirthForm, SelectionsSetByMessageTriggerNothing) {
    ProgramWindow();
    PickDate(1990, 1, 30, 0);
    const std::wstring before = ShownTexts();
    for (const FormControl list : {FormControl::YearList, FormControl::MonthList,
                                   FormControl::DayList, FormControl::PeriodList}) {
        SendMessageW(FormWindow(list), CB_SETCURSEL, 3, 0);
    }
    EXPECT_EQ(ShownTexts(), before);
    EXPECT_EQ(ItemCount(FormControl::DayList), 31) << "no refit either";
}

TEST(BirthForm, AnyMessageWithSelectionChangeInItsHighWordTriggers) {
    ProgramWindow();
    PickDate(1990, 1, 30, 0);
    SendMessageW(FormWindow(FormControl::PeriodList), CB_SETCURSEL, 1, 0);
    ASSERT_EQ(FormText(FormControl::PeriodWeightField), L"16");
    SendMessageW(FormWindow(FormControl::PeriodList), WM_NULL, MAKEWPARAM(0, 1), 0);
    EXPECT_EQ(FormText(FormControl::PeriodWeightField), L"6");
    EXPECT_EQ(FormText(FormControl::TotalWeightField), L"36");
}

TEST(BirthForm, FieldsNeverTrigger) {
    ProgramWindow();
    PickDate(1990, 1, 30, 0);
    SendMessageW(FormWindow(FormControl::PeriodList), CB_SETCURSEL, 1, 0);
    SendMessageW(FormWindow(FormControl::TotalWeightField), WM_NULL, MAKEWPARAM(0, 1), 0);
    EXPECT_EQ(FormText(FormControl::TotalWeightField), L"46");
}

TEST(BirthForm, ClosingADropDownShowsWhatTheListShows) {
    // A selection made without a notification (Wine's hover-and-Escape) is read when the
    // drop-down closes.
    const HWND window = ProgramWindow();
    PickDate(2000, 2, 29, 0);
    SendMessageW(FormWindow(FormControl::YearList), CB_SETCURSEL, 2001 - 1901, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(FormControlId(FormControl::YearList), CBN_CLOSEUP),
                 reinterpret_cast<LPARAM>(FormWindow(FormControl::YearList)));
    EXPECT_EQ(ItemCount(FormControl::DayList), 28);
    EXPECT_EQ(ShownTexts(), L"2001|2|6|子|辛巳|庚寅|壬戌|子|6|7|15|16|44|" + Verse(44));

    // Closing again changes nothing.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(FormControlId(FormControl::YearList), CBN_CLOSEUP),
                 reinterpret_cast<LPARAM>(FormWindow(FormControl::YearList)));
    EXPECT_EQ(ShownTexts(), L"2001|2|6|子|辛巳|庚寅|壬戌|子|6|7|15|16|44|" + Verse(44));
}

struct StartUp {
    const char* what;
    int year, month, day, hour;
    int yearIndex, monthIndex, dayIndex, period, dayCount;
};

TEST(BirthForm, StartUpDefaultsForALocalTime) {
    ProgramWindow();
    const StartUp cases[] = {
        {"23:00 is 子", 2020, 6, 15, 23, 119, 5, 14, 0, 30},
        {"00:30 is 子", 2020, 6, 15, 0, 119, 5, 14, 0, 30},
        {"01:00 is 丑", 2020, 6, 15, 1, 119, 5, 14, 1, 30},
        {"02:00 is 丑", 2020, 6, 15, 2, 119, 5, 14, 1, 30},
        {"29 February of a leap year", 2000, 2, 29, 12, 99, 1, 28, 6, 29},
        {"a clock after 2050 takes 2050", 2051, 3, 10, 8, 149, 2, 9, 4, 31},
        {"a clock before 1901 takes 1901", 1899, 12, 31, 22, 0, 11, 30, 11, 31},
        {"29 February of 2052 becomes 28 February 2050", 2052, 2, 29, 9, 149, 1, 27, 5, 28},
    };
    for (const StartUp& c : cases) {
        SCOPED_TRACE(c.what);
        SelectDateTime(c.year, c.month, c.day, c.hour);
        EXPECT_EQ(SelectedIndex(FormControl::YearList), c.yearIndex);
        EXPECT_EQ(SelectedIndex(FormControl::MonthList), c.monthIndex);
        EXPECT_EQ(SelectedIndex(FormControl::DayList), c.dayIndex);
        EXPECT_EQ(SelectedIndex(FormControl::PeriodList), c.period);
        EXPECT_EQ(ItemCount(FormControl::DayList), c.dayCount);
        EXPECT_TRUE(formReady);
        EXPECT_EQ(FormText(FormControl::PeriodBranchField),
                  Widen(BirthPeriods[static_cast<std::size_t>(c.period)].periodBranch));
        EXPECT_FALSE(FormText(FormControl::VerseField).empty());
    }
}

TEST(BirthForm, StartsOnTodaysDateAndPeriod) {
    ProgramWindow();
    const std::time_t now = std::time(nullptr);
    const std::tm local = *std::localtime(&now);
    SelectCurrentDateTime();
    if (SelectedIndex(FormControl::DayList) != local.tm_mday - 1) GTEST_SKIP() << "midnight passed";
    EXPECT_EQ(SelectedIndex(FormControl::YearList), local.tm_year + 1900 - 1901);
    EXPECT_EQ(SelectedIndex(FormControl::MonthList), local.tm_mon);
    EXPECT_EQ(SelectedIndex(FormControl::PeriodList), (local.tm_hour + 1) / 2 % 12);
}

TEST(BirthForm, NothingIsComputedBeforeTheFormIsReady) {
    if (WindowAlreadyMade()) GTEST_SKIP() << "needs a process of its own, as CTest gives it";
    NoteWindowMade();
    instanceHandle = GetModuleHandleW(nullptr);
    mainWindow = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 450, 400, nullptr,
                                 nullptr, instanceHandle, nullptr);
    BuildBirthForm();
    ASSERT_FALSE(formReady);
    for (const FormControl list : {FormControl::YearList, FormControl::MonthList,
                                   FormControl::DayList, FormControl::PeriodList}) {
        EXPECT_EQ(SelectedIndex(list), -1) << "no selection after construction";
    }

    PickItem(FormControl::YearList, 2001 - 1901);
    PickItem(FormControl::MonthList, 1);
    EXPECT_EQ(ItemCount(FormControl::DayList), 28) << "the month still refits the day list";
    PickItem(FormControl::DayList, 0);
    PickItem(FormControl::PeriodList, 0);
    EXPECT_EQ(ShownTexts(), L"|||||||||||||") << "but no reading is computed";

    SelectDateTime(1901, 1, 1, 23);
    EXPECT_TRUE(formReady);
    EXPECT_EQ(ShownTexts(), L"1900|11|11|子|庚子|戊子|己卯|子|7|9|9|16|41|" + Verse(41));
}

}  // namespace
