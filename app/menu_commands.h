// The menu commands of the Main window and the About dialog.
#pragma once

#include <windows.h>

// The program's two web pages: where a newer version can be downloaded, and the author's.
inline constexpr wchar_t UpdatePageAddress[] = L"https://chenggu.example.org/download";
inline constexpr wchar_t AuthorPageAddress[] = L"https://chenggu.example.org/author";

// The text of the About dialog: lines with an empty line between each two.
extern const wchar_t AboutText[];

// Runs the menu command IDM_EXIT, IDM_CHECK_UPDATE, IDM_AUTHOR_PAGE or IDM_ABOUT.
void RunMenuCommand(WORD command);

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
