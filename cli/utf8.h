// Wide text of the calendar and reading tables as UTF-8, the encoding of all output.
#pragma once

#include <string>
#include <string_view>

// UTF-16 (Windows) or UTF-32 (elsewhere) text as UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view text);
