// Drives the real Main window in-process, under Wine's null graphics driver in the test runs.
// The window's state (registries, form-ready flag) is process-wide by design, so a process
// makes one Main window; CTest runs every test in a process of its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/birth_form.h"

// The Main window, made as the program makes it (class, creation, WM_CREATE) but not shown;
// the same window for every call in a process.
HWND ProgramWindow();

// Whether this process already made a Main window or a form (see ProgramWindow).
bool WindowAlreadyMade();
void NoteWindowMade();

// How a child window of the Main window was created: its class name as passed, style,
// extended style and rectangle (parent client coordinates).
struct Creation {
    std::wstring windowClass;
    DWORD style, exStyle;
    int x, y, width, height;
};
// Starts recording the creation of the Main window's children (ProgramWindow does this).
void RecordChildCreation();
// The creation of the child window with this identifier, or null.
const Creation* CreationOf(std::uint16_t id);

// Dispatches the messages waiting in this thread's queue.
void PumpMessages();

HWND FormWindow(FormControl control);
std::wstring WindowText(HWND window);
std::wstring FormText(FormControl control);

// Selects an item the way a user's pick does: the list's drop-down part sets the selection
// and tells the list with LBN_SELCHANGE.
void PickItem(FormControl list, int index);
int SelectedIndex(FormControl list);
int ItemCount(FormControl list);
std::wstring ItemText(FormControl list, int index);

// Selects a whole date and period by picks, year first.
void PickDate(int year, int month, int day, int period);

// The texts of the fourteen result fields, joined by "|": as shown, and as they should be
// for what the four lists show.
std::wstring ShownTexts();
std::wstring ExpectedTexts();
