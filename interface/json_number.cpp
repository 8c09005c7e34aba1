// JSON numbers as the doubles nearest them.
#include "interface/json_number.h"

#include <array>
#include <charconv>
#include <cstdint>

CHENGGU_BEGIN_NAMESPACE

std::optional<double> ShortNumber(std::string_view number) {
    // Most numbers of requests (104.0667, 2020) have at most 15 digits and a small power of
    // ten: both are exact doubles, so one multiplication or division rounds correctly
    // (Clinger's fast path), with no library call.
    std::uint64_t digits = 0;
    int significant = 0, scale = 0;
    bool fits = true;
    std::size_t pos = number.starts_with('-') ? 1 : 0;
    for (; pos < number.size() && number[pos] != 'e' && number[pos] != 'E'; ++pos) {
        if (number[pos] == '.') {
            for (++pos; pos < number.size() && number[pos] >= '0' && number[pos] <= '9'; ++pos) {
                digits = digits * 10 + static_cast<std::uint64_t>(number[pos] - '0');
                significant += digits != 0;
                --scale;
            }
            break;
        }
        digits = digits * 10 + static_cast<std::uint64_t>(number[pos] - '0');
        significant += digits != 0;
        fits = fits && significant <= 15;
    }
    if (pos < number.size() && (number[pos] == 'e' || number[pos] == 'E')) {
        int exponent = 0;
        const auto read = std::from_chars(number.data() + pos + 1 + (number[pos + 1] == '+'),
                                          number.data() + number.size(), exponent);
        fits = fits && read.ec == std::errc{};
        scale += fits ? exponent : 0;
    }
    constexpr std::array<double, 23> Powers{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (fits && significant <= 15 && scale >= -22 && scale <= 22) {
        const double exact = static_cast<double>(digits);
        const double value = scale < 0 ? exact / Powers[static_cast<std::size_t>(-scale)]
                                       : exact * Powers[static_cast<std::size_t>(scale)];
        return number.starts_with('-') ? -value : value;
    }
    return std::nullopt;
}

CHENGGU_END_NAMESPACE
