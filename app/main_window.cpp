// The Main window: a fixed-size, white, captioned window with a menu, centred on the work
// area, whose client area holds the birth-date form.
#include "app/main_window.h"

#include <commctrl.h>

#include "app/birth_form.h"
#include "app/controls.h"
#include "app/menu_commands.h"
#include "app/resource_ids.h"

HINSTANCE instanceHandle = nullptr;
HWND mainWindow = nullptr;
HBRUSH controlBrush = nullptr;
HFONT formFont = nullptr;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// The class background; lives as long as the process.
HBRUSH classBackgroundBrush = nullptr;

// Builds the whole window before it first shows: position, brush and font, status bar,
// the form, and today's reading.
LRESULT OnCreate(HWND window) {
    mainWindow = window;  // the controls need their parent before CreateWindowExW returns
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const POINT position = CenteredPosition(workArea);
    MoveWindow(window, position.x, position.y, MainWindowWidth, MainWindowHeight, FALSE);
    CreateFormResources();
    CreateStatusBar();
    BuildBirthForm();
    SelectCurrentDateTime();
    return 0;
}

// Frees the brush and the font of the form; the default handling then destroys the window.
void OnClose() {
    DeleteObject(controlBrush);
    DeleteObject(formFont);
}

// Menu commands, and the closing of a list's drop-down (see OnListClosed).
void OnCommand(WPARAM wParam) {
    const WORD id = LOWORD(wParam);
    if (id >= IDM_EXIT && id <= IDM_ABOUT) {
        RunMenuCommand(id);
    } else if (HIWORD(wParam) == CBN_CLOSEUP) {
        OnListClosed(id);
    }
}

}  // namespace

POINT CenteredPosition(const RECT& workArea) {
    const LONG width = workArea.right - workArea.left;
    const LONG height = workArea.bottom - workArea.top;
    return {width > MainWindowWidth ? (width - MainWindowWidth) >> 1 : 0,
            height > MainWindowHeight ? (height - MainWindowHeight) >> 1 : 0};
}

void CreateFormResources() {
    const LOGBRUSH brush{BS_SOLID, White, 0};
    controlBrush = CreateBrushIndirect(&brush);

    LOGFONTW font{};
    font.lfHeight = 12;
    font.lfWidth = 6;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    lstrcpynW(font.lfFaceName, L"宋体", LF_FACESIZE);
    formFont = CreateFontIndirectW(&font);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_ACTIVATE:
            return 0;  // no default handling: the focus stays where it was
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_CLOSE:
            OnClose();
            break;
        case WM_COMMAND:
            OnCommand(wParam);
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(controlBrush);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    classBackgroundBrush = CreateSolidBrush(White);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(WNDCLASSEXW);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"IDI_TQ");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = classBackgroundBrush;
    windowClass.lpszMenuName = L"IDM_TQ";
    windowClass.lpszClassName = MainWindowClass;
    return RegisterClassExW(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExW(0, MainWindowClass, MainWindowCaption, MainWindowStyle, CW_USEDEFAULT,
                           CW_USEDEFAULT, MainWindowWidth, MainWindowHeight, nullptr, nullptr,
                           instance, nullptr);
}

int RunApplication(HINSTANCE instance, int showCommand) {
    instanceHandle = instance;
    // The status bar's class belongs to the common controls, which register it only when
    // asked to. Without it the form still works, only the bar is missing.
    const INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&commonControls);
    if (RegisterMainWindowClass(instance) == 0) return 1;
    const HWND window = CreateMainWindow(instance);
    if (window == nullptr) return 1;
    ShowWindow(window, showCommand);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
