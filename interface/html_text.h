// Text written into HTML: escaped for where it stands, valid UTF-8, without control
// characters (each becomes U+FFFD, but tab and line feed in element text).
#pragma once

#include <string>
#include <string_view>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// For element text: & < > escaped.
std::string HtmlText(std::string_view text);
// For a quoted attribute value: & < > " ' escaped, line feeds as &#10;.
std::string HtmlAttribute(std::string_view text);

CHENGGU_END_NAMESPACE
