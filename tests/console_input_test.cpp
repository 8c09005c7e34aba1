// chenggu --batch typed into a Windows console: the console's UTF-16 is read and handed on as
// UTF-8 whatever the console's code page, so that a Chinese console (GBK) is understood.
#include "cli/console_input.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <istream>
#include <string>
#include <vector>

namespace {

using chenggu::cli::ConsoleInput;

// A console that hands out the given chunks of UTF-16, one a read.
ConsoleInput::Reader Chunks(std::vector<std::wstring> chunks) {
    return [chunks = std::move(chunks), next = std::size_t{0}](wchar_t* units,
                                                               std::size_t size) mutable {
        if (next == chunks.size()) return std::size_t{0};
        const std::wstring& chunk = chunks[next++];
        const std::size_t count = std::min(size, chunk.size());
        std::copy_n(chunk.begin(), count, units);
        return count;
    };
}

std::vector<std::string> Lines(ConsoleInput& console) {
    std::istream in(&console);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(ConsoleInput, HandsOnUtf8AndEndsAtCtrlZ) {
    const std::wstring smile = L"\xd83d\xde00";  // one character, two UTF-16 units
    ConsoleInput console(Chunks({L"1990-01-30 子\r\n2020-闰4-1 " + smile.substr(0, 1),
                                 smile.substr(1) + L"\r\n", L"\x1a\r\n", L"never read\r\n"}));
    EXPECT_EQ(Lines(console), (std::vector<std::string>{"1990-01-30 子\r", "2020-闰4-1 😀\r"}));
}

// A real console with the code page of Chinese Windows: keys typed into it reach chenggu as
// the characters they are.
TEST(ConsoleInput, ChengguReadsAChineseConsole) {
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    ASSERT_TRUE(SetConsoleCP(936));
    const HANDLE input =
        CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(input, INVALID_HANDLE_VALUE);
    std::vector<INPUT_RECORD> keys;
    for (const wchar_t c : std::wstring(L"1990-01-30 子\r\x1a\r")) {
        for (const BOOL down : {TRUE, FALSE}) {
            INPUT_RECORD key{};
            key.EventType = KEY_EVENT;
            key.Event.KeyEvent.bKeyDown = down;
            key.Event.KeyEvent.wRepeatCount = 1;
            key.Event.KeyEvent.uChar.UnicodeChar = c;
            key.Event.KeyEvent.wVirtualKeyCode = c == L'\r' ? VK_RETURN : 0;
            keys.push_back(key);
        }
    }
    DWORD written = 0;
    ASSERT_TRUE(WriteConsoleInputW(input, keys.data(), static_cast<DWORD>(keys.size()), &written));

    wchar_t outputPath[MAX_PATH], folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"cg", 0, outputPath);
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    const HANDLE output = CreateFileW(outputPath, GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(output, INVALID_HANDLE_VALUE);
    SetHandleInformation(input, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::wstring commandLine = L"\"" CHENGGU_EXE L"\" --batch";
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    DWORD status = 99;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(output);
    CloseHandle(input);

    std::string answer(4096, '\0');
    const HANDLE read =
        CreateFileW(outputPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD size = 0;
    ReadFile(read, answer.data(), static_cast<DWORD>(answer.size()), &size, nullptr);
    CloseHandle(read);
    DeleteFileW(outputPath);
    answer.resize(size);
    EXPECT_EQ(status, 0u) << answer;
    EXPECT_NE(answer.find("\"date\":\"1990-01-30\""), std::string::npos) << answer;
    EXPECT_NE(answer.find("\"periodBranch\":\"子\""), std::string::npos) << answer;
}

}  // namespace
