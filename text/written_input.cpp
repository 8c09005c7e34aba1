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
constexpr std::array<std::pair<char32_t, char32_t>, 5> TraditionalForms{
    {{U'時', U'时'}, {U'閏', U'闰'}, {U'臘', U'腊'}, {U'點', U'点'}, {U'號', U'号'}}};
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
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Character c = DecodeUtf8(text, pos);
        if (c.length == 0) {  // not UTF-8: kept, to be shown as it is
            folded += text[pos++];
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
        AppendUtf8(folded, code);
    }
    const std::size_t first = folded.find_first_not_of(Blanks);
    if (first == std::string::npos) return {};
    return folded.substr(first, folded.find_last_not_of(Blanks) - first + 1);
}

CHENGGU_END_NAMESPACE
