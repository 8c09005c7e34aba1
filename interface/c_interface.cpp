// The C interface: JSON text in, newly allocated JSON text out. No exception crosses it.
#include "chenggu/chenggu.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "chenggu/json.h"
#include "chenggu/version.h"
#include "interface/birthdays_json.h"
#include "interface/calendar_json.h"
#include "interface/error_json.h"
#include "interface/link_json.h"
#include "interface/preview_json.h"
#include "text/messages.h"

namespace {

// The text in memory the caller releases with chenggu_free; NULL when none can be had.
char* Allocated(const std::string& text) {
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

template <class Answer>
char* Answered(const char* request, Answer answer) noexcept {
    try {
        if (request == nullptr) {
            const chenggu::Error none = chenggu::refusal::BadRequest(
                "no request: the request is NULL",
                [](chenggu::Script s) { return chenggu::T(s, "没有请求：请求是 NULL"); });
            return Allocated(chenggu::ErrorJson(none, chenggu::Language::English));
        }
        return Allocated(answer(request));
    } catch (...) {  // only allocation can fail
        return nullptr;
    }
}

}  // namespace

extern "C" {

char* chenggu_read_json(const char* request_json) {
    return Answered(request_json, [](const char* request) { return chenggu::ReadJson(request); });
}

char* chenggu_months_json(const char* request_json) {
    return Answered(request_json, [](const char* request) { return chenggu::MonthsJson(request); });
}

char* chenggu_date_json(const char* request_json) {
    return Answered(request_json, [](const char* request) { return chenggu::DateJson(request); });
}

char* chenggu_places_json(const char* request_json) {
    return Answered(request_json,
                    [](const char* request) { return chenggu::SearchPlacesJson(request); });
}

char* chenggu_terms_json(const char* request_json) {
    return Answered(request_json, [](const char* request) { return chenggu::TermsJson(request); });
}

char* chenggu_birthdays_json(const char* request_json) {
    return Answered(request_json, [](const char* request) { return chenggu::BirthdaysJson(request); });
}

char* chenggu_link_json(const char* request_json) {
    return Answered(request_json, [](const char* request) { return chenggu::LinkJson(request); });
}

char* chenggu_preview_json(const char* request_json) {
    return Answered(request_json, [](const char* request) { return chenggu::PreviewJson(request); });
}

void chenggu_free(char* text) { std::free(text); }

const char* chenggu_version(void) { return CHENGGU_VERSION; }

}  // extern "C"
