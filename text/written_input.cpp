// Written input folded to the forms the parsers read.
#include "chenggu/written_input.h"

#include <algorithm>
#include <array>
#include <utility>

#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// Code points folded before reading: the Traditional forms of the words below, and the
// full-width forms of ASCII.
constexpr std::array<std::pair<char32_t, char32_t>, 8> TraditionalForms{
    {{U'時', U'时'}, {U'閏', U'闰'}, {U'臘', U'腊'}, {U'點', U'点'}, {U'號', U'号'}, {U'兩', U'两'},
     {U'間', U'间'}, {U'臺', U'台'}}};
// The digits a year is written with in words: 一九九〇年.
constexpr std::array<char32_t, 11> YearDigits{U'〇', U'一', U'二', U'三', U'四', U'五',
                                              U'六', U'七', U'八', U'九', U'零'};

// Four digits in words before 年 as the year's number: 一九九〇年 is 1990年.
void FoldYearsInWords(std::u32string& text) {
    const auto digit = [](char32_t c) -> int {
        const auto found = std::find(YearDigits.begin(), YearDigits.end(), c);
        if (found == YearDigits.end()) return -1;
        return found == YearDigits.end() - 1 ? 0 : static_cast<int>(found - YearDigits.begin());
    };
    for (std::size_t i = 0; i + 4 < text.size(); ++i) {
        if (text[i + 4] != U'年' || (i > 0 && digit(text[i - 1]) >= 0)) continue;
        if (!std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i),
                         text.begin() + static_cast<std::ptrdiff_t>(i + 4),
                         [&](char32_t c) { return digit(c) >= 0; })) {
            continue;
        }
        for (std::size_t k = i; k < i + 4; ++k) {
            text[k] = U'0' + static_cast<char32_t>(digit(text[k]));
        }
    }
}
constexpr char32_t ByteOrderMark = 0xfeff;
constexpr char32_t IdeographicSpace = 0x3000;
constexpr char32_t FirstFullWidth = 0xff01, LastFullWidth = 0xff5e;  // ！ to ～
constexpr char32_t FullWidthOffset = 0xfee0;

}  // namespace

std::string NormalizedInput(std::string_view text) {
    constexpr std::string_view Blanks = " \t\r\n";
    // ASCII has nothing to fold: it is only trimmed.
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        const std::size_t first = text.find_first_not_of(Blanks);
        if (first == std::string_view::npos) return {};
        return std::string(text.substr(first, text.find_last_not_of(Blanks) - first + 1));
    }
    // Code points, or the bytes that are not UTF-8 (above the code points, kept as they are).
    constexpr char32_t RawByte = 0x110000;
    std::u32string codes;
    codes.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Character c = DecodeUtf8(text, pos);
        if (c.length == 0) {  // not UTF-8: kept, to be shown as it is
            codes += RawByte + static_cast<unsigned char>(text[pos++]);
            continue;
        }
        pos += c.length;
        char32_t code = c.code;
        if (code == ByteOrderMark) continue;
        if (code == IdeographicSpace) code = ' ';
        if (code >= FirstFullWidth && code <= LastFullWidth) code -= FullWidthOffset;
        for (const auto& [traditional, simplified] : TraditionalForms) {
            if (code == traditional) code = simplified;
        }
        codes += code;
    }
    FoldYearsInWords(codes);
    std::string folded;
    folded.reserve(text.size());
    for (const char32_t code : codes) {
        if (code >= RawByte) {
            folded += static_cast<char>(code - RawByte);
        } else {
            AppendUtf8(folded, code);
        }
    }
    const std::size_t first = folded.find_first_not_of(Blanks);
    if (first == std::string::npos) return {};
    return folded.substr(first, folded.find_last_not_of(Blanks) - first + 1);
}

CHENGGU_END_NAMESPACE
