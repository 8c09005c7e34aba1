// Wide text of the calendar and reading tables as UTF-8, the encoding of all output.
#pragma once

#include <string>
#include <string_view>

// UTF-16 (Windows) or UTF-32 (elsewhere) text as UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view text);

// Length of the well-formed UTF-8 sequence at text[pos], or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);
// The text with each byte that is not part of a well-formed sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);
