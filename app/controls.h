// The child controls of the Main window: four factories with fixed classes and styles, the
// registries in which controls are found again by identifier, and the replacement window
// procedure of every list and result field.
#pragma once

#include <windows.h>

#include <cstdint>

// Takes a block of control identifiers from the process-wide counter (which starts at 100)
// and returns the first of them. The birth-date form takes its 40 during static
// initialisation, so they are 101-140.
std::uint16_t TakeControlIds(std::uint16_t count);

// A centred text label in the form font. Not registered.
void CreateLabel(std::uint16_t id, const wchar_t* text, int x, int y, int width, int height);
// The status bar along the bottom of the Main window, registered under STATUS_BAR_KEY.
void CreateStatusBar();
// A borderless read-only multi-line field in the form font; registered and subclassed.
void CreateReadOnlyField(std::uint16_t id, int x, int y, int width, int height);
// A drop-down list in the system font; height includes the dropped-down part. Registered
// and subclassed.
void CreateDropList(std::uint16_t id, int x, int y, int width, int height);

// Adds a control to the registry; an identifier already there keeps its first window.
void RegisterControl(std::uint16_t id, HWND window);
// The window registered under an identifier, or null when there is none.
HWND FindControl(std::uint16_t id);

// Passes every message on to the control's own procedure; a selection change of a list
// first updates the form (OnListSelectionChange).
LRESULT CALLBACK ControlWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Set once the first reading is shown; until then list changes compute no reading.
extern bool formReady;
