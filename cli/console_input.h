// Windows only: standard input typed into a console, read as the UTF-16 the console holds and
// handed on as UTF-8, whatever the console's code page (a Chinese console sends GBK bytes to
// a program that reads bytes).
#pragma once

#include <array>
#include <functional>
#include <streambuf>
#include <string>

namespace chenggu::cli {

class ConsoleInput : public std::streambuf {
  public:
    // read fills a buffer with up to its size UTF-16 units and returns how many it read, 0 at
    // the end of the input (or on an error). By default it reads the process's console.
    using Reader = std::function<std::size_t(wchar_t* units, std::size_t size)>;
    explicit ConsoleInput(Reader read);

    // Whether standard input is a console.
    static bool IsConsole();
    // The reader of the process's console input.
    static Reader FromConsole();

  protected:
    int_type underflow() override;

  private:
    Reader read_;
    std::string text_;         // UTF-8 of the units read so far, handed out from the start
    wchar_t pendingHigh_ = 0;  // the first half of a surrogate pair split between two reads
    bool ended_ = false;
};

}  // namespace chenggu::cli
