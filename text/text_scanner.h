// Reads a text from left to right, for the parsers of dates, periods and longitudes: each
// Take advances only when what it looks for is there.
#pragma once

#include <charconv>
#include <cstddef>
#include <optional>
#include <string_view>

#include "chenggu/export.h"

CHENGGU_BEGIN_NAMESPACE

class TextScanner {
  public:
    explicit TextScanner(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ == text_.size(); }
    bool Take(std::string_view word) {
        if (!text_.substr(pos_).starts_with(word)) return false;
        pos_ += word.size();
        return true;
    }
    // A run of minDigits to maxDigits ASCII digits.
    std::optional<int> Digits(std::size_t minDigits, std::size_t maxDigits) {
        std::size_t end = pos_;
        while (end < text_.size() && IsDigit(text_[end]) && end - pos_ < maxDigits) ++end;
        if (end - pos_ < minDigits) return std::nullopt;
        int value = 0;
        std::from_chars(text_.data() + pos_, text_.data() + end, value);
        pos_ = end;
        return value;
    }
    // A decimal number: 1 to 3 digits, optionally a point and more digits.
    std::optional<double> Decimal() {
        const std::optional<int> whole = Digits(1, 3);
        if (!whole) return std::nullopt;
        double value = *whole;
        if (Take(".")) {
            double scale = 0.1;
            const std::size_t start = pos_;
            for (; pos_ < text_.size() && IsDigit(text_[pos_]); ++pos_, scale /= 10) {
                value += (text_[pos_] - '0') * scale;
            }
            if (pos_ == start) return std::nullopt;
        }
        return value;
    }

    // A number below 100 in one or two ASCII digits or in Chinese numerals: 8, 23, 八, 十一,
    // 二十三, 两, 零五, 〇五.
    std::optional<int> SmallNumber() {
        if (const std::optional<int> digits = Digits(1, 2)) return digits;
        static constexpr std::string_view ChineseDigits[] = {"零", "一", "二", "三", "四",
                                                             "五", "六", "七", "八", "九"};
        const auto digit = [&]() -> std::optional<int> {
            if (Take("〇")) return 0;
            if (Take("两")) return 2;
            for (int d = 0; d < 10; ++d) {
                if (Take(ChineseDigits[d])) return d;
            }
            return std::nullopt;
        };
        const std::optional<int> tens = digit();
        if (Take("十")) return (tens ? *tens : 1) * 10 + digit().value_or(0);
        if (tens && *tens == 0) return digit().value_or(0);  // 零五, 〇五
        return tens;
    }
    // What is left to read.
    std::string_view Rest() const { return text_.substr(pos_); }

  private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

CHENGGU_END_NAMESPACE
