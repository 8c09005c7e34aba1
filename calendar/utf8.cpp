#include "calendar/utf8.h"

#include <cstdint>

namespace chenggu {
namespace {

constexpr char32_t ReplacementCharacter = 0xfffd;

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    const auto byte = [](char32_t bits) {
        return static_cast<char>(static_cast<unsigned char>(bits));
    };
    if (c < 0x80) {
        out += byte(c);
    } else if (c < 0x800) {
        out += byte(0xc0 | c >> 6);
        out += byte(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += byte(0xe0 | c >> 12);
        out += byte(0x80 | (c >> 6 & 0x3f));
        out += byte(0x80 | (c & 0x3f));
    } else {
        out += byte(0xf0 | c >> 18);
        out += byte(0x80 | (c >> 12 & 0x3f));
        out += byte(0x80 | (c >> 6 & 0x3f));
        out += byte(0x80 | (c & 0x3f));
    }
}

namespace {

bool IsHighSurrogate(char32_t c) { return c >= 0xd800 && c <= 0xdbff; }
bool IsLowSurrogate(char32_t c) { return c >= 0xdc00 && c <= 0xdfff; }

// The code point of the well-formed sequence of the given length at text[pos].
char32_t Decode(std::string_view text, std::size_t pos, std::size_t length) {
    constexpr unsigned char LeadBits[] = {0, 0x7f, 0x1f, 0x0f, 0x07};
    char32_t c = static_cast<unsigned char>(text[pos]) & LeadBits[length];
    for (std::size_t i = 1; i < length; ++i) {
        c = c << 6 | (static_cast<unsigned char>(text[pos + i]) & 0x3fu);
    }
    return c;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        c = lead & 0x1fu;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        c = lead & 0x0fu;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        c = lead & 0x07u;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xc0) != 0x80) return 0;
        c = c << 6 | (next & 0x3fu);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    const bool surrogate = c >= 0xd800 && c <= 0xdfff;
    return overlong || surrogate || c > 0x10ffff ? 0 : length;
}

std::string ValidUtf8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length == 0) {
            AppendUtf8(valid, ReplacementCharacter);
            ++pos;
        } else {
            valid.append(text.substr(pos, length));
            pos += length;
        }
    }
    return valid;
}

std::wstring Widen(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        const char32_t c = length == 0 ? ReplacementCharacter : Decode(text, pos, length);
        pos += length == 0 ? 1 : length;
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0x10000) {  // a surrogate pair
                wide += static_cast<wchar_t>(0xd800 + ((c - 0x10000) >> 10));
                wide += static_cast<wchar_t>(0xdc00 + ((c - 0x10000) & 0x3ff));
                continue;
            }
        }
        wide += static_cast<wchar_t>(c);
    }
    return wide;
}

std::string Utf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (IsHighSurrogate(c) && i + 1 < text.size() &&
            IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
            const auto low = static_cast<char32_t>(text[++i]);
            c = 0x10000 + ((c - 0xd800) << 10) + (low - 0xdc00);
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10ffff) {
            c = ReplacementCharacter;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace chenggu
