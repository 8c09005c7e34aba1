// The query of a URL (?date=1990-01-30&period=%E5%AD%90), as the service's routes and the web
// page's links read it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

// The name=value pairs of a query, in order, each as written (a leading ? or # left out, empty
// pairs skipped; a pair without = has an empty value).
std::vector<std::pair<std::string_view, std::string_view>> QueryPairs(std::string_view query);

// A name or value decoded: + is a space, %XX a byte. A broken escape (%E, %ZZ) is kept as
// written, as browsers read links, or, strictly, refuses the whole (nothing).
std::optional<std::string> QueryComponent(std::string_view text, bool strict);

CHENGGU_END_NAMESPACE
