#include "app/controls.h"

#include <commctrl.h>

#include <map>

#include "app/birth_form.h"
#include "app/main_window.h"
#include "app/resource_ids.h"

bool formReady = false;

namespace {

// Constant-initialised, so it holds 100 before any block is taken during static
// initialisation of other files.
std::uint16_t controlIdCounter = 100;

std::map<std::uint16_t, HWND> controlRegistry;
std::map<std::uint16_t, WNDPROC> subclassRegistry;

// The high word of wParam that a list receives from its drop-down part when the user picks
// an item (LBN_SELCHANGE).
constexpr WORD ListSelectionChange = 1;

constexpr DWORD LabelStyle = WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_CENTER;
constexpr DWORD StatusBarStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr DWORD ReadOnlyFieldStyle = WS_CHILD | WS_VISIBLE | ES_READONLY | ES_MULTILINE | ES_CENTER;
constexpr DWORD DropListStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_DISABLENOSCROLL;

HWND CreateChild(const wchar_t* windowClass, const wchar_t* text, DWORD style, std::uint16_t id,
                 int x, int y, int width, int height) {
    return CreateWindowExW(0, windowClass, text, style, x, y, width, height, mainWindow,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instanceHandle,
                           nullptr);
}

void GiveFormFont(HWND control) {
    if (formFont != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(formFont), 1);
    }
}

void Subclass(std::uint16_t id, HWND control) {
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlWndProc)));
    subclassRegistry.emplace(id, previous);
}

}  // namespace

std::uint16_t TakeControlIds(std::uint16_t count) {
    const auto first = static_cast<std::uint16_t>(controlIdCounter + 1);
    controlIdCounter = static_cast<std::uint16_t>(controlIdCounter + count);
    return first;
}

void CreateLabel(std::uint16_t id, const wchar_t* text, int x, int y, int width, int height) {
    GiveFormFont(CreateChild(L"Static", text, LabelStyle, id, x, y, width, height));
}

void CreateStatusBar() {
    const HWND bar = CreateChild(STATUSCLASSNAMEW, nullptr, StatusBarStyle, 0, -100, -100, 10, 10);
    RegisterControl(STATUS_BAR_KEY, bar);
}

void CreateReadOnlyField(std::uint16_t id, int x, int y, int width, int height) {
    const HWND field = CreateChild(L"Edit", nullptr, ReadOnlyFieldStyle, id, x, y, width, height);
    GiveFormFont(field);
    RegisterControl(id, field);
    Subclass(id, field);
}

void CreateDropList(std::uint16_t id, int x, int y, int width, int height) {
    const HWND list = CreateChild(L"ComboBox", nullptr, DropListStyle, id, x, y, width, height);
    RegisterControl(id, list);
    Subclass(id, list);
}

void RegisterControl(std::uint16_t id, HWND window) { controlRegistry.emplace(id, window); }

HWND FindControl(std::uint16_t id) {
    const auto found = controlRegistry.find(id);
    return found != controlRegistry.end() ? found->second : nullptr;
}

LRESULT CALLBACK ControlWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto id = static_cast<std::uint16_t>(GetWindowLongPtrW(window, GWLP_ID) & 0xffff);
    // The test looks at wParam alone, whatever the message. The form's own list messages never
    // carry 1 in its high word; a message that happens to (one carrying a window handle there)
    // only recomputes the reading the lists already show.
    if (HIWORD(wParam) == ListSelectionChange) OnListSelectionChange(id);

    const auto previous = subclassRegistry.find(id);
    if (previous == subclassRegistry.end()) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(previous->second, window, message, wParam, lParam);
}
