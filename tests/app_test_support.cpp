#include "tests/app_test_support.h"

#include "app/controls.h"
#include "app/main_window.h"
#include "reading/reading.h"

#include <array>
#include <map>

namespace {

using namespace chenggu;

bool windowMade = false;
std::map<std::uint16_t, Creation> creations;
HHOOK creationHook = nullptr;

// Records the parameters of every child window of the Main window as it is created.
LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if ((create.style & WS_CHILD) != 0 && create.hwndParent == mainWindow) {
            wchar_t name[64] = L"";
            if (!IS_INTRESOURCE(create.lpszClass)) lstrcpynW(name, create.lpszClass, 64);
            const auto id = static_cast<std::uint16_t>(reinterpret_cast<UINT_PTR>(create.hMenu));
            creations.emplace(id, Creation{name, static_cast<DWORD>(create.style),
                                           static_cast<DWORD>(create.dwExStyle), create.x, create.y,
                                           create.cx, create.cy});
        }
    }
    (void)wParam;
    return CallNextHookEx(creationHook, code, wParam, lParam);
}

}  // namespace

void RecordChildCreation() {
    if (creationHook == nullptr) {
        creationHook = SetWindowsHookExW(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
    }
}

const Creation* CreationOf(std::uint16_t id) {
    const auto found = creations.find(id);
    return found != creations.end() ? &found->second : nullptr;
}

bool WindowAlreadyMade() { return windowMade; }
void NoteWindowMade() { windowMade = true; }

HWND ProgramWindow() {
    static const HWND window = [] {
        NoteWindowMade();
        RecordChildCreation();
        instanceHandle = GetModuleHandleW(nullptr);
        RegisterMainWindowClass(instanceHandle);
        return CreateMainWindow(instanceHandle);
    }();
    return window;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

HWND FormWindow(FormControl control) { return FindControl(FormControlId(control)); }

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring FormText(FormControl control) { return WindowText(FormWindow(control)); }

void PickItem(FormControl list, int index) {
    const HWND combo = FormWindow(list);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    GetComboBoxInfo(combo, &info);
    SendMessageW(info.hwndList, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(combo, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(info.hwndList), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(info.hwndList));
}

int SelectedIndex(FormControl list) {
    return static_cast<int>(SendMessageW(FormWindow(list), CB_GETCURSEL, 0, 0));
}

int ItemCount(FormControl list) {
    return static_cast<int>(SendMessageW(FormWindow(list), CB_GETCOUNT, 0, 0));
}

std::wstring ItemText(FormControl list, int index) {
    const HWND combo = FormWindow(list);
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return L"<none>";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void PickDate(int year, int month, int day, int period) {
    PickItem(FormControl::YearList, year - 1901);
    PickItem(FormControl::MonthList, month - 1);
    PickItem(FormControl::DayList, day - 1);
    PickItem(FormControl::PeriodList, period);
}

namespace {

std::wstring Joined(const std::array<std::wstring, 14>& texts) {
    std::wstring joined = texts[0];
    for (std::size_t i = 1; i < texts.size(); ++i) joined += L"|" + texts[i];
    return joined;
}

}  // namespace

std::wstring ShownTexts() {
    std::array<std::wstring, 14> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = FormText(ResultFields[i]);
    return Joined(texts);
}

std::wstring ExpectedTexts() {
    const auto year = static_cast<std::uint16_t>(SelectedIndex(FormControl::YearList) + 1901);
    const auto month = static_cast<std::uint16_t>(SelectedIndex(FormControl::MonthList) + 1);
    const auto day = static_cast<std::uint16_t>(SelectedIndex(FormControl::DayList) + 1);
    return Joined(
        ResultTexts(MakeReading(year, month, day, SelectedIndex(FormControl::PeriodList))));
}
