#include "cli/console_input.h"

#include <windows.h>

#include "text/utf8.h"

namespace chenggu::cli {
namespace {

constexpr wchar_t EndOfInput = 0x1a;  // Ctrl+Z at the start of a line

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xd800 && unit <= 0xdbff; }

}  // namespace

ConsoleInput::ConsoleInput(Reader read) : read_(std::move(read)) {}

bool ConsoleInput::IsConsole() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

ConsoleInput::Reader ConsoleInput::FromConsole() {
    return [](wchar_t* units, std::size_t size) -> std::size_t {
        DWORD read = 0;
        if (!ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), units, static_cast<DWORD>(size), &read,
                          nullptr)) {
            return 0;
        }
        return read;
    };
}

ConsoleInput::int_type ConsoleInput::underflow() {
    while (gptr() == egptr() && !ended_) {
        std::array<wchar_t, 1024> units{};
        std::size_t count = read_(units.data(), units.size());
        std::wstring wide;
        if (pendingHigh_ != 0) {
            wide += pendingHigh_;
            pendingHigh_ = 0;
        }
        wide.append(units.data(), count);
        // A line that starts with Ctrl+Z ends the input, as it does for the console's own reads.
        const std::size_t end = wide.find(EndOfInput);
        if (count == 0 || (end != std::wstring::npos && (end == 0 || wide[end - 1] == L'\n'))) {
            ended_ = true;
            if (end != std::wstring::npos) wide.resize(end);
        }
        if (!ended_ && !wide.empty() && IsHighSurrogate(wide.back())) {
            pendingHigh_ = wide.back();
            wide.pop_back();
        }
        text_ = Utf8(wide);
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }
    return gptr() == egptr() ? traits_type::eof() : traits_type::to_int_type(*gptr());
}

}  // namespace chenggu::cli
