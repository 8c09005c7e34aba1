#include "app/menu_commands.h"

#include <shellapi.h>

#include "app/main_window.h"
#include "app/resource_ids.h"

#ifndef CHENGGU_VERSION_SHORT
#define CHENGGU_VERSION_SHORT "1.0"
#endif

const wchar_t AboutText[] =
    L"版本：" CHENGGU_VERSION_SHORT L"\r\n\r\n"
    L"发布日期：2010-09-24\r\n\r\n"
    L"使用条款：本软件免费使用，仅供娱乐，请勿当真。\r\n\r\n\r\n\r\n"
    L"作者：Tevrin\r\n\r\n"
    L"即时通讯号：20100924\r\n\r\n"
    L"电子邮件：tevrin@chenggu.example.org\r\n\r\n"
    L"个人空间：https://chenggu.example.org/author";

namespace {

void OpenWebPage(const wchar_t* address) {
    ShellExecuteW(mainWindow, L"Open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void RunMenuCommand(WORD command) {
    switch (command) {
        case IDM_EXIT:
            PostQuitMessage(0);  // the loop ends without WM_CLOSE
            break;
        case IDM_CHECK_UPDATE:
            OpenWebPage(UpdatePageAddress);
            break;
        case IDM_AUTHOR_PAGE:
            OpenWebPage(AuthorPageAddress);
            break;
        case IDM_ABOUT:
            DialogBoxParamW(instanceHandle, MAKEINTRESOURCEW(IDD_ABOUT), mainWindow, AboutDlgProc,
                            0);
            break;
        default:
            break;
    }
}

// Ends by its button (a click or Enter) or its close box. Escape, which the dialog manager
// turns into the cancel command, leaves it open.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowTextW(GetDlgItem(dialog, IDC_ABOUT_TEXT), AboutText);
            return TRUE;  // the focus goes to the first tab stop, the button
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_ABOUT_CLOSE) return FALSE;
            EndDialog(dialog, 0);
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}
