#include "cli/say.h"

#include "cli/generated/traditional_texts.h"
#include "text/traditional_table.h"

namespace chenggu::cli {

std::string Say(Script script, std::string_view simplified) {
    return InScriptFrom(TraditionalTexts, script, simplified);
}

}  // namespace chenggu::cli
