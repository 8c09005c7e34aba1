#include "reading/decimal_text.h"

#include <algorithm>
#include <cwchar>
#include <locale>
#include <sstream>
#include <stdexcept>
#include <string_view>

CHENGGU_BEGIN_NAMESPACE
namespace {

// Text in code page 936 through a locale object of its own, so that no other thread sees a
// change; the names are those of the same code page on the runtimes that have it.
std::wstring WidenFromCodePage936(std::string_view text) {
    for (const char* name : {"zh_CN.GBK", "zh_CN.gbk", "zh_CN.GB18030", "zh_CN.gb18030", "chs"}) {
        std::locale locale;
        try {
            locale = std::locale(name);
        } catch (const std::runtime_error&) {
            continue;
        }
        using Conversion = std::codecvt<wchar_t, char, std::mbstate_t>;
        const auto& conversion = std::use_facet<Conversion>(locale);
        std::mbstate_t state{};
        std::wstring wide(text.size(), L'\0');
        const char* fromNext = nullptr;
        wchar_t* toNext = nullptr;
        const auto result = conversion.in(state, text.data(), text.data() + text.size(), fromNext,
                                          wide.data(), wide.data() + wide.size(), toNext);
        if (result != std::codecvt_base::ok || fromNext != text.data() + text.size()) return {};
        wide.resize(static_cast<std::size_t>(toNext - wide.data()));
        return wide;
    }
    return {};
}

}  // namespace

std::wstring DecimalText(std::int32_t value) {
    std::stringstream stream;
    stream.imbue(std::locale::classic());  // whatever the program's global locale is
    stream << value;
    return WidenText(stream.str());
}

std::wstring WidenText(const std::string& text) {
    const std::string_view narrow(text.c_str());  // up to the first NUL
    const bool ascii = std::all_of(narrow.begin(), narrow.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return std::wstring(narrow.begin(), narrow.end());
    return WidenFromCodePage936(narrow);
}

CHENGGU_END_NAMESPACE
