#include "reading/decimal_text.h"

#include <clocale>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

// Restores the character-type locale that was current when it was made.
class CharacterTypeLocaleGuard {
  public:
    CharacterTypeLocaleGuard() {
        const char* current = std::setlocale(LC_CTYPE, nullptr);
        saved_ = current != nullptr ? current : "C";
    }
    ~CharacterTypeLocaleGuard() { std::setlocale(LC_CTYPE, saved_.c_str()); }
    CharacterTypeLocaleGuard(const CharacterTypeLocaleGuard&) = delete;
    CharacterTypeLocaleGuard& operator=(const CharacterTypeLocaleGuard&) = delete;

  private:
    std::string saved_;
};

// "chs" is the Windows runtime's name; the others are the POSIX names of the same code page.
void SelectSimplifiedChineseCodePage() {
    for (const char* name : {"chs", "zh_CN.GBK", "zh_CN.gbk", "zh_CN.GB18030", "zh_CN.gb18030"}) {
        if (std::setlocale(LC_CTYPE, name) != nullptr) return;
    }
}

}  // namespace

std::wstring DecimalText(std::int32_t value) {
    std::stringstream stream;
    stream << value;
    return WidenText(stream.str());
}

std::wstring WidenText(const std::string& text) {
    const CharacterTypeLocaleGuard guard;
    SelectSimplifiedChineseCodePage();

    const std::size_t length = std::mbstowcs(nullptr, text.c_str(), 0);
    if (length == static_cast<std::size_t>(-1)) return {};
    std::vector<wchar_t> buffer(length + 1);
    std::mbstowcs(buffer.data(), text.c_str(), buffer.size());
    return std::wstring(buffer.data(), length);
}
