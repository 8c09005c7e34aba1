// Decimal text and the narrow-to-wide conversion with its temporary locale switch.
#include "reading/decimal_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

namespace {

std::string CurrentCharacterTypeLocale() {
    const char* name = std::setlocale(LC_CTYPE, nullptr);
    return name != nullptr ? name : "";
}

TEST(DecimalText, PlainDecimalDigits) {
    const struct {
        std::int32_t value;
        const wchar_t* text;
    } cases[] = {
        {0, L"0"},
        {7, L"7"},
        {1901, L"1901"},
        {2050, L"2050"},
        {-42, L"-42"},
        {INT32_MAX, L"2147483647"},
        {INT32_MIN, L"-2147483648"},
    };
    for (const auto& c : cases) EXPECT_EQ(DecimalText(c.value), c.text) << c.value;
}

TEST(WidenText, ConvertsAsciiText) {
    EXPECT_EQ(WidenText(""), L"");
    EXPECT_EQ(WidenText("2050"), L"2050");
    EXPECT_EQ(WidenText("-1 :/"), L"-1 :/");
}

TEST(WidenText, RestoresTheCharacterTypeLocale) {
    for (const char* name : {"C", "C.UTF-8", "English_United States.1252"}) {
        if (std::setlocale(LC_CTYPE, name) == nullptr) continue;
        const std::string before = CurrentCharacterTypeLocale();
        EXPECT_EQ(WidenText("1901"), L"1901");
        EXPECT_EQ(CurrentCharacterTypeLocale(), before);
        EXPECT_EQ(DecimalText(12), L"12");
        EXPECT_EQ(CurrentCharacterTypeLocale(), before);
    }
    std::setlocale(LC_CTYPE, "C");
}

TEST(WidenText, LeavesTheOtherCategoriesAlone) {
    const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
    WidenText("7");
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), numeric);
}

}  // namespace
