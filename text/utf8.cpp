#include "text/utf8.h"

#include <algorithm>
#include <cstdint>

CHENGGU_BEGIN_NAMESPACE
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

}  // namespace

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
        const Utf8Character decoded = DecodeUtf8(text, pos);
        const char32_t c = decoded.length == 0 ? ReplacementCharacter : decoded.code;
        pos += decoded.length == 0 ? 1 : decoded.length;
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

bool LongerThan(std::string_view text, std::size_t most) {
    if (text.size() <= most) return false;
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count) {
        if (count == most) return true;
        pos += std::max<std::size_t>(1, Utf8SequenceLength(text, pos));
    }
    return false;
}

CHENGGU_END_NAMESPACE
