// For the web page's first engine, which the page loads before anything else: numbers that
// ShortNumber does not read are read as the product of their first 19 digits and a power of
// ten, within a few units in the last place, so that the first download carries no strtod (a
// tenth of its size). The page's own requests hold years and limits, whole numbers that
// ShortNumber reads exactly; the page loads the whole engine for anything else.
#include <cstdint>
#include <limits>

#include "interface/json_number.h"

CHENGGU_BEGIN_NAMESPACE

double LongNumber(std::string_view number) {
    std::uint64_t digits = 0;
    int kept = 0, scale = 0;
    std::size_t pos = number.starts_with('-') ? 1 : 0;
    bool fraction = false;
    for (; pos < number.size() && number[pos] != 'e' && number[pos] != 'E'; ++pos) {
        if (number[pos] == '.') {
            fraction = true;
            continue;
        }
        if (kept < 19) {
            digits = digits * 10 + static_cast<std::uint64_t>(number[pos] - '0');
            kept += digits != 0;
            scale -= fraction;
        } else {
            scale += !fraction;
        }
    }
    long exponent = 0;
    bool negativeExponent = false;
    if (pos < number.size()) {
        negativeExponent = number[pos + 1] == '-';
        for (++pos; pos < number.size(); ++pos) {
            if (number[pos] >= '0' && number[pos] <= '9' && exponent < 100000) {
                exponent = exponent * 10 + (number[pos] - '0');
            }
        }
    }
    long power = scale + (negativeExponent ? -exponent : exponent);
    double value = static_cast<double>(digits);
    for (; power > 0 && value <= std::numeric_limits<double>::max(); --power) value *= 10;
    for (; power < 0 && value > 0; ++power) value /= 10;
    return number.starts_with('-') ? -value : value;
}

CHENGGU_END_NAMESPACE
