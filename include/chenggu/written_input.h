// Text as people type it, before any parser reads it: ASCII or full-width (２０２０-０１-３０),
// Simplified or Traditional (子時, 閏), with or without a byte-order mark.
#pragma once

#include <string>
#include <string_view>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// The text folded to the forms the parsers read: a byte-order mark dropped, full-width ASCII
// and the ideographic space as ASCII, the Traditional forms of the words the parsers know as
// Simplified, blanks at either end trimmed. Bytes that are not UTF-8 are kept as they are.
CHENGGU_EXPORT std::string NormalizedInput(std::string_view text);

CHENGGU_END_NAMESPACE
