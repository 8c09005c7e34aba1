// Decimal text and the narrow-to-wide conversion, which leaves the process's locale alone.
#include "reading/decimal_text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <clocale>
#include <string>
#include <thread>

namespace {

using namespace chenggu;

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

TEST(WidenText, ConvertsCodePage936WhereTheRuntimeHasIt) {
    const std::wstring chinese = WidenText("\xd6\xd0\xce\xc4 7");  // 中文 7 in GBK
    if (chinese.empty()) GTEST_SKIP() << "this runtime has no locale for code page 936";
    EXPECT_EQ(chinese, L"中文 7");
}

#if !defined(__EMSCRIPTEN__)  // no threads in the WebAssembly tests
// Another thread using the runtime's locale meanwhile must never see it switched.
TEST(WidenText, NeverSwitchesTheProcessLocale) {
    const std::string before = CurrentCharacterTypeLocale();
    std::atomic<bool> done = false;
    std::thread converter([&done] {
        for (int i = 0; i < 5000; ++i) WidenText(i % 2 == 0 ? "\xd6\xd0" : "1990");
        done = true;
    });
    bool switched = false;
    while (!done) switched = switched || CurrentCharacterTypeLocale() != before;
    converter.join();
    EXPECT_FALSE(switched);
}
#endif

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
