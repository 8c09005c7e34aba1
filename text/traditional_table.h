// A face's own texts in the characters asked for: its table of Traditional forms (made by
// scripts/traditional-texts, sorted by the Simplified text's bytes), then the library's.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

template <std::size_t N>
std::string InScriptFrom(const std::array<std::pair<std::string_view, std::string_view>, N>& table,
                         Script script, std::string_view simplified) {
    if (script == Script::Simplified) return std::string(simplified);
    const auto found = std::lower_bound(
        table.begin(), table.end(), simplified,
        [](const auto& entry, std::string_view text) { return entry.first < text; });
    if (found != table.end() && found->first == simplified) return std::string(found->second);
    return T(script, simplified);
}

CHENGGU_END_NAMESPACE
