// A reading as the web page shows it, in HTML: the one renderer of the page's reading, used
// by the page itself (through the engine), by chenggu serve for the page it sends with the
// reading already in it, and for the static share pages. Every element that holds a member
// of the reading carries data-field (the member's name in chenggu --json) and data-value (its
// value: strings as they are, numbers, booleans and objects as compact JSON). Every value is
// escaped for where it stands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chenggu/birth_reading.h"
#include "chenggu/script.h"

CHENGGU_BEGIN_NAMESPACE

struct ReadingMarkup {
    std::string headline;  // the total in words and the verse, shown first
    std::string details;   // the dates, pillars, steps, weights, meaning, rules, alternatives
};

ReadingMarkup MarkupOf(const BirthReading& reading, Script script);

// The headline of a total alone (21 to 72 qian), as a static share page shows it before it
// has read the birth.
std::string HeadlineMarkup(std::int32_t totalWeight, Script script);

// What a link to a reading of a total previews as: <title>, the description, the Open Graph,
// Twitter and schema.org tags that chat apps read, each escaped. pageUrl and imageUrl are
// absolute (a crawler needs them so); either may be empty, and its tags are then left out.
std::string PreviewHead(std::int32_t totalWeight, Script script, std::string_view pageUrl,
                        std::string_view imageUrl);

// The preview picture's path under the page's folder: preview/42.png, preview/42-traditional.png.
std::string PreviewPicturePath(std::int32_t totalWeight, Script script);
inline constexpr int PreviewWidth = 1200, PreviewHeight = 630;

CHENGGU_END_NAMESPACE
