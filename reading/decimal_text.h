// Numbers as the wide text the window shows.
#pragma once

#include <cstdint>
#include <string>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// The decimal form of a value: no leading zeros, no fill, no grouping, "-" when negative.
std::wstring DecimalText(std::int32_t value);

// Narrow text (up to its first NUL) converted to UTF-16 under the Simplified Chinese code
// page 936. ASCII, the only text the program passes, converts the same under every code
// page; other text is converted where the runtime has that code page (a GBK or GB18030
// locale), and gives an empty string where it has not or when the text does not convert.
// The process's locale is never switched: safe to call from any thread.
std::wstring WidenText(const std::string& text);

CHENGGU_END_NAMESPACE
