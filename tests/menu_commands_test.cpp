// The resources (menu, About dialog template, icon) and the About dialog as a user meets it.
#include "app/menu_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/resource_ids.h"
#include "tests/app_test_support.h"

namespace {

const WORD UsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

TEST(Menu, TwoPopupsWithTheirCommands) {
    const HMENU menu = GetMenu(ProgramWindow());
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(MenuText(menu, 0), L"文件(&F)");
    EXPECT_EQ(MenuText(menu, 1), L"帮助(&H)");

    const HMENU file = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(file), 1);
    EXPECT_EQ(MenuText(file, 0), L"退出(&X)");
    EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(IDM_EXIT));

    const HMENU help = GetSubMenu(menu, 1);
    ASSERT_EQ(GetMenuItemCount(help), 5);
    const struct {
        const wchar_t* text;
        int id;  // -1 for a separator
    } items[] = {{L"检查更新(&U)", IDM_CHECK_UPDATE},
                 {L"", -1},
                 {L"访问作者 MSN 空间(&W)", IDM_AUTHOR_PAGE},
                 {L"", -1},
                 {L"关于(&A) 称骨算命", IDM_ABOUT}};
    for (UINT i = 0; i < 5; ++i) {
        const auto state = static_cast<UINT>(GetMenuState(help, i, MF_BYPOSITION));
        if (items[i].id < 0) {
            EXPECT_NE(state & MF_SEPARATOR, 0u) << i;
            continue;
        }
        EXPECT_EQ(MenuText(help, i), items[i].text);
        EXPECT_EQ(GetMenuItemID(help, static_cast<int>(i)), static_cast<UINT>(items[i].id));
        EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u) << i;
    }
}

TEST(Resources, StoredUnderUsEnglish) {
    const HMODULE module = GetModuleHandleW(nullptr);
    EXPECT_NE(FindResourceExW(module, MAKEINTRESOURCEW(5) /* RT_DIALOG */,
                              MAKEINTRESOURCEW(IDD_ABOUT), UsEnglish),
              nullptr);
    EXPECT_NE(FindResourceExW(module, MAKEINTRESOURCEW(4) /* RT_MENU */, L"IDM_TQ", UsEnglish),
              nullptr);
    EXPECT_NE(
        FindResourceExW(module, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, L"IDI_TQ", UsEnglish),
        nullptr);
}

TEST(Resources, IconIsOne48PixelTrueColourImage) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, L"IDI_TQ", MAKEINTRESOURCEW(14));
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    ASSERT_EQ(count, 1);
    const BYTE* entry = group + 6;  // width, height, colours, reserved, planes, bit count, ...
    EXPECT_EQ(entry[0], 48);
    EXPECT_EQ(entry[1], 48);
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32);

    const auto icon = static_cast<HICON>(LoadImageW(module, L"IDI_TQ", IMAGE_ICON, 48, 48, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 48);
    EXPECT_EQ(bitmap.bmHeight, 48);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

// Reads a dialog template as the dialog manager does.
class TemplateReader {
  public:
    explicit TemplateReader(const BYTE* data) : at_(data) {}
    DWORD Dword() {
        DWORD v;
        std::memcpy(&v, at_, 4);
        at_ += 4;
        return v;
    }
    WORD Word() {
        WORD v;
        std::memcpy(&v, at_, 2);
        at_ += 2;
        return v;
    }
    short Short() { return static_cast<short>(Word()); }
    // A string, or 0xFFFF and an ordinal (returned as "#n").
    std::wstring NameOrOrdinal() {
        const WORD first = Word();
        if (first == 0xffff) return L"#" + std::to_wstring(Word());
        std::wstring text;
        for (WORD c = first; c != 0; c = Word()) text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignToDword(const BYTE* base) {
        while ((at_ - base) % 4 != 0) ++at_;
    }

  private:
    const BYTE* at_;
};

TEST(AboutDialog, TemplateAsStored) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDD_ABOUT), MAKEINTRESOURCEW(5));
    ASSERT_NE(found, nullptr);
    const auto* base = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    TemplateReader reader(base);

    ASSERT_NE(reader.Word(), 0xffff) << "not the extended form";
    reader = TemplateReader(base);
    EXPECT_EQ(reader.Dword(), 0x80C800C0u);
    EXPECT_EQ(reader.Dword(), 0u);
    const WORD items = reader.Word();
    EXPECT_EQ(items, 4);
    EXPECT_EQ(reader.Short(), 10);
    EXPECT_EQ(reader.Short(), 25);
    EXPECT_EQ(reader.Short(), 200);
    EXPECT_EQ(reader.Short(), 180);
    EXPECT_EQ(reader.NameOrOrdinal(), L"") << "no menu";
    EXPECT_EQ(reader.NameOrOrdinal(), L"") << "the standard dialog class";
    EXPECT_EQ(reader.NameOrOrdinal(), L"") << "an empty caption";
    EXPECT_EQ(reader.Word(), 12) << "point size";
    EXPECT_EQ(reader.NameOrOrdinal(), L"宋体");

    const struct {
        WORD id;
        const wchar_t* windowClass;  // #128 button, #129 edit, #130 static
        const wchar_t* text;
        DWORD style;
        short x, y, cx, cy;
    } expected[] = {
        {24, L"#128", L"关 闭", 0x50010001, 75, 155, 40, 20},
        {22, L"#130", L"IDI_TQ", 0x50000003, 55, 2, 0, 0},
        {23, L"#130", L"称骨算命", 0x50020000, 79, 8, 100, 12},
        {25, L"#129", L"", 0x50010844, 10, 25, 220, 120},
    };
    for (const auto& item : expected) {
        SCOPED_TRACE(testing::Message() << "item " << item.id);
        reader.AlignToDword(base);
        EXPECT_EQ(reader.Dword(), item.style);
        EXPECT_EQ(reader.Dword(), 0u) << "extended style";
        EXPECT_EQ(reader.Short(), item.x);
        EXPECT_EQ(reader.Short(), item.y);
        EXPECT_EQ(reader.Short(), item.cx);
        EXPECT_EQ(reader.Short(), item.cy);
        EXPECT_EQ(reader.Word(), item.id);
        EXPECT_EQ(reader.NameOrOrdinal(), item.windowClass);
        EXPECT_EQ(reader.NameOrOrdinal(), item.text);
        EXPECT_EQ(reader.Word(), 0) << "no creation data";
    }
}

TEST(AboutDialog, TextLayout) {
    const std::wstring text = AboutText;
    EXPECT_EQ(
        text.rfind(L"版本：" CHENGGU_VERSION_SHORT L"\r\n\r\n发布日期：2010-09-24\r\n\r\n", 0), 0u);
    std::vector<std::wstring> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(L"\r\n\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::wstring::npos) break;
        start = end + 4;
    }
    // Version, date, terms of use, the empty line of the four breaks, then four lines of a
    // label and a value; nothing after the last.
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_FALSE(lines[2].empty());
    EXPECT_TRUE(lines[3].empty());
    for (std::size_t i = 4; i < 8; ++i) {
        EXPECT_NE(lines[i].find(L"："), std::wstring::npos) << i;
        EXPECT_EQ(lines[i].find(L"\r"), std::wstring::npos) << i;
    }
    EXPECT_NE(lines[7].find(L"https://"), std::wstring::npos);
}

// Runs the About command and, inside its modal loop, each of the steps in turn on a timer.
// Returns when the dialog ends; a dialog still open after the last step is ended and
// reported.
struct AboutSession {
    std::vector<std::function<void(HWND dialog)>> steps;
    std::size_t next = 0;
    bool endedByTheTest = false;
};
AboutSession* session = nullptr;

HWND OpenDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[16] = L"";
            GetClassNameW(window, name, 16);
            if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
    const HWND dialog = OpenDialog();
    if (dialog == nullptr) return;  // not shown yet, or already ended
    if (session->next < session->steps.size()) {
        session->steps[session->next++](dialog);
    } else {
        session->endedByTheTest = true;
        EndDialog(dialog, 0);
    }
}

bool RunAboutDialog(AboutSession& steps) {
    session = &steps;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, RunNextStep);
    SendMessageW(ProgramWindow(), WM_COMMAND, IDM_ABOUT, 0);
    KillTimer(nullptr, timer);
    session = nullptr;
    return !steps.endedByTheTest;  // true: the dialog ended by itself
}

void PressKey(HWND dialog, WPARAM key) {
    const HWND target = GetFocus() != nullptr ? GetFocus() : dialog;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

TEST(AboutDialog, ShowsItsTextAndDisablesTheMainWindow) {
    bool checked = false;
    AboutSession about;
    about.steps.push_back([&](HWND dialog) {
        checked = true;
        EXPECT_EQ(WindowText(dialog), L"");
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_ABOUT_TEXT)), AboutText);
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_ABOUT_TITLE)), L"称骨算命");
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_ABOUT_CLOSE)), L"关 闭");
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_ABOUT_CLOSE));
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), ProgramWindow());
        EXPECT_FALSE(IsWindowEnabled(ProgramWindow())) << "the Main window takes no input";
        EXPECT_NE(SendDlgItemMessageW(dialog, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
        SendDlgItemMessageW(dialog, IDC_ABOUT_CLOSE, BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(RunAboutDialog(about)) << "the button ends the dialog";
    EXPECT_TRUE(checked);
    EXPECT_TRUE(IsWindowEnabled(ProgramWindow()));
}

TEST(AboutDialog, EscapeLeavesItOpenAndEnterClosesIt) {
    bool openAfterEscape = false;
    AboutSession about;
    about.steps.push_back([](HWND dialog) { PressKey(dialog, VK_ESCAPE); });
    about.steps.push_back([&](HWND dialog) {
        openAfterEscape = IsWindow(dialog) != FALSE;
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_TRUE(RunAboutDialog(about)) << "Enter ends the dialog";
    EXPECT_TRUE(openAfterEscape);
}

TEST(AboutDialog, CancelAndOtherCommandsAreIgnored) {
    bool open = false;
    AboutSession about;
    about.steps.push_back([&](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_TEXT, EN_SETFOCUS), 0);
        open = IsWindow(dialog) && OpenDialog() == dialog;
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_CLOSE, BN_CLICKED), 0);
    });
    EXPECT_TRUE(RunAboutDialog(about));
    EXPECT_TRUE(open);
}

TEST(AboutDialog, TheCloseBoxEndsIt) {
    AboutSession about;
    about.steps.push_back([](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_TRUE(RunAboutDialog(about));
}

}  // namespace
