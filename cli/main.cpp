// Entry of the chenggu command-line tool.
#include <iostream>
#include <string>
#include <vector>

#include "cli/chenggu.h"

#ifdef _WIN32
#include <windows.h>

// Windows hands over the arguments as UTF-16; the tool works in UTF-8 throughout.
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, argument.data(), size, nullptr, nullptr);
        argument.resize(argument.size() - 1);  // the terminator
        arguments.push_back(std::move(argument));
    }
    return RunChenggu(arguments, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    return RunChenggu(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
#endif
