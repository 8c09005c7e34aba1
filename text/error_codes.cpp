// The stable names of the error codes: what programs match on, in every face's answers.
#include <array>
#include <string_view>

#include "chenggu/error.h"

CHENGGU_BEGIN_NAMESPACE
namespace {

// In enumerator order.
constexpr std::array<std::string_view, 18> CodeNames{
    "not-a-date",
    "no-such-date",
    "outside-range",
    "bad-period",
    "bad-time",
    "unknown-convention",
    "reading-day-outside-range",
    "bad-request",
    "bad-longitude",
    "unknown-zone",
    "unknown-place",
    "ambiguous-place",
    "no-clock-time",
    "skipped-clock-time",
    "solar-date-outside-range",
    "no-such-leap-month",
    "place-without-longitude",
    "request-too-large",
};
static_assert(CodeNames.size() == static_cast<std::size_t>(ErrorCode::RequestTooLarge) + 1);

}  // namespace

std::string_view ErrorCodeName(ErrorCode code) {
    const auto index = static_cast<std::size_t>(code);
    return index < CodeNames.size() ? CodeNames[index] : "bad-request";
}

CHENGGU_END_NAMESPACE
