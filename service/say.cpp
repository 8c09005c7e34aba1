#include "service/say.h"

#include "service/generated/traditional_texts.h"
#include "text/traditional_table.h"

namespace chenggu::service {

std::string Say(Script script, std::string_view simplified) {
    return InScriptFrom(TraditionalTexts, script, simplified);
}

}  // namespace chenggu::service
