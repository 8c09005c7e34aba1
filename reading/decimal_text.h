// Numbers as the wide text the program shows.
#pragma once

#include <cstdint>
#include <string>

// The decimal form of a value: no leading zeros, no fill, no grouping, "-" when negative.
std::wstring DecimalText(std::int32_t value);

// Narrow text (up to its first NUL) converted to UTF-16 under the Simplified Chinese code
// page 936 where the runtime has it, else under the current locale; ASCII converts the same
// either way. Text that does not convert gives an empty string. Only the character-type
// locale is switched, and it is restored before returning, also when an exception leaves.
std::wstring WidenText(const std::string& text);
