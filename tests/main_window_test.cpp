// The Main window: its class, caption, style, size and place, and its answers to the
// messages it handles itself.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include "app/controls.h"
#include "tests/app_test_support.h"

namespace {

TEST(MainWindow, ClassAsRegistered) {
    ProgramWindow();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    ASSERT_TRUE(GetClassInfoExW(instanceHandle, MainWindowClass, &windowClass));
    EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(windowClass.lpfnWndProc, MainWndProc);
    EXPECT_EQ(windowClass.cbClsExtra, 0);
    EXPECT_EQ(windowClass.cbWndExtra, 0);
    EXPECT_NE(windowClass.hIcon, nullptr);
    EXPECT_EQ(windowClass.hCursor, LoadCursorW(nullptr, IDC_ARROW));

    LOGBRUSH background{};
    ASSERT_NE(GetObjectW(windowClass.hbrBackground, sizeof(background), &background), 0);
    EXPECT_EQ(background.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(background.lbColor, RGB(255, 255, 255));
}

TEST(MainWindow, CaptionStyleAndSize) {
    const HWND window = ProgramWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), L"称骨算命 －－ Tevrin");

    wchar_t className[64];
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"TqSuanMing");

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), 0x00CA0000u);
    EXPECT_EQ(style & WS_THICKFRAME, 0u) << "no sizing border";
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0u) << "no maximise box";
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_NE(GetMenu(window), nullptr) << "the class's menu";

    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 450);
    EXPECT_EQ(rect.bottom - rect.top, 400);
}

TEST(MainWindow, CentredOnTheWorkArea) {
    const HWND window = ProgramWindow();
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT rect{};
    GetWindowRect(window, &rect);
    const POINT expected = CenteredPosition(workArea);
    EXPECT_EQ(rect.left, expected.x);
    EXPECT_EQ(rect.top, expected.y);
}

TEST(MainWindow, CentringRule) {
    const struct {
        const char* what;
        RECT workArea;
        POINT position;
    } cases[] = {
        {"1024 x 738 at the origin", {0, 0, 1024, 738}, {287, 169}},
        {"narrower than the window", {0, 0, 449, 738}, {0, 169}},
        {"as wide as the window", {0, 0, 450, 738}, {0, 169}},
        {"lower than the window", {0, 0, 1024, 399}, {287, 0}},
        {"task bar on the left: measured from the screen origin", {60, 0, 1084, 738}, {287, 169}},
        {"task bar at the top", {0, 30, 1024, 768}, {287, 169}},
        {"odd sizes halve downwards", {0, 0, 1025, 739}, {287, 169}},
    };
    for (const auto& c : cases) {
        const POINT position = CenteredPosition(c.workArea);
        EXPECT_EQ(position.x, c.position.x) << c.what;
        EXPECT_EQ(position.y, c.position.y) << c.what;
    }
}

TEST(MainWindow, ControlColoursUseTheWhiteControlBrush) {
    const HWND window = ProgramWindow();
    const HDC dc = GetDC(window);
    const auto wParam = reinterpret_cast<WPARAM>(dc);
    const auto field = reinterpret_cast<LPARAM>(FormWindow(FormControl::TotalWeightField));
    for (const UINT message : std::initializer_list<UINT>{WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX,
                                                          WM_CTLCOLORBTN, WM_CTLCOLORSTATIC}) {
        EXPECT_EQ(SendMessageW(window, message, wParam, field),
                  reinterpret_cast<LRESULT>(controlBrush))
            << std::hex << message;
    }
    for (const UINT message : std::initializer_list<UINT>{WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR}) {
        const LRESULT result = SendMessageW(window, message, wParam, field);
        EXPECT_NE(result, reinterpret_cast<LRESULT>(controlBrush)) << std::hex << message;
        EXPECT_EQ(result, DefWindowProcW(window, message, wParam, field)) << std::hex << message;
    }
    ReleaseDC(window, dc);

    LOGBRUSH brush{};
    ASSERT_NE(GetObjectW(controlBrush, sizeof(brush), &brush), 0);
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, RGB(255, 255, 255));
}

TEST(MainWindow, FormFontIsTwelvePixelSong) {
    ProgramWindow();
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(formFont, sizeof(font), &font), 0);
    EXPECT_EQ(font.lfHeight, 12);
    EXPECT_EQ(font.lfWidth, 6);
    EXPECT_EQ(font.lfEscapement, 0);
    EXPECT_EQ(font.lfOrientation, 0);
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(font.lfOutPrecision, 0);
    EXPECT_EQ(font.lfClipPrecision, 0);
    EXPECT_EQ(font.lfQuality, 0);
    EXPECT_EQ(font.lfPitchAndFamily, 0);
    EXPECT_STREQ(font.lfFaceName, L"宋体");
}

TEST(MainWindow, ActivationLeavesTheFocusAlone) {
    const HWND window = ProgramWindow();
    ShowWindow(window, SW_SHOW);
    const HWND list = FormWindow(FormControl::MonthList);
    SetFocus(list);
    ASSERT_EQ(GetFocus(), list);
    // Default handling would move the focus to the Main window itself.
    EXPECT_EQ(SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0), 0);
    EXPECT_EQ(GetFocus(), list);
}

TEST(MainWindow, UnknownCommandsDoNothing) {
    const HWND window = ProgramWindow();
    PickDate(1990, 1, 30, 0);
    const std::wstring before = ShownTexts();
    for (const WPARAM wParam : {MAKEWPARAM(0, 0), MAKEWPARAM(5, 0), MAKEWPARAM(999, 1),
                                MAKEWPARAM(21, 0), MAKEWPARAM(140, 0), MAKEWPARAM(65535, 65535)}) {
        EXPECT_EQ(SendMessageW(window, WM_COMMAND, wParam, 0), 0) << wParam;
    }
    PumpMessages();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(ShownTexts(), before);
}

TEST(MainWindow, ARegisteredClassEndsTheProgramWithExitCode1) {
    // The class already exists in this process, so the program's registration fails.
    ProgramWindow();
    EXPECT_EQ(RunApplication(instanceHandle, SW_SHOWNORMAL), 1);
}

}  // namespace
