// The service's own words in the characters asked for: its texts as OpenCC made them
// (service/generated/traditional_texts.h, by scripts/traditional-texts), then the library's.
#pragma once

#include <string>
#include <string_view>

#include "chenggu/script.h"

namespace chenggu::service {

std::string Say(Script script, std::string_view simplified);

}  // namespace chenggu::service
