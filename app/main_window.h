// The program's one top-level window: its class, creation, message loop and procedure.
#pragma once

#include <windows.h>

inline constexpr wchar_t MainWindowClass[] = L"TqSuanMing";
inline constexpr wchar_t MainWindowCaption[] = L"称骨算命 －－ Tevrin";
inline constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;  // fixed size
inline constexpr int MainWindowWidth = 450;
inline constexpr int MainWindowHeight = 400;

// Process-wide handles, set once and never reset.
extern HINSTANCE instanceHandle;
extern HWND mainWindow;
extern HBRUSH controlBrush;  // returned for the control-colour messages
extern HFONT formFont;       // the labels' and result fields' font

// Initialises the common controls' bar classes (the status bar), registers the class,
// creates and shows the Main window and runs the message loop until a quit message arrives.
// Returns the exit code: 0 after the quit message, 1 when the class cannot be registered or
// the window cannot be created.
int RunApplication(HINSTANCE instance, int showCommand);

ATOM RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the control brush and the form font.
void CreateFormResources();

// Top-left corner of the window centred in a work area of the given size, measured from the
// screen origin; 0 on an axis where the work area is smaller than the window.
POINT CenteredPosition(const RECT& workArea);
