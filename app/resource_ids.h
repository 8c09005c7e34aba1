// Identifiers of the resources and of the controls that are not part of the birth-date
// form (whose identifiers 101-140 come from the control id counter, see controls.h).
// Shared by the C++ code and resources/chenggu.rc. The icon "IDI_TQ" and the menu "IDM_TQ"
// are named, not numbered.
#pragma once

// Menu commands.
#define IDM_EXIT 1
#define IDM_CHECK_UPDATE 2
#define IDM_AUTHOR_PAGE 3
#define IDM_ABOUT 4

// The About dialog template and its controls.
#define IDD_ABOUT 21
#define IDC_ABOUT_ICON 22
#define IDC_ABOUT_TITLE 23
#define IDC_ABOUT_CLOSE 24
#define IDC_ABOUT_TEXT 25

// The key under which the status bar is registered (its child identifier is 0).
#define STATUS_BAR_KEY 230
