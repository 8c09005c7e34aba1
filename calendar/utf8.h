// UTF-8, the engine's encoding, and the wide text of the window's records (UTF-16 on
// Windows, UTF-32 elsewhere).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace chenggu {

// Wide text as UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view text);
// UTF-8 as wide text. A byte that is not part of a well-formed sequence becomes U+FFFD.
std::wstring Widen(std::string_view text);

// Appends a code point (up to U+10FFFF, not a surrogate) in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Length of the well-formed UTF-8 sequence at text[pos] (pos < text.size()), or 0 when
// there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);
// The text with each byte that is not part of a well-formed sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

}  // namespace chenggu
