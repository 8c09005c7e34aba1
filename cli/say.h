// The command line's own words in the characters asked for: its texts as OpenCC made them at
// build time (cli/traditional_texts.h, by scripts/traditional-texts), then the library's.
#pragma once

#include <string>
#include <string_view>

#include "chenggu/script.h"

namespace chenggu::cli {

std::string Say(Script script, std::string_view simplified);

}  // namespace chenggu::cli
