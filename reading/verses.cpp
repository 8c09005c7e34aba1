#include "reading/verses.h"

std::wstring VerseFor(std::int32_t totalWeight) {
    const std::int64_t entry = std::int64_t{totalWeight} - LightestVerseWeight;
    if (entry < 0 || entry >= static_cast<std::int64_t>(Verses.size())) return {};
    return std::wstring(Verses[static_cast<std::size_t>(entry)]);
}
