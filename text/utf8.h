// UTF-8, the engine's encoding, and the wide text of the window's records (UTF-16 on
// Windows, UTF-32 elsewhere).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// The code point of the well-formed UTF-8 sequence at text[pos] (pos < text.size()) and its
// length in bytes; length 0 when there is none (a stray byte, a cut, overlong or surrogate
// form, or a code point past U+10FFFF).
struct Utf8Character {
    char32_t code = 0;
    std::size_t length = 0;
};
constexpr Utf8Character DecodeUtf8(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        code = lead & 0x1fu;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        code = lead & 0x0fu;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return {};
    }
    if (pos + length > text.size()) return {};
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xc0) != 0x80) return {};
        code = code << 6 | (next & 0x3fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xd800 && code <= 0xdfff;
    if (overlong || surrogate || code > 0x10ffff) return {};
    return {code, length};
}

// Wide text of at most Capacity characters made from UTF-8 at compile time, for the wide
// forms of constant tables. Each character must be one wchar_t on every platform (in the
// Basic Multilingual Plane); anything else stops the compilation.
template <std::size_t Capacity>
struct FixedWideText {
    std::array<wchar_t, Capacity> characters{};
    std::size_t size = 0;

    constexpr FixedWideText& Append(std::string_view utf8) {
        for (std::size_t pos = 0; pos < utf8.size();) {
            const Utf8Character c = DecodeUtf8(utf8, pos);
            if (c.length == 0 || c.code >= 0x10000 || size == Capacity) {
                throw "not a wide text of this capacity";
            }
            characters[size++] = static_cast<wchar_t>(c.code);
            pos += c.length;
        }
        return *this;
    }
    std::wstring_view view() const { return {characters.data(), size}; }
};

// Wide text as UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view text);
// UTF-8 as wide text. A byte that is not part of a well-formed sequence becomes U+FFFD.
std::wstring Widen(std::string_view text);

// Appends a code point (up to U+10FFFF, not a surrogate) in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Length of the well-formed UTF-8 sequence at text[pos] (pos < text.size()), or 0 when
// there is none.
inline std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    return DecodeUtf8(text, pos).length;
}
// The text with each byte that is not part of a well-formed sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// Whether text holds more than most characters (a byte that is not UTF-8 counts as one),
// found without reading past the character after the limit.
bool LongerThan(std::string_view text, std::size_t most);

CHENGGU_END_NAMESPACE
