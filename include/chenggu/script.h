// Simplified or Traditional characters. Every Chinese text the engine shows has its
// Traditional form, made from it by OpenCC (configuration s2tw) when the project is built, not
// at run time: a face asks for each text in the script it shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

enum class Script : std::uint8_t { Simplified, Traditional };

// One of the engine's own Chinese texts (a table entry, a fragment of a message) in the
// script; any other text as it is.
CHENGGU_EXPORT std::string_view InScript(std::string_view simplified, Script script);
// The same, as a string to append to.
inline std::string T(Script script, std::string_view simplified) {
    return std::string(InScript(simplified, script));
}

// "simplified", "traditional"; nothing for an unknown name.
CHENGGU_EXPORT std::string_view ScriptName(Script script);
CHENGGU_EXPORT std::optional<Script> ParseScript(std::string_view name);

CHENGGU_END_NAMESPACE
