// Entry of the chenggu command-line tool.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/chenggu.h"

namespace {

// The locale that chooses the language of messages: the first of LC_ALL, LC_MESSAGES and
// LANG that is set, as POSIX orders them.
std::string LocaleFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

}  // namespace

#ifdef _WIN32
#include <windows.h>

#include "cli/console_input.h"

namespace {

// The console's output code page before the tool switched it to UTF-8; 0 without a console.
UINT previousOutputCodePage = 0;

void RestoreOutputCodePage() {
    if (previousOutputCodePage != 0) SetConsoleOutputCP(previousOutputCodePage);
}

// Ctrl+C and the like end the process without returning from wmain: put the code page back
// first, then let the default handler end the process.
BOOL WINAPI OnConsoleControl(DWORD) {
    RestoreOutputCodePage();
    return FALSE;
}

// UTF-8 for the tool's output while it runs; the user's code page again afterwards, so that
// the next program in the same console (often one writing GBK) is not garbled.
class Utf8ConsoleOutput {
  public:
    Utf8ConsoleOutput() {
        previousOutputCodePage = GetConsoleOutputCP();
        if (previousOutputCodePage == 0) return;
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
        SetConsoleOutputCP(CP_UTF8);
    }
    ~Utf8ConsoleOutput() {
        RestoreOutputCodePage();
        if (previousOutputCodePage != 0) SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    }
    Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
    Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;
};

}  // namespace

// The user's locale as Windows names it (zh-CN, zh-TW, en-US), when no variable sets one.
std::string Locale() {
    std::string locale = LocaleFromEnvironment();
    if (!locale.empty()) return locale;
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) == 0) return {};
    for (const wchar_t* c = name; *c != L'\0'; ++c) locale += static_cast<char>(*c & 0x7f);
    return locale;
}

// Windows hands over the arguments as UTF-16; the tool works in UTF-8 throughout.
int wmain(int argc, wchar_t** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, argument.data(), size, nullptr, nullptr);
        argument.resize(argument.size() - 1);  // the terminator
        arguments.push_back(std::move(argument));
    }
    const Utf8ConsoleOutput utf8;
    // Requests typed into a console are read as the console's UTF-16, not as its code page.
    if (chenggu::cli::ConsoleInput::IsConsole()) {
        chenggu::cli::ConsoleInput console(chenggu::cli::ConsoleInput::FromConsole());
        std::istream input(&console);
        return chenggu::cli::RunChenggu(arguments, input, std::cout, std::cerr, Locale());
    }
    return chenggu::cli::RunChenggu(arguments, std::cin, std::cout, std::cerr, Locale());
}
#else
#ifdef CHENGGU_WITH_SERVICE
#include "service/service_command.h"
#endif

int main(int argc, char** argv) {
    // Unsynchronised streams read and write in blocks: --batch streams large inputs.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
#ifdef CHENGGU_WITH_SERVICE
    if (chenggu::service::IsServiceCommand(arguments)) {
        return chenggu::service::RunServiceCommand(arguments, std::cin, std::cout, std::cerr,
                                                   LocaleFromEnvironment());
    }
#endif
    return chenggu::cli::RunChenggu(arguments, std::cin, std::cout, std::cerr,
                                    LocaleFromEnvironment());
}
#endif
