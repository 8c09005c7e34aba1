// gui-probe: looks at the running program from outside its process, for the end-to-end
// test and the run script. It reads the Main window with FindWindowW, GetDlgItem,
// WM_GETTEXT and the list messages; it never changes the form.
//
//   gui-probe wait              waits up to 20 s for the first reading to show
//   gui-probe rect ID           screen rectangle of a control: x y width height
//   gui-probe item ID INDEX     screen point of an item of the dropped-down list of ID: x y
//   gui-probe dialog            screen rectangle of the open About dialog: x y width height
//   gui-probe popup             screen rectangle of the open menu: x y width height
//   gui-probe top               index of the first item the dropped-down list shows
//   gui-probe cursel ID         selected index of a list
//   gui-probe count ID          item count of a list
//   gui-probe fields            the fourteen result texts, joined by |
//   gui-probe check             "ok" when the fields show the reading of the lists' date
//   gui-probe show Y M D P      picks year Y, month M, day D and period P (0 for 子) in the
//                               lists, in that order, as a user does
//   gui-probe digits            for each result field that shows digits, as drawn on the
//                               screen: its text, the height in pixels of all its digits
//                               together, of its shortest digit, and its darkest grey level
//   gui-probe strokes           the Chinese characters of the program's menus and of the edit
//                               fields' context menu that the menu font draws with strokes
//                               missing; exit status 1 when there are any
//   gui-probe close             asks the program to close (WM_CLOSE)
//   gui-probe launch PATH CLASS starts a program and prints the milliseconds until a visible
//                               window of CLASS shows (for TqSuanMing: until its first
//                               reading shows); then closes it
// Exit status 0 on success, 1 when the window or the answer is not there.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "app/birth_form.h"
#include "reading/reading.h"

namespace {

using namespace chenggu;

HWND MainWindow() { return FindWindowW(L"TqSuanMing", nullptr); }

std::wstring Text(HWND window) {
    wchar_t text[512] = L"";
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

void Print(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

int ListMessage(HWND window, int id, UINT message) {
    return static_cast<int>(SendMessageW(GetDlgItem(window, id), message, 0, 0));
}

std::wstring Joined(const std::array<std::wstring, 14>& texts) {
    std::wstring joined = texts[0];
    for (std::size_t i = 1; i < texts.size(); ++i) joined += L"|" + texts[i];
    return joined;
}

std::wstring Fields(HWND window) {
    std::array<std::wstring, 14> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = Text(GetDlgItem(window, FormControlId(ResultFields[i])));
    }
    return Joined(texts);
}

// The texts the fields should show for the lists' current selections.
std::wstring ExpectedFields(HWND window) {
    const auto selection = [window](FormControl list) {
        return ListMessage(window, FormControlId(list), CB_GETCURSEL);
    };
    const Reading reading =
        MakeReading(static_cast<std::uint16_t>(selection(FormControl::YearList) + 1901),
                    static_cast<std::uint16_t>(selection(FormControl::MonthList) + 1),
                    static_cast<std::uint16_t>(selection(FormControl::DayList) + 1),
                    selection(FormControl::PeriodList));
    return Joined(ResultTexts(reading));
}

// The dropped-down part of a list is a visible top-level window of class ComboLBox.
HWND DroppedList() {
    for (HWND window = FindWindowExW(nullptr, nullptr, L"ComboLBox", nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, L"ComboLBox", nullptr)) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// A visible window of the class that belongs to the process.
HWND WindowOf(DWORD processId, const wchar_t* windowClass) {
    for (HWND window = FindWindowExW(nullptr, nullptr, windowClass, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

int Launch(std::wstring path, const std::wstring& windowClass) {
    const bool ours = windowClass == L"TqSuanMing";
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "gui-probe: cannot start the program\n");
        return 1;
    }
    HWND window = nullptr;
    for (int attempt = 0; attempt < 20000 && window == nullptr; ++attempt) {
        window = WindowOf(process.dwProcessId, windowClass.c_str());
        if (window != nullptr && ours && Text(GetDlgItem(window, 140)).empty()) window = nullptr;
        if (window == nullptr) Sleep(1);
    }
    QueryPerformanceCounter(&now);
    if (window != nullptr) {
        std::printf("%.1f\n", 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                                  static_cast<double>(frequency.QuadPart));
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return window != nullptr ? 0 : 1;
}

// A white 32-bit bitmap selected into a memory device context, to draw into or copy the
// screen into, and read back pixel by pixel.
class Canvas {
  public:
    Canvas(LONG width, LONG height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<const std::uint32_t*>(bits);
        previous_ = SelectObject(dc_, bitmap_);
        PatBlt(dc_, 0, 0, width, height, WHITENESS);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    // Grey level of a pixel, 0 black to 255 white; white outside the canvas. Call GdiFlush
    // after drawing, first.
    int Grey(LONG x, LONG y) const {
        if (pixels_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 255;
        const std::uint32_t bgr = pixels_[y * width_ + x];
        return static_cast<int>((bgr & 0xff) * 114 + (bgr >> 8 & 0xff) * 587 +
                                (bgr >> 16 & 0xff) * 299) /
               1000;
    }

  private:
    LONG width_, height_;
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    const std::uint32_t* pixels_ = nullptr;
};

// What the display shows, pixel by pixel.
class ScreenCapture : public Canvas {
  public:
    ScreenCapture() : Canvas(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) {
        const HDC screen = GetDC(nullptr);
        BitBlt(Dc(), 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), screen, 0,
               0, SRCCOPY);
        ReleaseDC(nullptr, screen);
        GdiFlush();
    }
};

// A pixel counts as ink when it is clearly darker than the white field.
constexpr int InkGrey = 0xc0;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Measures the digits of a result field on the screen. Ink columns are grouped into glyphs at
// blank columns; a glyph counts as a digit when the character drawn at its left edge is one.
void PrintDigits(const ScreenCapture& screen, HWND field) {
    const std::wstring text = Text(field);
    RECT client{};
    GetClientRect(field, &client);
    POINT origin{0, 0};
    ClientToScreen(field, &origin);
    const auto characterAt = [&](LONG x) {
        wchar_t found = L' ';
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto position = SendMessageW(field, EM_POSFROMCHAR, i, 0);
            if (position != -1 && static_cast<short>(LOWORD(position)) <= x) found = text[i];
        }
        return found;
    };
    LONG top = client.bottom, bottom = -1, shortest = client.bottom;
    int darkest = 255, digits = 0;
    LONG glyphTop = client.bottom, glyphBottom = -1;
    wchar_t glyph = 0;
    for (LONG x = 0; x <= client.right; ++x) {
        bool ink = false;
        for (LONG y = 0; x < client.right && y < client.bottom; ++y) {
            const int grey = screen.Grey(origin.x + x, origin.y + y);
            if (grey >= InkGrey) continue;
            if (glyph == 0) glyph = characterAt(x);
            ink = true;
            glyphTop = std::min(glyphTop, y);
            glyphBottom = std::max(glyphBottom, y);
            if (IsDigit(glyph)) darkest = std::min(darkest, grey);
        }
        if (ink || glyph == 0) continue;
        if (IsDigit(glyph)) {
            ++digits;
            top = std::min(top, glyphTop);
            bottom = std::max(bottom, glyphBottom);
            shortest = std::min(shortest, glyphBottom - glyphTop + 1);
        }
        glyph = 0, glyphTop = client.bottom, glyphBottom = -1;
    }
    if (std::none_of(text.begin(), text.end(), IsDigit)) return;
    if (digits == 0) top = bottom + 1, shortest = 0;
    std::printf("%ld %ld %d ", bottom - top + 1, shortest, darkest);
    Print(text);
}

// Whether a character drawn as the menus draw it lost a stroke. The glyph's coverage, as
// GetGlyphOutlineW computes it from the outline in 65 grey levels, keeps every stroke however
// thin; a pixel at least a quarter covered with no ink next to it in the drawing is a piece
// of a lost stroke.
bool LosesStrokes(const LOGFONTW& menuFont, wchar_t character) {
    constexpr LONG Origin = 8;
    const Canvas drawn(48, 48);
    const HFONT font = CreateFontIndirectW(&menuFont);
    const HGDIOBJ previousFont = SelectObject(drawn.Dc(), font);
    SetBkMode(drawn.Dc(), TRANSPARENT);
    TextOutW(drawn.Dc(), Origin, Origin, &character, 1);
    GdiFlush();
    TEXTMETRICW text{};
    GetTextMetricsW(drawn.Dc(), &text);
    GLYPHMETRICS glyph{};
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const DWORD size =
        GetGlyphOutlineW(drawn.Dc(), character, GGO_GRAY8_BITMAP, &glyph, 0, nullptr, &identity);
    std::string coverage(size == GDI_ERROR ? 0 : size, '\0');
    if (!coverage.empty()) {
        GetGlyphOutlineW(drawn.Dc(), character, GGO_GRAY8_BITMAP, &glyph, size, coverage.data(),
                         &identity);
    }
    SelectObject(drawn.Dc(), previousFont);
    DeleteObject(font);

    const auto pitch = static_cast<LONG>((glyph.gmBlackBoxX + 3) & ~3u);
    const LONG left = Origin + glyph.gmptGlyphOrigin.x;
    const LONG top = Origin + text.tmAscent - glyph.gmptGlyphOrigin.y;
    int lost = 0;
    for (LONG i = 0; i < static_cast<LONG>(coverage.size()); ++i) {
        const LONG x = i % pitch, y = i / pitch;
        if (coverage[static_cast<std::size_t>(i)] < 16) continue;
        bool inkNearby = false;
        for (LONG dy = -1; dy <= 1; ++dy) {
            for (LONG dx = -1; dx <= 1; ++dx) {
                inkNearby |= drawn.Grey(left + x + dx, top + y + dy) < InkGrey;
            }
        }
        lost += inkNearby ? 0 : 1;
    }
    return coverage.empty() || lost >= 3;
}

// The Chinese characters of a menu and its submenus.
std::wstring MenuCharacters(HMENU menu) {
    std::wstring characters;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = L"";
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        for (const wchar_t* c = text; *c != 0; ++c) {
            if (*c >= 0x4e00 && *c <= 0x9fff && characters.find(*c) == std::wstring::npos) {
                characters += *c;
            }
        }
        if (const HMENU submenu = GetSubMenu(menu, i)) characters += MenuCharacters(submenu);
    }
    return characters;
}

int Fail(const char* why) {
    std::fprintf(stderr, "gui-probe: %s\n", why);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Fail("which command?");
    const std::wstring command = argv[1];
    const int id = argc > 2 ? _wtoi(argv[2]) : 0;

    if (command == L"launch") {
        if (argc < 4) return Fail("launch PATH CLASS");
        return Launch(argv[2], argv[3]);
    }
    if (command == L"wait") {
        for (int attempt = 0; attempt < 400; ++attempt, Sleep(50)) {
            const HWND window = MainWindow();
            if (window != nullptr && IsWindowVisible(window) &&
                !Text(GetDlgItem(window, 140)).empty()) {
                return 0;
            }
        }
        return Fail("no reading after 20 s");
    }

    if (command == L"strokes") {
        const HMENU programMenu = LoadMenuW(GetModuleHandleW(nullptr), L"IDM_TQ");
        const HMENU editMenu = LoadMenuW(GetModuleHandleW(L"user32.dll"), L"EDITMENU");
        if (programMenu == nullptr) return Fail("the program's menu is not there");
        std::wstring characters = MenuCharacters(programMenu);
        if (editMenu != nullptr) characters += MenuCharacters(editMenu);
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        std::wstring broken;
        for (const wchar_t character : characters) {
            if (LosesStrokes(metrics.lfMenuFont, character)) broken += character;
        }
        Print(L"menu font " + std::wstring(metrics.lfMenuFont.lfFaceName) + L", " +
              std::to_wstring(characters.size()) + L" characters: " + characters);
        if (!broken.empty()) Print(L"strokes missing: " + broken);
        return broken.empty() ? 0 : 1;
    }

    const HWND window = MainWindow();
    if (window == nullptr) return Fail("the program's window is not there");

    if (command == L"rect") {
        RECT rect{};
        if (!GetWindowRect(id == 0 ? window : GetDlgItem(window, id), &rect)) {
            return Fail("no such control");
        }
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top);
    } else if (command == L"item") {
        const HWND list = DroppedList();
        if (list == nullptr || argc < 4) return Fail("no list is dropped down");
        const int index = _wtoi(argv[3]);
        const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
        const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        POINT point{8, (index - top) * height + height / 2};
        ClientToScreen(list, &point);
        std::printf("%ld %ld\n", point.x, point.y);
    } else if (command == L"dialog" || command == L"popup") {
        const HWND dialog = FindWindowW(command == L"dialog" ? L"#32770" : L"#32768", nullptr);
        RECT rect{};
        if (dialog == nullptr || !IsWindowVisible(dialog) || !GetWindowRect(dialog, &rect)) {
            return Fail("it is not open");
        }
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top);
    } else if (command == L"top") {
        const HWND list = DroppedList();
        if (list == nullptr) return Fail("no list is dropped down");
        std::printf("%d\n", static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)));
    } else if (command == L"cursel") {
        std::printf("%d\n", ListMessage(window, id, CB_GETCURSEL));
    } else if (command == L"count") {
        std::printf("%d\n", ListMessage(window, id, CB_GETCOUNT));
    } else if (command == L"fields") {
        Print(Fields(window));
    } else if (command == L"check") {
        const std::wstring shown = Fields(window), expected = ExpectedFields(window);
        if (shown != expected) {
            Print(L"shown:    " + shown);
            Print(L"expected: " + expected);
            return 1;
        }
        std::printf("ok\n");
    } else if (command == L"show") {
        if (argc < 6) return Fail("show YEAR MONTH DAY PERIOD");
        const std::array<std::pair<FormControl, int>, 4> picks{{
            {FormControl::YearList, _wtoi(argv[2]) - 1901},
            {FormControl::MonthList, _wtoi(argv[3]) - 1},
            {FormControl::DayList, _wtoi(argv[4]) - 1},
            {FormControl::PeriodList, _wtoi(argv[5])},
        }};
        for (const auto& [list, index] : picks) {
            const HWND control = GetDlgItem(window, FormControlId(list));
            SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            SendMessageW(control, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), 0);
        }
    } else if (command == L"digits") {
        const ScreenCapture screen;
        for (const FormControl field : ResultFields) {
            PrintDigits(screen, GetDlgItem(window, FormControlId(field)));
        }
    } else if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        return Fail("unknown command");
    }
    return 0;
}
