// gui-probe: looks at the running program from outside its process, for the end-to-end
// test and the run script. It reads the Main window with FindWindowW, GetDlgItem,
// WM_GETTEXT and the list messages; it never changes the form.
//
//   gui-probe wait              waits up to 20 s for the first reading to show
//   gui-probe rect ID           screen rectangle of a control: x y width height
//   gui-probe item ID INDEX     screen point of an item of the dropped-down list of ID: x y
//   gui-probe dialog            screen rectangle of the open About dialog: x y width height
//   gui-probe top               index of the first item the dropped-down list shows
//   gui-probe cursel ID         selected index of a list
//   gui-probe count ID          item count of a list
//   gui-probe fields            the fourteen result texts, joined by |
//   gui-probe check             "ok" when the fields show the reading of the lists' date
//   gui-probe close             asks the program to close (WM_CLOSE)
//   gui-probe launch PATH CLASS starts a program and prints the milliseconds until a visible
//                               window of CLASS shows (for TqSuanMing: until its first
//                               reading shows); then closes it
// Exit status 0 on success, 1 when the window or the answer is not there.
#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/birth_form.h"
#include "reading/reading.h"

namespace {

HWND MainWindow() { return FindWindowW(L"TqSuanMing", nullptr); }

std::wstring Text(HWND window) {
    wchar_t text[512] = L"";
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

void Print(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

int ListMessage(HWND window, int id, UINT message) {
    return static_cast<int>(SendMessageW(GetDlgItem(window, id), message, 0, 0));
}

std::wstring Joined(const std::array<std::wstring, 14>& texts) {
    std::wstring joined = texts[0];
    for (std::size_t i = 1; i < texts.size(); ++i) joined += L"|" + texts[i];
    return joined;
}

std::wstring Fields(HWND window) {
    std::array<std::wstring, 14> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = Text(GetDlgItem(window, FormControlId(ResultFields[i])));
    }
    return Joined(texts);
}

// The texts the fields should show for the lists' current selections.
std::wstring ExpectedFields(HWND window) {
    const auto selection = [window](FormControl list) {
        return ListMessage(window, FormControlId(list), CB_GETCURSEL);
    };
    const Reading reading =
        MakeReading(static_cast<std::uint16_t>(selection(FormControl::YearList) + 1901),
                    static_cast<std::uint16_t>(selection(FormControl::MonthList) + 1),
                    static_cast<std::uint16_t>(selection(FormControl::DayList) + 1),
                    selection(FormControl::PeriodList));
    return Joined(ResultTexts(reading));
}

// The dropped-down part of a list is a visible top-level window of class ComboLBox.
HWND DroppedList() {
    for (HWND window = FindWindowExW(nullptr, nullptr, L"ComboLBox", nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, L"ComboLBox", nullptr)) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// A visible window of the class that belongs to the process.
HWND WindowOf(DWORD processId, const wchar_t* windowClass) {
    for (HWND window = FindWindowExW(nullptr, nullptr, windowClass, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

int Launch(std::wstring path, const std::wstring& windowClass) {
    const bool ours = windowClass == L"TqSuanMing";
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "gui-probe: cannot start the program\n");
        return 1;
    }
    HWND window = nullptr;
    for (int attempt = 0; attempt < 20000 && window == nullptr; ++attempt) {
        window = WindowOf(process.dwProcessId, windowClass.c_str());
        if (window != nullptr && ours && Text(GetDlgItem(window, 140)).empty()) window = nullptr;
        if (window == nullptr) Sleep(1);
    }
    QueryPerformanceCounter(&now);
    if (window != nullptr) {
        std::printf("%.1f\n", 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                                  static_cast<double>(frequency.QuadPart));
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return window != nullptr ? 0 : 1;
}

int Fail(const char* why) {
    std::fprintf(stderr, "gui-probe: %s\n", why);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Fail("which command?");
    const std::wstring command = argv[1];
    const int id = argc > 2 ? _wtoi(argv[2]) : 0;

    if (command == L"launch") {
        if (argc < 4) return Fail("launch PATH CLASS");
        return Launch(argv[2], argv[3]);
    }
    if (command == L"wait") {
        for (int attempt = 0; attempt < 400; ++attempt, Sleep(50)) {
            const HWND window = MainWindow();
            if (window != nullptr && IsWindowVisible(window) &&
                !Text(GetDlgItem(window, 140)).empty()) {
                return 0;
            }
        }
        return Fail("no reading after 20 s");
    }

    const HWND window = MainWindow();
    if (window == nullptr) return Fail("the program's window is not there");

    if (command == L"rect") {
        RECT rect{};
        if (!GetWindowRect(id == 0 ? window : GetDlgItem(window, id), &rect)) {
            return Fail("no such control");
        }
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top);
    } else if (command == L"item") {
        const HWND list = DroppedList();
        if (list == nullptr || argc < 4) return Fail("no list is dropped down");
        const int index = _wtoi(argv[3]);
        const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
        const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        POINT point{8, (index - top) * height + height / 2};
        ClientToScreen(list, &point);
        std::printf("%ld %ld\n", point.x, point.y);
    } else if (command == L"dialog") {
        const HWND dialog = FindWindowW(L"#32770", nullptr);
        RECT rect{};
        if (dialog == nullptr || !GetWindowRect(dialog, &rect)) return Fail("no dialog is open");
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top);
    } else if (command == L"top") {
        const HWND list = DroppedList();
        if (list == nullptr) return Fail("no list is dropped down");
        std::printf("%d\n", static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)));
    } else if (command == L"cursel") {
        std::printf("%d\n", ListMessage(window, id, CB_GETCURSEL));
    } else if (command == L"count") {
        std::printf("%d\n", ListMessage(window, id, CB_GETCOUNT));
    } else if (command == L"fields") {
        Print(Fields(window));
    } else if (command == L"check") {
        const std::wstring shown = Fields(window), expected = ExpectedFields(window);
        if (shown != expected) {
            Print(L"shown:    " + shown);
            Print(L"expected: " + expected);
            return 1;
        }
        std::printf("ok\n");
    } else if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        return Fail("unknown command");
    }
    return 0;
}
