// The program as a whole process: it starts, shows today's reading, and ends with exit code
// 0 by its close box and by its exit command.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/resource_ids.h"

namespace {

// The program sits beside this test's folder: <build>/app/chenggu-gui.exe.
std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/"));
    return folder + L"\\..\\app\\chenggu-gui.exe";
}

class RunningProgram {
  public:
    RunningProgram() {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
        started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != FALSE;
    }
    ~RunningProgram() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return started_; }

    // The program's Main window once its first reading shows, or null after 20 s. Other
    // processes (tests running alongside) may have windows of the same class.
    HWND WaitForReading() const {
        for (int attempt = 0; attempt < 400; ++attempt, Sleep(50)) {
            HWND window = nullptr;
            while ((window = FindWindowExW(nullptr, window, L"TqSuanMing", nullptr)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                wchar_t verse[128] = L"";
                GetDlgItemTextW(window, 140, verse, 128);
                if (owner == process_.dwProcessId && verse[0] != L'\0') return window;
            }
        }
        return nullptr;
    }

    // The exit code, or 259 (still running) after 20 s.
    DWORD WaitForExit() const {
        WaitForSingleObject(process_.hProcess, 20000);
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

TEST(Program, ClosingTheWindowEndsItWithExitCode0) {
    const RunningProgram program;
    ASSERT_TRUE(program.started());
    const HWND window = program.WaitForReading();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(Program, TheExitCommandEndsItWithExitCode0) {
    const RunningProgram program;
    ASSERT_TRUE(program.started());
    const HWND window = program.WaitForReading();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace
