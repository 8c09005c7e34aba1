// A long session with the real window: thousands of random list changes, each checked
// against MakeReading, with the process's objects and memory compared before and after.
// CHENGGU_SOAK_CHANGES sets the number of changes (1,000 by default).
//
// Windows reports the process's GDI and USER object counts (GetGuiResources); Wine does not
// (it answers 0 with ERROR_CALL_NOT_IMPLEMENTED), so there the test counts the thread's
// windows instead, and memory is counted as the bytes in use on every heap of the process.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "calendar/calendar_date.h"
#include "tests/app_test_support.h"

namespace {

using namespace chenggu;

struct Usage {
    DWORD gdiObjects, userObjects;  // 0 where the platform does not count them
    int windows;
    std::size_t heapBytes;
};

std::size_t HeapBytesInUse() {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    std::size_t bytes = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) bytes += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return bytes;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, CountWindow, count);
    return TRUE;
}

Usage CurrentUsage() {
    const HANDLE process = GetCurrentProcess();
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    return {GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS),
            windows, HeapBytesInUse()};
}

int RandomChanges(std::mt19937& random, int changes) {
    constexpr FormControl Lists[] = {FormControl::YearList, FormControl::MonthList,
                                     FormControl::DayList, FormControl::PeriodList};
    int mismatches = 0;
    for (int i = 0; i < changes; ++i) {
        const FormControl list = Lists[random() % 4];
        PickItem(list, static_cast<int>(random() % static_cast<unsigned>(ItemCount(list))));
        PumpMessages();

        const auto year = static_cast<std::uint16_t>(SelectedIndex(FormControl::YearList) + 1901);
        const auto month = static_cast<std::uint16_t>(SelectedIndex(FormControl::MonthList) + 1);
        const bool dayListFits =
            ItemCount(FormControl::DayList) == CalendarDate::GregorianMonthDays(year, month);
        if (!dayListFits || ShownTexts() != ExpectedTexts()) {
            ADD_FAILURE() << "change " << i << ": " << year << "-" << month << " shows "
                          << testing::PrintToString(ShownTexts());
            if (++mismatches == 5) break;
        }
    }
    return mismatches;
}

TEST(Soak, RandomListChangesAlwaysShowTheListsReading) {
    const char* setting = std::getenv("CHENGGU_SOAK_CHANGES");
    const int changes = setting != nullptr ? std::atoi(setting) : 1000;
    ProgramWindow();
    std::mt19937 random(20100924);

    // A warm-up, so that the comparison leaves out what the first changes allocate once.
    ASSERT_EQ(RandomChanges(random, 100), 0);
    const Usage before = CurrentUsage();
    ASSERT_EQ(RandomChanges(random, changes), 0);
    const Usage after = CurrentUsage();

    std::printf(
        "%d changes: GDI objects %lu -> %lu, USER objects %lu -> %lu, windows %d -> %d, "
        "heap bytes in use %zu -> %zu\n",
        changes, before.gdiObjects, after.gdiObjects, before.userObjects, after.userObjects,
        before.windows, after.windows, before.heapBytes, after.heapBytes);
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_LE(after.userObjects, before.userObjects);
    EXPECT_EQ(after.windows, before.windows);
    // The texts in the lists and fields differ in length from one date to the next (the day
    // list holds 28 to 31 items); a leak of even two bytes a change would be above this.
    EXPECT_LE(after.heapBytes, before.heapBytes + 16 * 1024);
}

}  // namespace
