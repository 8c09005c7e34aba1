#include "service/say.h"

#include <algorithm>

#include "service/generated/traditional_texts.h"

namespace chenggu::service {

std::string Say(Script script, std::string_view simplified) {
    if (script == Script::Simplified) return std::string(simplified);
    const auto found = std::lower_bound(
        TraditionalTexts.begin(), TraditionalTexts.end(), simplified,
        [](const auto& entry, std::string_view text) { return entry.first < text; });
    if (found != TraditionalTexts.end() && found->first == simplified) {
        return std::string(found->second);
    }
    return T(script, simplified);
}

}  // namespace chenggu::service
