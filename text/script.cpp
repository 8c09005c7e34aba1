#include "chenggu/script.h"

#include <algorithm>

#include "text/generated/traditional_texts.h"

CHENGGU_BEGIN_NAMESPACE

static_assert(std::is_sorted(TraditionalTexts.begin(), TraditionalTexts.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; }));

std::string_view InScript(std::string_view simplified, Script script) {
    if (script == Script::Simplified) return simplified;
    const auto found = std::lower_bound(
        TraditionalTexts.begin(), TraditionalTexts.end(), simplified,
        [](const auto& entry, std::string_view text) { return entry.first < text; });
    if (found == TraditionalTexts.end() || found->first != simplified) return simplified;
    return found->second;
}

std::string_view ScriptName(Script script) {
    return script == Script::Simplified ? "simplified" : "traditional";
}

std::optional<Script> ParseScript(std::string_view name) {
    if (name == "simplified") return Script::Simplified;
    if (name == "traditional") return Script::Traditional;
    return std::nullopt;
}

CHENGGU_END_NAMESPACE
