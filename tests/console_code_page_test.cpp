// chenggu.exe switches the console to UTF-8 for its own output and puts the user's code page
// back when it ends, so that the next program in the same console is not garbled.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

DWORD RunInThisConsole(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return GetLastError() | 0x80000000u;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status;
}

TEST(ConsoleCodePage, IsTheUsersAgainAfterChengguEnds) {
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    ASSERT_TRUE(SetConsoleOutputCP(936));  // GBK, the usual code page of a Chinese console
    const std::wstring chenggu = L"\"" CHENGGU_EXE L"\"";
    EXPECT_EQ(RunInThisConsole(chenggu + L" 1990-01-30 子"), 0u);
    EXPECT_EQ(GetConsoleOutputCP(), 936u);
    EXPECT_EQ(RunInThisConsole(chenggu + L" 1990-02-30"), 2u);  // also after refusing input
    EXPECT_EQ(GetConsoleOutputCP(), 936u);
}

}  // namespace
