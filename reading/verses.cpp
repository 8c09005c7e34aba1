#include "reading/verses.h"

#include "text/utf8.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// The verses as the window shows them, widened from the table at compile time: 16
// characters, an empty line ("\r\n\r\n"), and 16 more (15 in the last verse).
constexpr std::size_t WideVerseLength = 16 + 4 + 16;
constexpr auto WideVerses = [] {
    std::array<FixedWideText<WideVerseLength>, Verses.size()> wide{};
    for (std::size_t i = 0; i < Verses.size(); ++i) {
        wide[i].Append(Verses[i][0]).Append("\r\n\r\n").Append(Verses[i][1]);
    }
    return wide;
}();

}  // namespace

std::wstring VerseFor(std::int32_t totalWeight) {
    const std::int64_t entry = std::int64_t{totalWeight} - LightestVerseWeight;
    if (entry < 0 || entry >= static_cast<std::int64_t>(Verses.size())) return {};
    return std::wstring(WideVerses[static_cast<std::size_t>(entry)].view());
}

CHENGGU_END_NAMESPACE
