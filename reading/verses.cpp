#include "reading/verses.h"

#include "calendar/utf8.h"

namespace chenggu {

std::wstring VerseFor(std::int32_t totalWeight) {
    const std::int64_t entry = std::int64_t{totalWeight} - LightestVerseWeight;
    if (entry < 0 || entry >= static_cast<std::int64_t>(Verses.size())) return {};
    const Verse& verse = Verses[static_cast<std::size_t>(entry)];
    return Widen(verse[0]) + L"\r\n\r\n" + Widen(verse[1]);
}

}  // namespace chenggu
