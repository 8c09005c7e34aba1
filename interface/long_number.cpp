// JSON numbers that ShortNumber does not read, by the library's correctly rounded reader.
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

#include "interface/json_number.h"

CHENGGU_BEGIN_NAMESPACE

double LongNumber(std::string_view number) {
#if defined(__cpp_lib_to_chars) || (defined(__GLIBCXX__) && _GLIBCXX_RELEASE >= 11)
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Past the doubles: infinity or zero with the number's sign, as strtod gives.
        const bool negative = number.starts_with('-');
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && number[e + 1] == '-';
        return tiny ? (negative ? -0.0 : 0.0)
                    : (negative ? -std::numeric_limits<double>::infinity()
                                : std::numeric_limits<double>::infinity());
    }
    return value;
#else
    // The C library's strtod rounds correctly too; the engine never leaves the C locale.
    return std::strtod(std::string(number).c_str(), nullptr);
#endif
}

CHENGGU_END_NAMESPACE
