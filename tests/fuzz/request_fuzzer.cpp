// Fuzzes the C interface with arbitrary request text (the input, NUL-terminated, sent to each
// of its functions in turn). Whatever comes in, each answers one JSON text that is a reading,
// an array of readings, a calendar, places, link, preview or birthdays answer or
// {"error": ..., "code": ...}, never a crash.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "chenggu/chenggu.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckAnswer(char* answer) {
    Check(answer != nullptr);
    const nlohmann::json json = nlohmann::json::parse(answer, nullptr, false);
    chenggu_free(answer);
    Check(!json.is_discarded());
    Check(json.is_array() || json.is_object());
    if (json.is_object() && json.contains("error")) {
        Check(json.size() == 2 && json["error"].is_string() && !json["error"].empty() &&
              json["code"].is_string() && !json["code"].empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string request(reinterpret_cast<const char*>(data), size);
    CheckAnswer(chenggu_read_json(request.c_str()));
    CheckAnswer(chenggu_months_json(request.c_str()));
    CheckAnswer(chenggu_date_json(request.c_str()));
    CheckAnswer(chenggu_places_json(request.c_str()));
    CheckAnswer(chenggu_terms_json(request.c_str()));
    CheckAnswer(chenggu_link_json(request.c_str()));
    CheckAnswer(chenggu_preview_json(request.c_str()));
    CheckAnswer(chenggu_birthdays_json(request.c_str()));
    return 0;
}
